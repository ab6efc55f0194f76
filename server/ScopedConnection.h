#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

namespace fiscal {

// An SQLite connection of its own (a unique connection name) that is closed and unregistered when the object
// goes. Use it on the thread that created it. Throws DatabaseError when the file cannot be opened.
class ScopedConnection {
public:
    // options: Qt's SQLite connect options, e.g. "QSQLITE_OPEN_READONLY".
    ScopedConnection(const QString& path, const QString& options = {});
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    QSqlDatabase& database() { return *m_database; }
    const QString& path() const { return m_path; }

    // The forward-only query for sql with values bound by position, in order. Statements are prepared once
    // per connection and kept: the remote methods run the same few texts (values are never part of a text)
    // again and again. Throws DatabaseError when the text does not prepare.
    QSqlQuery& prepared(const QString& sql, const QVariantList& values);

private:
    QString m_path;
    QString m_name;
    std::optional<QSqlDatabase> m_database;
    QHash<QString, QSqlQuery> m_statements;
};

// This thread's read-only connection to the database at path, opened on first use and kept until the thread
// ends. The serving threads read the fiscal database only through it.
ScopedConnection& readOnlyConnection(const QString& path);

} // namespace fiscal
