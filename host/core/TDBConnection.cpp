#include "TDBConnection.h"

#include "Exceptions.h"
#include "HostSettings.h"

#include <QSqlError>
#include <QUuid>

using namespace Qt::StringLiterals;

TDBConnection::TDBConnection(QObject* parent, const QString& name, const QString& driverName,
                             const QString& databaseName)
    : QObject(parent), m_connectionName(name + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      m_driverName(driverName), m_databaseName(databaseName)
{
    setObjectName(name);
}

TDBConnection::~TDBConnection()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool TDBConnection::Connected() const
{
    return QSqlDatabase::contains(m_connectionName) && QSqlDatabase::database(m_connectionName, false).isOpen();
}

void TDBConnection::SetConnected(bool connected)
{
    if (connected)
        Database();
    else if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::database(m_connectionName, false).close();
}

QSqlDatabase TDBConnection::Database()
{
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(m_driverName, m_connectionName);
    if (db.isOpen())
        return db;
    db.setDatabaseName(m_databaseName.isEmpty() ? HostSettings::current().databasePath : m_databaseName);
    if (!db.open())
        throw EDatabaseError(
            u"Não foi possível abrir o banco de dados '%1': %2"_s.arg(db.databaseName(), db.lastError().text()));
    return db;
}
