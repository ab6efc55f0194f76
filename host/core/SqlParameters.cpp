#include "SqlParameters.h"

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

} // namespace

SqlParameters SqlParameters::parse(const QString& sql)
{
    SqlParameters result;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            result.positionalSql += c;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            result.positionalSql += c;
            continue;
        }
        if (c == u':' && i + 1 < sql.size() && sql.at(i + 1) == u':') {
            result.positionalSql += QStringLiteral("::");
            ++i;
            continue;
        }
        if (c == u':' && i + 1 < sql.size() && isNameStart(sql.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNamePart(sql.at(end)))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            result.occurrences.append(name);
            if (!result.names.contains(name, Qt::CaseInsensitive))
                result.names.append(name);
            result.positionalSql += u'?';
            i = end - 1;
            continue;
        }
        result.positionalSql += c;
    }
    return result;
}
