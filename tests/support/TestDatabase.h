#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;

// A new fiscal database for one test, on the engine the test run is for, gone with the object:
// - an SQLite file in a temporary folder;
// - with FISCAL_TEST_ENGINE=postgresql, a new database on the PostgreSQL server whose maintenance database
//   FISCAL_TEST_POSTGRESQL names (scripts/test starts one and sets both).
// It holds the schema, the sample data when asked, then the test's fixture statements.
class TestDatabase {
public:
    enum class Data { SchemaOnly, SampleData };

    TestDatabase(const QStringList& fixtures, Data data);
    // On PostgreSQL whatever the run is for, with the rows of the SQLite database at sqlitePath (which may hold
    // rows that only SQLite's own SQL makes).
    static std::shared_ptr<TestDatabase> postgreSqlCopyOf(const QString& sqlitePath);
    // A new PostgreSQL database without any table, whatever the run is for.
    static std::shared_ptr<TestDatabase> emptyPostgreSql();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The --db value: the file's path or the postgresql:// URL.
    const QString& address() const { return m_address; }
    // The user of the address on PostgreSQL, which the test server trusts without a password: what a server's
    // caller signs in with to be let in as the database's owner. Empty on SQLite, which has no users.
    QString ownerUser() const;

    static bool onPostgreSql();
    // Runs the test PostgreSQL server's pg_ctl (FISCAL_TEST_PG_CTL) with "stop", "start" or "restart", waiting
    // until it is done; false when it failed.
    static bool controlPostgreSql(const QString& action);

private:
    TestDatabase() = default;
    void createEmptyPostgreSql();
    void createOnPostgreSql(const QStringList& fixtures, bool withSampleData);

    QTemporaryDir m_dir;
    QString m_address;
    QString m_postgreSqlName;
};
