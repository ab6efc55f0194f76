#pragma once

#include <QString>
#include <QStringList>

// The rows sql returns from the fiscal database at address (a --db value), each as its values joined by '|', so that
// a test compares them with rows it writes out. A decimal number reads the same on every engine: two decimals
// ("7200.00"), whether the engine gives a REAL or a NUMERIC; a NULL reads as the empty text.
QStringList sqlRows(const QString& address, const QString& sql);
