#include "ReportFormat.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

using namespace Qt::StringLiterals;

// Formatting runs once per cell of reports of a hundred thousand rows: the texts are put together by hand.
namespace {

// Amounts beyond this are no amounts; they are shown as the number they are.
constexpr double LargestAmount = 1e15;

// The cents of an amount, rounding half away from zero as a person would: 3.385 (held as 3.38499...) gives 339.
qint64 centsOf(double value) { return std::llround(std::round(value * 1e6) / 1e4); }

// "-1234567,89" or, grouping, "-1.234.567,89"; rounded to the cent, so never "-0,00".
QString decimalComma(double value, bool grouping)
{
    if (!std::isfinite(value) || std::abs(value) > LargestAmount)
        return QString::number(value, 'g', 17);
    const qint64 cents = centsOf(value);
    quint64 rest = cents < 0 ? quint64(-cents) : quint64(cents);
    char buffer[40];
    char* const end = buffer + sizeof buffer;
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
    return QString::fromLatin1(p, end - p);
}

// "dd/MM/yyyy".
QString brazilianDate(int year, int month, int day)
{
    char text[11] = {char('0' + day / 10),
                     char('0' + day % 10),
                     '/',
                     char('0' + month / 10),
                     char('0' + month % 10),
                     '/',
                     char('0' + year / 1000 % 10),
                     char('0' + year / 100 % 10),
                     char('0' + year / 10 % 10),
                     char('0' + year % 10),
                     0};
    return QString::fromLatin1(text, 10);
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
        int year = 0, month = 0, day = 0;
        date.getDate(&year, &month, &day); // one calendar computation, not three
        return date.isValid() ? brazilianDate(year, month, day) : value.toString();
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
    return value.isNull() || !std::isfinite(amount) || std::abs(amount) > LargestAmount ? 0.0 : centsOf(amount) / 100.0;
}

QString cellText(const QVariant& value, ColumnFormat format) { return text(value, format, true); }

QString csvText(const QVariant& value, ColumnFormat format) { return text(value, format, false); }
