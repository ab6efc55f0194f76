#pragma once

#include "DatabaseError.h"
#include "SignIn.h"

#include <QSqlDatabase>
#include <QString>

namespace database {

// A --db value that names no database; the message says what is wrong and how to write it.
class BadDatabaseAddress : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

enum class Engine { SQLite, PostgreSQL };
enum class Access { ReadWrite, ReadOnly };

// The fiscal database as --db names it: "postgresql://USER@HOST[:PORT]/DBNAME" for a PostgreSQL database, anything
// else the path of an SQLite file. A PostgreSQL password never goes in the address: libpq takes it from PGPASSWORD
// or ~/.pgpass, so that it shows in no command line and no log line.
class DatabaseAddress {
public:
    // Throws BadDatabaseAddress.
    static DatabaseAddress parse(const QString& text);

    Engine engine() const { return m_engine; }
    // As given: a path, or the URL (which holds no password).
    const QString& text() const { return m_text; }
    // The Qt Sql driver: "QSQLITE" or "QPSQL".
    QString driverName() const;
    // Throws BadDatabaseAddress, naming the file, when the address is an SQLite file that does not exist: opening it
    // would create an empty database instead of finding the fiscal one.
    void requireExistingFile() const;

    // A new, unopened Qt Sql connection named connectionName to this database, signing in as credentials say.
    // ReadOnly: the connection's transactions read only unless one is started otherwise. A PostgreSQL connection
    // gives up after 5 s when the server does not answer.
    QSqlDatabase addConnection(const QString& connectionName, Access access, const Credentials& credentials = {}) const;
    // The same settings on a closed connection of driverName(), before it opens again.
    void applyTo(QSqlDatabase& database, Access access, const Credentials& credentials = {}) const;
    // The user the address names (PostgreSQL); empty for SQLite.
    const QString& user() const { return m_user; }

private:
    Engine m_engine = Engine::SQLite;
    QString m_text;
    QString m_user;
    QString m_host;
    int m_port = 5432;
    QString m_name;
};

} // namespace database
