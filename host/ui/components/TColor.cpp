#include "TColor.h"

#include <QPalette>
#include <QWidget>

QColor toQColor(TColor color)
{
    switch (color) {
    case TColor::clWindow:
        return QColor(0xFF, 0xFF, 0xFF);
    case TColor::clInfoBk:
        return QColor(0xFF, 0xFF, 0xE1);
    case TColor::clBtnFace:
        return QColor(0xF0, 0xF0, 0xF0);
    case TColor::clBlue:
        return QColor(0x00, 0x00, 0xFF);
    case TColor::clWindowText:
        break;
    }
    return QColor(0x00, 0x00, 0x00);
}

void SetBackgroundColor(QWidget* widget, TColor color)
{
    QPalette palette = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, toQColor(color));
        palette.setColor(group, QPalette::Window, toQColor(color));
        palette.setColor(group, QPalette::Button, toQColor(color));
    }
    widget->setPalette(palette);
}
