#pragma once

#include <QChar>
#include <QLatin1StringView>
#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace fiscalimport {

// Amounts are kept in cents, so that sums are exact.
using Cents = qint64;

// A decimal number as the layouts write it: an optional minus sign, digits, and at most maxDecimals digits after the
// one separator (a point in XML, a comma in EFD); nothing else, no thousands separator. nullopt otherwise.
std::optional<double> parseDecimal(QStringView text, QChar separator, int maxDecimals);
std::optional<double> parseDecimal(QLatin1StringView text, QChar separator, int maxDecimals);

// An amount with at most two decimals, in cents; nullopt when text is not one.
std::optional<Cents> parseCents(QStringView text, QChar separator);
std::optional<Cents> parseCents(QLatin1StringView text, QChar separator);

// The amount in currency units, as the database stores it.
inline double toCurrency(Cents cents) { return double(cents) / 100.0; }

// The amount of currency units in cents, rounded to the nearest cent.
inline Cents toCents(double value) { return qRound64(value * 100.0); }

} // namespace fiscalimport
