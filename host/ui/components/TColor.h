#pragma once

#include "hostfw_export.h"

#include <QColor>

// The host's named colours, with the values of the classic desktop scheme.
enum class TColor { clWindow, clInfoBk, clBtnFace, clBlue, clWindowText };

HOSTFW_EXPORT QColor toQColor(TColor color);

class QWidget;
// Paints the widget's background (its palette's Base, Window and Button roles) in the colour, in every state.
HOSTFW_EXPORT void SetBackgroundColor(QWidget* widget, TColor color);
