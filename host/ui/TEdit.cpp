#include "TEdit.h"

#include "Dispatch.h"

TEdit::TEdit(QWidget* parent, const QString& name) : QLineEdit(parent), FocusEvents(this)
{
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, [this] { Dispatch([this] { Fire(OnChange, this); }); });
}

void TEdit::setText(const QString& text)
{
    const QString before = QLineEdit::text();
    QLineEdit::setText(text);
    if (QLineEdit::text() != before)
        Fire(OnChange, this);
}

void TEdit::setColor(TColor color)
{
    m_color = color;
    SetBackgroundColor(this, color);
}
