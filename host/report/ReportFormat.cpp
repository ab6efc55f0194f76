#include "ReportFormat.h"

#include <QDate>
#include <QDateTime>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

// Formatting runs once per cell of reports of a hundred thousand rows: the texts are put together by hand.
namespace {

// Amounts beyond this are no amounts; they are shown as the number they are.
constexpr double LargestAmount = 1e15;

// The cents of an amount, rounding half away from zero as a person would: 3.385 (held as 3.38499...) gives 339.
qint64 centsOf(double value) { return std::llround(std::round(value * 1e6) / 1e4); }

bool isAmount(double value) { return std::isfinite(value) && std::abs(value) <= LargestAmount; }

// Room for the text of any amount or date.
using TextBuffer = std::array<char, 40>;

// "-1234567,89" or, grouping, "-1.234.567,89", written at the end of buffer; never "-0,00".
QLatin1StringView centsText(qint64 cents, bool grouping, TextBuffer& buffer)
{
    quint64 rest = cents < 0 ? quint64(-cents) : quint64(cents);
    char* const end = buffer.data() + buffer.size();
    char* p = end;
    *--p = char('0' + rest % 10);
    rest /= 10;
    *--p = char('0' + rest % 10);
    rest /= 10;
    *--p = ',';
    int digits = 0;
    do {
        if (grouping && digits > 0 && digits % 3 == 0)
            *--p = '.';
        *--p = char('0' + rest % 10);
        rest /= 10;
        ++digits;
    } while (rest > 0);
    if (cents < 0)
        *--p = '-';
    return QLatin1StringView(p, end - p);
}

// Rounded to the cent; a value that is no amount as the number it is.
QString decimalComma(double value, bool grouping)
{
    if (!isAmount(value))
        return QString::number(value, 'g', 17);
    TextBuffer buffer;
    return centsText(centsOf(value), grouping, buffer);
}

// "dd/MM/yyyy" of a valid date, in buffer.
QLatin1StringView brazilianDate(const QDate& date, TextBuffer& buffer)
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day); // one calendar computation, not three
    buffer = {char('0' + day / 10),         char('0' + day % 10),        '/',
              char('0' + month / 10),       char('0' + month % 10),      '/',
              char('0' + year / 1000 % 10), char('0' + year / 100 % 10), char('0' + year / 10 % 10),
              char('0' + year % 10)};
    return QLatin1StringView(buffer.data(), 10);
}

// The date of an ISO text "yyyy-MM-dd..." without parsing a format; a null date when it is none.
QDate isoDate(QStringView text)
{
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int part = 0; part < 3; ++part)
        for (int i = 0; i < lengths[part]; ++i) {
            const QChar c = text[starts[part] + i];
            if (!c.isDigit())
                return {};
            parts[part] = parts[part] * 10 + c.digitValue();
        }
    return QDate(parts[0], parts[1], parts[2]);
}

QString cfop(const QString& code) { return code.size() == 4 ? code.left(1) + u'.' + code.mid(1) : code; }

QString direction(const QString& indicator)
{
    return indicator == u"E" ? u"Entradas"_s : indicator == u"S" ? u"Saídas"_s : indicator;
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
        TextBuffer buffer;
        return date.isValid() ? QString(brazilianDate(date, buffer)) : value.toString();
    }
    case ColumnFormat::Cfop:
        return grouping ? cfop(value.toString()) : value.toString();
    case ColumnFormat::Direction:
        return grouping ? direction(value.toString()) : value.toString();
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
        return isoDate(*static_cast<const QString*>(value.constData()));
    default:
        return {};
    }
}

double amountOf(const QVariant& value)
{
    const double amount = value.toDouble();
    return value.isNull() || !isAmount(amount) ? 0.0 : centsOf(amount) / 100.0;
}

QString cellText(const QVariant& value, ColumnFormat format) { return text(value, format, true); }

QString csvText(const QVariant& value, ColumnFormat format) { return text(value, format, false); }

bool appendCsvNumber(QByteArray& out, const QVariant& value, ColumnFormat format)
{
    if (value.isNull())
        return false;
    TextBuffer buffer;
    QLatin1StringView text;
    switch (format) {
    case ColumnFormat::Amount:
        if (const double amount = value.toDouble(); isAmount(amount))
            text = centsText(centsOf(amount), false, buffer);
        break;
    case ColumnFormat::Integer:
        out += QByteArray::number(std::llround(value.toDouble()));
        return true;
    case ColumnFormat::Date:
        if (const QDate date = dateOf(value); date.isValid())
            text = brazilianDate(date, buffer);
        break;
    default:
        break;
    }
    out += QByteArrayView(text.data(), text.size());
    return !text.isEmpty();
}
