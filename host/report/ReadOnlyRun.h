#pragma once

#include <QSqlDatabase>

struct SqlParameters;
struct sqlite3;

// While it lives, what a report runs on the connection can only read, whatever its SQL says:
// - SQLite: an authorizer lets statements read tables and call functions, nothing else (no write, no PRAGMA, no
//   ATTACH, no transaction, no temporary object), and query_only stands behind it;
// - PostgreSQL: the statements run in one read-only transaction whose snapshot is taken at once, so that none can
//   make it read-write; it is rolled back at the end, taking back any setting a statement changed.
// Each statement must also be one query that reads (checkReadingStatement), so that none can end the transaction.
// Throws EDatabaseError when the connection cannot be put in that state.
class ReadOnlyRun {
public:
    explicit ReadOnlyRun(QSqlDatabase database);
    ~ReadOnlyRun();
    ReadOnlyRun(const ReadOnlyRun&) = delete;
    ReadOnlyRun& operator=(const ReadOnlyRun&) = delete;

private:
    void exec(const QString& statement);

    QSqlDatabase m_database;
    sqlite3* m_sqlite = nullptr;
    bool m_wasQueryOnly = false;
};

// Throws EDatabaseError unless the statement is one (a ";" only at its end) that starts with SELECT, WITH or
// VALUES.
void checkReadingStatement(const SqlParameters& statement);

// The SQLite library handle of a connection of Qt's SQLite driver; nullptr for other drivers.
sqlite3* sqliteHandle(const QSqlDatabase& database);
