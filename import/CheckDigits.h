#pragma once

#include <QStringView>

namespace fiscalimport {

// The check digit of an NF-e access key over its first 43 digits (modulus 11, weights 2 to 9 from the right).
int accessKeyCheckDigit(QStringView first43Digits);

// Whether text is 44 digits whose last is the check digit of the others.
bool isValidAccessKey(QStringView text);

} // namespace fiscalimport
