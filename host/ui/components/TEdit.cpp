#include "TEdit.h"

#include "AltChords.h"

TEdit::TEdit(QWidget* parent, const QString& name)
    : QLineEdit(parent), FocusEvents(this), m_changes(new TextChanges(
                                                this, [this] { return text(); }, [this] { Fire(OnChange, this); }))
{
    setObjectName(name);
    KeepAltChordsOut(this);
}

void TEdit::setText(const QString& text)
{
    m_changes->write([&] { QLineEdit::setText(text); });
}

void TEdit::setColor(TColor color)
{
    m_color = color;
    SetBackgroundColor(this, color);
}
