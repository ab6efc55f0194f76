#pragma once

#include "DatabaseAddress.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

namespace database {

// A connection of its own (a unique connection name) to the fiscal database, closed and unregistered when the
// object goes. Use it on the thread that created it. Throws DatabaseError when the database cannot be opened,
// SignInRefused when it refuses the sign-in.
class ScopedConnection {
public:
    ScopedConnection(const DatabaseAddress& address, Access access, const Credentials& credentials = {});
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    QSqlDatabase& database() { return *m_database; }
    Engine engine() const { return m_engine; }

    // The forward-only query for sql with values bound by position, in order. Statements are prepared once
    // per connection and kept: the remote methods run the same few texts (values are never part of a text)
    // again and again. Throws DatabaseError when the text does not prepare.
    QSqlQuery& prepared(const QString& sql, const QVariantList& values);

private:
    Engine m_engine;
    QString m_name;
    std::optional<QSqlDatabase> m_database;
    QHash<QString, QSqlQuery> m_statements;
};

// The connection check after a failed statement: whether the connection is open and still answers a trivial
// statement. False when it was lost (its database server restarted or went down): only then is it worth opening a
// new one; a statement the database refused leaves the connection as good as it was.
bool answers(const QSqlDatabase& database);

} // namespace database
