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

struct ThreadConnection {
    std::unique_ptr<ScopedConnection> open;
    int generation = 0;
};

// Raised by reopenReadOnlyConnections(): a thread's connection of an older generation is reopened before use.
std::atomic<int> connectionGeneration{0};

std::map<QString, ThreadConnection>& threadConnections()
{
    thread_local std::map<QString, ThreadConnection> connections;
    return connections;
}

} // namespace

database::DatabaseAddress databaseAddress(const QString& text)
{
    try {
        return database::DatabaseAddress::parse(text);
    } catch (const database::BadDatabaseAddress& error) {
        throw DatabaseError(error.message());
    }
}

ScopedConnection::ScopedConnection(const database::DatabaseAddress& address, database::Access access)
    : m_engine(address.engine()), m_name(uniqueConnectionName())
{
    m_database = address.addConnection(m_name, access);
    if (!m_database->open()) {
        const QString error = m_database->lastError().text();
        m_database.reset();
        QSqlDatabase::removeDatabase(m_name);
        throw DatabaseError(u"Não foi possível abrir o banco de dados fiscal %1: %2"_s.arg(address.text(), error));
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

ScopedConnection& readOnlyConnection(const QString& address)
{
    ThreadConnection& connection = threadConnections()[address];
    const int generation = connectionGeneration;
    if (!connection.open || connection.generation != generation) {
        connection.open.reset();
        connection.open = std::make_unique<ScopedConnection>(databaseAddress(address), database::Access::ReadOnly);
        connection.generation = generation;
    }
    return *connection.open;
}

bool readOnlyConnectionAnswers(const QString& address)
{
    const auto connection = threadConnections().find(address);
    return connection != threadConnections().end() && connection->second.open &&
           QSqlQuery(connection->second.open->database()).exec(u"SELECT 1"_s);
}

void reopenReadOnlyConnections() { ++connectionGeneration; }

} // namespace fiscal
