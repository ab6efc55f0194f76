#include "Numbers.h"

#include <cmath>

namespace fiscalimport {

namespace {

// The digits of text as an integer and the count of its decimals, when text is a decimal number.
struct Parsed {
    qint64 digits = 0;
    int decimals = 0;
};

template <class View>
std::optional<Parsed> parse(View text, QChar separator, int maxDecimals)
{
    const bool negative = !text.isEmpty() && QChar(text[0]) == u'-';
    Parsed parsed;
    bool afterSeparator = false;
    int digitCount = 0;
    for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == separator && !afterSeparator) {
            afterSeparator = true;
            continue;
        }
        if (c < u'0' || c > u'9' || ++digitCount > 17)
            return std::nullopt;
        parsed.digits = parsed.digits * 10 + (c.unicode() - u'0');
        if (afterSeparator && ++parsed.decimals > maxDecimals)
            return std::nullopt;
    }
    if (digitCount == 0)
        return std::nullopt;
    if (negative)
        parsed.digits = -parsed.digits;
    return parsed;
}

std::optional<double> decimalOf(const std::optional<Parsed>& parsed)
{
    if (!parsed)
        return std::nullopt;
    return double(parsed->digits) / std::pow(10.0, parsed->decimals);
}

std::optional<Cents> centsOf(const std::optional<Parsed>& parsed)
{
    if (!parsed)
        return std::nullopt;
    return parsed->decimals == 2 ? parsed->digits : parsed->digits * (parsed->decimals == 1 ? 10 : 100);
}

} // namespace

std::optional<double> parseDecimal(QStringView text, QChar separator, int maxDecimals)
{
    return decimalOf(parse(text, separator, maxDecimals));
}

std::optional<double> parseDecimal(QLatin1StringView text, QChar separator, int maxDecimals)
{
    return decimalOf(parse(text, separator, maxDecimals));
}

std::optional<Cents> parseCents(QStringView text, QChar separator) { return centsOf(parse(text, separator, 2)); }

std::optional<Cents> parseCents(QLatin1StringView text, QChar separator) { return centsOf(parse(text, separator, 2)); }

} // namespace fiscalimport
