#include "SqlParameters.h"

using namespace Qt::StringLiterals;

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Where the text that starts at i and holds no parameter ends: a quoted literal, a "--" comment to the end of its
// line, a "/* */" comment, a "::" cast. i itself when no such text starts there.
qsizetype skipped(const QString& sql, qsizetype i)
{
    const QStringView rest = QStringView(sql).mid(i);
    const auto through = [&](QStringView closing, qsizetype openingLength) {
        const qsizetype end = sql.indexOf(closing, i + openingLength);
        return end < 0 ? sql.size() : end + closing.size();
    };
    if (rest.startsWith(u'\'') || rest.startsWith(u'"'))
        return through(rest.first(1), 1);
    if (rest.startsWith(u"--"))
        return through(u"\n", 2);
    if (rest.startsWith(u"/*"))
        return through(u"*/", 2);
    if (rest.startsWith(u"::"))
        return i + 2;
    return i;
}

} // namespace

SqlParameters SqlParameters::parse(const QString& sql)
{
    SqlParameters result;
    for (qsizetype i = 0; i < sql.size();) {
        if (const qsizetype end = skipped(sql, i); end > i) {
            result.positionalSql += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (result.leadingWord.isEmpty() && isNameStart(sql.at(i))) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNamePart(sql.at(end)))
                ++end;
            result.leadingWord = sql.mid(i, end - i).toUpper();
        }
        if (sql.at(i) == u':' && i + 1 < sql.size() && isNameStart(sql.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNamePart(sql.at(end)))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            result.occurrences.append(name);
            if (!result.names.contains(name, Qt::CaseInsensitive))
                result.names.append(name);
            result.positionalSql += u'?';
            i = end;
            continue;
        }
        result.positionalSql += sql.at(i++);
    }
    return result;
}
