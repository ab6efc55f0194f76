#include "ReportFormat.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// "-1234567,89" -> "-1.234.567,89" (grouping) or the text as it is.
QString decimalComma(double value, bool grouping)
{
    const qint64 cents = std::llround(value * 100.0);
    const qint64 whole = std::llabs(cents) / 100;
    QString digits = QString::number(whole);
    if (grouping)
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
            digits.insert(at, u'.');
    const int fraction = static_cast<int>(std::llabs(cents) % 100);
    return (cents < 0 ? u"-"_s : QString()) + digits + u',' + QString::number(fraction).rightJustified(2, u'0');
}

QString cfop(const QString& code)
{
    return code.size() == 4 ? code.left(1) + u'.' + code.mid(1) : code;
}

QString text(const QVariant& value, ColumnFormat format, bool grouping)
{
    if (value.isNull())
        return {};
    switch (format) {
    case ColumnFormat::Amount:
        return decimalComma(value.toDouble(), grouping);
    case ColumnFormat::Integer:
        return QString::number(std::llround(value.toDouble()));
    case ColumnFormat::Date: {
        const QDate date = dateOf(value);
        return date.isValid() ? date.toString(u"dd/MM/yyyy"_s) : value.toString();
    }
    case ColumnFormat::Cfop:
        return grouping ? cfop(value.toString()) : value.toString();
    case ColumnFormat::Text:
        break;
    }
    return value.toString();
}

} // namespace

QDate dateOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    case QMetaType::QString:
        return QDate::fromString(value.toString().left(10), Qt::ISODate);
    default:
        return {};
    }
}

double amountOf(const QVariant& value) { return value.isNull() ? 0.0 : std::round(value.toDouble() * 100.0) / 100.0; }

QString cellText(const QVariant& value, ColumnFormat format) { return text(value, format, true); }

QString csvText(const QVariant& value, ColumnFormat format) { return text(value, format, false); }
