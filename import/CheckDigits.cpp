#include "CheckDigits.h"

#include <algorithm>

namespace fiscalimport {

namespace {

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

int accessKeyCheckDigit(QStringView first43Digits)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = first43Digits.size() - 1; i >= 0; --i) {
        sum += (first43Digits[i].unicode() - u'0') * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int remainder = sum % 11;
    return remainder < 2 ? 0 : 11 - remainder;
}

bool isValidAccessKey(QStringView text)
{
    return text.size() == 44 && allDigits(text) && accessKeyCheckDigit(text.first(43)) == text[43].unicode() - u'0';
}

} // namespace fiscalimport
