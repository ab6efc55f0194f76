#include "TEdit.h"

#include "Dispatch.h"

TEdit::TEdit(QWidget* parent, const QString& name) : QLineEdit(parent), FocusEvents(this)
{
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, [this] { Dispatch([this] { Fire(OnChange, this); }); });
}

void TEdit::setText(const QString& text)
{
    if (text == QLineEdit::text())
        return;
    QLineEdit::setText(text);
    Fire(OnChange, this);
}

void TEdit::setColor(TColor color)
{
    m_color = color;
    SetBackgroundColor(this, color);
}
