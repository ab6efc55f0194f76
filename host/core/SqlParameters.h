#pragma once

#include "hostfw_core_export.h"

#include <QString>
#include <QStringList>

// The ":NAME" parameter tokens of an SQL text. Tokens inside quoted literals ('...', "..."), "--" and "/* */"
// comments and "::" casts are not parameters.
struct HOSTFW_CORE_EXPORT SqlParameters {
    // The text with every parameter token replaced by a positional "?".
    QString positionalSql;
    // One name per "?" of positionalSql, in order: a name used twice appears twice.
    QStringList occurrences;
    // Each name once, in the order of its first appearance.
    QStringList names;
    // The first word of the statement outside comments and parentheses, in upper case ("SELECT", "WITH", "DELETE");
    // empty when the text holds none.
    QString leadingWord;

    static SqlParameters parse(const QString& sql);
};
