#pragma once

#include "DatabaseAddress.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

namespace fiscal {

// The database a --db value names. Throws DatabaseError when it names none.
database::DatabaseAddress databaseAddress(const QString& text);

// A connection of its own (a unique connection name) to the fiscal database, closed and unregistered when the
// object goes. Use it on the thread that created it. Throws DatabaseError when the database cannot be opened.
class ScopedConnection {
public:
    ScopedConnection(const database::DatabaseAddress& address, database::Access access);
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    QSqlDatabase& database() { return *m_database; }
    database::Engine engine() const { return m_engine; }

    // The forward-only query for sql with values bound by position, in order. Statements are prepared once
    // per connection and kept: the remote methods run the same few texts (values are never part of a text)
    // again and again. Throws DatabaseError when the text does not prepare.
    QSqlQuery& prepared(const QString& sql, const QVariantList& values);

private:
    database::Engine m_engine;
    QString m_name;
    std::optional<QSqlDatabase> m_database;
    QHash<QString, QSqlQuery> m_statements;
};

// This thread's read-only connection to the database at address (a --db value), opened on first use and kept
// until the thread ends or reopenReadOnlyConnections() is called. The serving threads read the fiscal database only
// through it.
ScopedConnection& readOnlyConnection(const QString& address);

// Whether this thread's read-only connection to address is open and answers a trivial statement; false when it
// could not be opened, or has been lost (a PostgreSQL server restarted or down).
bool readOnlyConnectionAnswers(const QString& address);

// Every thread opens a new read-only connection on its next call: after a failure a PostgreSQL connection may be
// broken, and calls that follow must not fail again on it.
void reopenReadOnlyConnections();

} // namespace fiscal
