#pragma once

#include <QString>
#include <QVariant>

namespace fiscalimport {

// A text bound for a NOT NULL column: Qt binds a null QString as NULL, and the empty text means "none" there.
inline QVariant notNull(const QString& text)
{
    using namespace Qt::StringLiterals;
    return text.isNull() ? QVariant(u""_s) : QVariant(text);
}

// A text bound for a column where NULL means "none".
inline QVariant emptyAsNull(const QString& text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

} // namespace fiscalimport
