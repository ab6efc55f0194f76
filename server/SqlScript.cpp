#include "SqlScript.h"

#include "DatabaseError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace fiscal {

QStringList splitSqlStatements(const QString& script)
{
    QStringList statements;
    QString current;
    QChar quote; // the open quote (' " `), or null outside quotes
    bool lineComment = false;
    bool blockComment = false;

    auto finishStatement = [&] {
        if (!current.trimmed().isEmpty())
            statements.append(current.trimmed());
        current.clear();
    };

    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        const QChar next = i + 1 < script.size() ? script[i + 1] : QChar();
        if (lineComment) {
            if (c == u'\n') {
                lineComment = false;
                current += c;
            }
        } else if (blockComment) {
            if (c == u'*' && next == u'/') {
                blockComment = false;
                ++i;
            }
        } else if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar(); // a doubled quote reopens at once on the next character
        } else if (c == u'-' && next == u'-') {
            lineComment = true;
            ++i;
        } else if (c == u'/' && next == u'*') {
            blockComment = true;
            ++i;
        } else if (c == u';') {
            current += c;
            // The engine's own test: a semicolon inside a trigger's BEGIN ... END does not end the statement.
            if (sqlite3_complete(current.toUtf8().constData())) {
                current.chop(1);
                finishStatement();
            }
        } else {
            if (c == u'\'' || c == u'"' || c == u'`')
                quote = c;
            current += c;
        }
    }
    finishStatement();
    return statements;
}

void inTransaction(QSqlDatabase& database, const std::function<void()>& work)
{
    if (!database.transaction())
        throw database::DatabaseError(u"Não foi possível iniciar a transação em %1: %2"_s.arg(
            database.databaseName(), database.lastError().text()));
    try {
        work();
    } catch (...) {
        database.rollback();
        throw;
    }
    if (!database.commit())
        throw database::DatabaseError(
            u"Não foi possível gravar em %1: %2"_s.arg(database.databaseName(), database.lastError().text()));
}

void executeSqlScripts(QSqlDatabase& database, const QStringList& scripts)
{
    QSqlQuery query(database);
    for (const QString& script : scripts) {
        for (const QString& statement : splitSqlStatements(script)) {
            if (!query.exec(statement))
                throw database::DatabaseError(u"Falha no comando SQL em %1: %2\n%3"_s.arg(
                    database.databaseName(), query.lastError().text(), statement.left(400)));
        }
    }
}

void runSqlScripts(QSqlDatabase& database, const QStringList& scripts)
{
    inTransaction(database, [&] { executeSqlScripts(database, scripts); });
}

} // namespace fiscal
