#include "TextChanges.h"

#include "Dispatch.h"

#include <QLineEdit>

TextChanges::TextChanges(QLineEdit* edit, std::function<QString()> value, std::function<void()> fire)
    : QObject(edit), m_value(std::move(value)), m_fire(std::move(fire))
{
    connect(edit, &QLineEdit::textChanged, this, &TextChanges::changed);
}

void TextChanges::write(const std::function<void()>& change)
{
    m_writing = true;
    m_changedWhileWriting = false;
    change();
    m_writing = false;
    if (m_changedWhileWriting)
        m_fire();
}

void TextChanges::changed()
{
    const QString value = m_value();
    if (value == m_last)
        return;
    m_last = value;
    if (m_writing)
        m_changedWhileWriting = true;
    else
        Dispatch(m_fire);
}
