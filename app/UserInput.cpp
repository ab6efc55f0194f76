#include "UserInput.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

QMdiSubWindow* ActiveScreen(QMdiArea& area)
{
    QMdiSubWindow* screen = area.activeSubWindow();
    if (!screen && !area.subWindowList().isEmpty())
        screen = area.subWindowList().constFirst();
    return screen;
}

void PressKey(QWidget* target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}
