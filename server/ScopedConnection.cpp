#include "ScopedConnection.h"

#include "DatabaseError.h"

#include <QSqlError>
#include <atomic>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace fiscal {

namespace {

QString uniqueConnectionName()
{
    static std::atomic<quint64> counter{0};
    return u"fiscal-%1"_s.arg(++counter);
}

} // namespace

ScopedConnection::ScopedConnection(const QString& path, const QString& options)
    : m_path(path), m_name(uniqueConnectionName())
{
    m_database = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
    m_database->setDatabaseName(path);
    m_database->setConnectOptions(options);
    if (!m_database->open()) {
        const QString error = m_database->lastError().text();
        m_database.reset();
        QSqlDatabase::removeDatabase(m_name);
        throw DatabaseError(u"Não foi possível abrir o banco de dados fiscal %1: %2"_s.arg(path, error));
    }
}

ScopedConnection::~ScopedConnection()
{
    m_statements.clear();
    m_database->close();
    m_database.reset();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlQuery& ScopedConnection::prepared(const QString& sql, const QVariantList& values)
{
    auto statement = m_statements.find(sql);
    if (statement == m_statements.end()) {
        QSqlQuery query(*m_database);
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            throw DatabaseError(
                u"Falha ao preparar consulta ao banco de dados fiscal: %1"_s.arg(query.lastError().text()));
        statement = m_statements.insert(sql, query);
    }
    for (int i = 0; i < values.size(); ++i)
        statement->bindValue(i, values[i]);
    return *statement;
}

ScopedConnection& readOnlyConnection(const QString& path)
{
    thread_local std::map<QString, std::unique_ptr<ScopedConnection>> connections;
    auto& connection = connections[path];
    if (!connection)
        connection = std::make_unique<ScopedConnection>(path, u"QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"_s);
    return *connection;
}

} // namespace fiscal
