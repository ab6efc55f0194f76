#include "TDBConnection.h"

#include "DatabaseAddress.h"
#include "DatabaseFailure.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "ScopedConnection.h"
#include "SignIn.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

using namespace Qt::StringLiterals;

TDBConnection::TDBConnection(QObject* parent, const QString& name, const QString& databaseName)
    : QObject(parent), m_connectionName(name + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      m_databaseName(databaseName)
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

namespace {

// Runs action, raising what it finds wrong with the address as EDatabaseError.
template <class Action>
auto asDatabaseError(Action action)
{
    try {
        return action();
    } catch (const database::BadDatabaseAddress& error) {
        throw EDatabaseError(error.message());
    }
}

database::DatabaseAddress parsedAddress(const QString& address)
{
    return asDatabaseError([&] { return database::DatabaseAddress::parse(address); });
}

} // namespace

bool TDBConnection::CloseWhenLost()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (database::answers(db))
        return false;
    db.close();
    return true;
}

QString TDBConnection::address() const
{
    return m_databaseName.isEmpty() ? HostSettings::current().databasePath : m_databaseName;
}

QString TDBConnection::DriverName() const { return parsedAddress(address()).driverName(); }

QSqlDatabase TDBConnection::Database()
{
    const database::DatabaseAddress parsed = parsedAddress(address());
    const QString driver = parsed.driverName();
    if (QSqlDatabase::contains(m_connectionName) &&
        QSqlDatabase::database(m_connectionName, false).driverName() != driver)
        QSqlDatabase::removeDatabase(m_connectionName); // the address moved to another engine since
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName) ? QSqlDatabase::database(m_connectionName, false)
                                                               : QSqlDatabase::addDatabase(driver, m_connectionName);
    if (db.isOpen())
        return db;
    asDatabaseError([&] { parsed.requireExistingFile(); }); // opening would create an empty one
    HostSettings& settings = HostSettings::current();
    parsed.applyTo(db, database::Access::ReadWrite, {settings.databaseUser, settings.databasePassword});
    if (!db.open()) {
        try {
            database::throwWhenSignInRefused(db.lastError());
        } catch (const database::SignInRefused& refusal) {
            throw ESignInRefused(
                u"Não foi possível entrar no banco de dados '%1': %2."_s.arg(address(), refusal.message()),
                refusal.passwordMissing());
        }
        throw EDatabaseError(u"Não foi possível abrir o banco de dados '%1': %2"_s.arg(
            address(), database::failureText(db.lastError())));
    }
    if (const database::Credentials signedIn = database::signedInAs(db); signedIn.given()) {
        settings.databaseUser = signedIn.user;
        settings.databasePassword = signedIn.password;
    }
    return db;
}
