#pragma once

#include <Qt>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// What a person at the host's main window does, for its unattended uses.

// The screen a user would act on: the active one, or the first open.
QMdiSubWindow* ActiveScreen(QMdiArea& area);

// A key pressed and released on the widget.
void PressKey(QWidget* target, Qt::Key key);
