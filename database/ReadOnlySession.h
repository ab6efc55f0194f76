#pragma once

#include <QSqlDatabase>

struct sqlite3;

namespace database {

// While it lives, what runs on the connection can only read, whatever its SQL says:
// - SQLite: an authorizer lets statements read tables and call functions, nothing else (no write, no PRAGMA, no
//   ATTACH, no transaction, no temporary object), and query_only stands behind it;
// - PostgreSQL: the statements run in one read-only transaction whose snapshot is taken at once, so that none can
//   make it read-write; it is rolled back at the end, taking back any setting a statement changed. Each statement
//   must then be one query that reads, so that none can end the transaction.
// Throws DatabaseError when the connection cannot be put in that state.
class ReadOnlySession {
public:
    explicit ReadOnlySession(QSqlDatabase database);
    ~ReadOnlySession();
    ReadOnlySession(const ReadOnlySession&) = delete;
    ReadOnlySession& operator=(const ReadOnlySession&) = delete;

private:
    void exec(const QString& statement);

    QSqlDatabase m_database;
    sqlite3* m_sqlite = nullptr;
    bool m_wasQueryOnly = false;
};

// The SQLite library handle of a connection of Qt's SQLite driver; nullptr for other drivers.
sqlite3* sqliteHandle(const QSqlDatabase& database);

} // namespace database
