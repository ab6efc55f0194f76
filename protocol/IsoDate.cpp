#include "IsoDate.h"

namespace protocol {

namespace {

// The value of count digits from position; -1 when one of them is not a digit.
template <class Text>
int digits(Text text, qsizetype position, int count)
{
    int value = 0;
    for (qsizetype i = position; i < position + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

template <class Text>
QDate dateOf(Text text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day); // null when the day does not exist
}

} // namespace

QDate isoDate(QStringView text) { return dateOf(text); }

QDate isoDate(QLatin1StringView text) { return dateOf(text); }

} // namespace protocol
