#include "TComboBox.h"

#include "Dispatch.h"

TComboBox::TComboBox(QWidget* parent, const QString& name) : QComboBox(parent), FocusEvents(this)
{
    setObjectName(name);
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this] { Dispatch([this] { Fire(OnChange, this); }); });
}

void TComboBox::setColor(TColor color)
{
    m_color = color;
    SetBackgroundColor(this, color);
}
