#include "ScopedConnection.h"

#include "DatabaseError.h"

#include <QSqlError>
#include <atomic>

using namespace Qt::StringLiterals;

namespace database {

namespace {

QString uniqueConnectionName()
{
    static std::atomic<quint64> counter{0};
    return u"fiscal-%1"_s.arg(++counter);
}

} // namespace

ScopedConnection::ScopedConnection(const DatabaseAddress& address, Access access, const Credentials& credentials)
    : m_engine(address.engine()), m_name(uniqueConnectionName())
{
    m_database = address.addConnection(m_name, access, credentials);
    if (!m_database->open()) {
        const QSqlError error = m_database->lastError();
        m_database.reset();
        QSqlDatabase::removeDatabase(m_name);
        throwWhenSignInRefused(error);
        throw DatabaseError(
            u"Não foi possível abrir o banco de dados fiscal %1: %2"_s.arg(address.text(), error.text()));
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

bool answers(const QSqlDatabase& database) { return database.isOpen() && QSqlQuery(database).exec(u"SELECT 1"_s); }

} // namespace database
