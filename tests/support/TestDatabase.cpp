#include "TestDatabase.h"

#include "DatabaseAddress.h"
#include "DatabaseError.h"
#include "FiscalDatabase.h"
#include "SampleData.h"
#include "ScopedConnection.h"
#include "SqlScript.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <atomic>
#include <stdexcept>

namespace {

QString maintenanceAddress()
{
    const QString address = qEnvironmentVariable("FISCAL_TEST_POSTGRESQL");
    if (address.isEmpty())
        throw std::runtime_error("FISCAL_TEST_ENGINE=postgresql sem FISCAL_TEST_POSTGRESQL: rode scripts/test, que "
                                 "inicia um PostgreSQL de teste e define as duas");
    return address;
}

// Runs one statement on the maintenance database (CREATE/DROP DATABASE cannot run inside a transaction).
void maintain(const QString& sql)
{
    const QString name = u"test-maintenance"_s;
    {
        QSqlDatabase db =
            database::DatabaseAddress::parse(maintenanceAddress()).addConnection(name, database::Access::ReadWrite);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(sql))
            throw std::runtime_error(
                (sql + u": "_s + (db.isOpen() ? query.lastError() : db.lastError()).text()).toStdString());
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

bool TestDatabase::onPostgreSql() { return qEnvironmentVariable("FISCAL_TEST_ENGINE") == u"postgresql"; }

bool TestDatabase::controlPostgreSql(const QString& action)
{
    QProcess pgCtl;
    pgCtl.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{action};
    if (action != u"start"_s)
        arguments << u"-m"_s << u"fast"_s; // without waiting for the clients to leave
    pgCtl.start(qEnvironmentVariable("FISCAL_TEST_PG_CTL"), arguments);
    return pgCtl.waitForFinished(60000) && pgCtl.exitStatus() == QProcess::NormalExit && pgCtl.exitCode() == 0;
}

TestDatabase::TestDatabase(const QStringList& fixtures, Data data)
{
    const bool sample = data == Data::SampleData;
    if (!onPostgreSql()) {
        m_address = m_dir.filePath(u"fiscal.db"_s);
        QStringList scripts{fiscal::schemaScript()};
        if (sample)
            scripts.append(fiscal::sampleScript());
        if (!fixtures.isEmpty())
            scripts.append(fixtures.join(u";\n"_s));
        fiscal::createDatabase(m_address, scripts);
        return;
    }
    createOnPostgreSql(fixtures, sample);
}

QString TestDatabase::ownerUser() const { return database::DatabaseAddress::parse(m_address).user(); }

void TestDatabase::createEmptyPostgreSql()
{
    static std::atomic<int> counter{0};
    m_postgreSqlName = u"fiscal_teste_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++counter);
    maintain(u"CREATE DATABASE "_s + m_postgreSqlName);
    QUrl url(maintenanceAddress());
    url.setPath(u'/' + m_postgreSqlName);
    m_address = url.toString();
}

void TestDatabase::createOnPostgreSql(const QStringList& fixtures, bool withSampleData)
{
    createEmptyPostgreSql();
    // Fixtures hold only the rows a test needs, not their parents (SQLite does not enforce foreign keys unless
    // asked): PostgreSQL is told not to enforce them either while they run.
    fiscal::createPostgreSqlTables(m_address, withSampleData,
                                   QStringList{u"SET LOCAL session_replication_role = replica"_s} + fixtures);
}

std::shared_ptr<TestDatabase> TestDatabase::emptyPostgreSql()
{
    auto empty = std::shared_ptr<TestDatabase>(new TestDatabase);
    empty->createEmptyPostgreSql();
    return empty;
}

std::shared_ptr<TestDatabase> TestDatabase::postgreSqlCopyOf(const QString& sqlitePath)
{
    auto copy = std::shared_ptr<TestDatabase>(new TestDatabase);
    copy->createOnPostgreSql({}, false);
    database::ScopedConnection from(database::DatabaseAddress::parse(sqlitePath), database::Access::ReadOnly);
    database::ScopedConnection to(database::DatabaseAddress::parse(copy->m_address), database::Access::ReadWrite);
    fiscal::inTransaction(to.database(), [&] {
        QSqlQuery(to.database()).exec(u"SET LOCAL session_replication_role = replica"_s); // rows without parents
        fiscal::copyTables(from.database(), to.database());
    });
    QSqlQuery(to.database()).exec(u"ANALYZE"_s); // plans as a database in use would have them
    return copy;
}

TestDatabase::~TestDatabase()
{
    if (m_postgreSqlName.isEmpty())
        return;
    try {
        maintain(u"DROP DATABASE %1 WITH (FORCE)"_s.arg(m_postgreSqlName));
    } catch (const std::exception&) {
        // the cluster goes at the end of the run anyway
    }
}
