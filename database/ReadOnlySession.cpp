#include "ReadOnlySession.h"

#include "DatabaseError.h"
#include "DatabaseFailure.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace database {

namespace {

int readingOnly(void*, int action, const char* name, const char*, const char*, const char*)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        return qstricmp(name, "load_extension") == 0 ? SQLITE_DENY : SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

bool isPostgreSql(const QSqlDatabase& database) { return database.driverName() == u"QPSQL"; }

} // namespace

sqlite3* sqliteHandle(const QSqlDatabase& database)
{
    const QVariant handle = database.driver()->handle();
    if (database.driverName() != u"QSQLITE" || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

ReadOnlySession::ReadOnlySession(QSqlDatabase database)
    : m_database(std::move(database)), m_sqlite(sqliteHandle(m_database))
{
    if (m_sqlite) {
        QSqlQuery queryOnly(m_database);
        m_wasQueryOnly = queryOnly.exec(u"PRAGMA query_only"_s) && queryOnly.next() && queryOnly.value(0).toInt() == 1;
        exec(u"PRAGMA query_only = 1"_s);
        sqlite3_set_authorizer(m_sqlite, readingOnly, nullptr);
    } else if (isPostgreSql(m_database)) {
        exec(u"START TRANSACTION READ ONLY"_s);
        try {
            exec(u"SELECT 1"_s); // the snapshot: from now on the transaction cannot become read-write
        } catch (const DatabaseError&) {
            QSqlQuery(m_database).exec(u"ROLLBACK"_s);
            throw;
        }
    }
}

ReadOnlySession::~ReadOnlySession()
{
    if (m_sqlite) {
        sqlite3_set_authorizer(m_sqlite, nullptr, nullptr);
        QSqlQuery(m_database).exec(m_wasQueryOnly ? u"PRAGMA query_only = 1"_s : u"PRAGMA query_only = 0"_s);
    } else if (isPostgreSql(m_database)) {
        QSqlQuery(m_database).exec(u"ROLLBACK"_s);
    }
}

void ReadOnlySession::exec(const QString& statement)
{
    QSqlQuery query(m_database);
    if (!query.exec(statement))
        throw DatabaseError(u"A conexão não pôde ser posta em modo somente leitura: %1"_s.arg(
            database::failureText(query.lastError())));
}

} // namespace database
