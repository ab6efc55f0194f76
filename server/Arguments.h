#pragma once

#include <QJsonArray>
#include <QList>
#include <QString>
#include <QVariantList>

namespace fiscal {

// What a remote method takes in each position.
enum class ArgumentKind {
    Text, // a JSON string of at most maxTextLength characters, without control characters or byte-order marks
    List, // a comma-separated list of codes: a JSON string of at most maxListLength characters, likewise
    Date, // "YYYY-MM-DD" or null
};

constexpr int maxTextLength = 1000;
constexpr int maxListLength = 10000;

// Checks the positional arguments of a call to method against its kinds and converts them: texts and lists to
// QString, dates to QDate (a null QDate for null). Throws protocol::RpcFailure with InvalidParams naming the
// argument that is wrong.
QVariantList checkArguments(const QString& method, const QList<ArgumentKind>& kinds, const QJsonArray& params);

} // namespace fiscal
