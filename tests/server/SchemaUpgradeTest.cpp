// A database of an older schema version: the server refuses it until --init brings it up to date, data kept.
#include "DatabaseError.h"
#include "FiscalDatabase.h"
#include "ScopedConnection.h"
#include "SqlRows.h"
#include "TestDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace fiscal;

namespace {

// Every column (name, type, nullability, default) and every index of the database's tables.
QStringList schemaOf(const QString& address)
{
    if (TestDatabase::onPostgreSql())
        return sqlRows(address, u"SELECT table_name, column_name, data_type, is_nullable, column_default, is_identity "
                                "FROM information_schema.columns WHERE table_schema = current_schema() "
                                "ORDER BY 1, 2"_s) +
               sqlRows(address, u"SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = current_schema() "
                                "ORDER BY 1"_s);
    return sqlRows(address, u"SELECT m.name, p.name, p.type, p.\"notnull\", p.dflt_value, p.pk FROM sqlite_master m "
                            "JOIN pragma_table_info(m.name) p WHERE m.type = 'table' ORDER BY 1, 2"_s) +
           sqlRows(address, u"SELECT name, sql FROM sqlite_master WHERE type = 'index' ORDER BY 1"_s);
}

void execute(const QString& address, const QStringList& statements)
{
    database::ScopedConnection connection(database::DatabaseAddress::parse(address), database::Access::ReadWrite);
    for (const QString& statement : statements)
        if (QSqlQuery query(connection.database()); !query.exec(statement))
            FAIL() << statement.toStdString() << ": " << query.lastError().text().toStdString();
}

// What version 1 of the schema was: the sample data without what versions 2 and 3 added (on PostgreSQL, version 3
// added the per-company access and the audit trail).
void downgradeToVersion1(const QString& address)
{
    QStringList version3;
    if (TestDatabase::onPostgreSql()) {
        for (const QString& table : {u"EMPRESA"_s, u"INSCRESTAD"_s, u"INSCRMUNICIP"_s, u"MAPAAPUR"_s, u"TOTALLIVRO"_s,
                                     u"NOTAFISCAL"_s, u"AJUSTEAPUR"_s, u"ITEMNOTAFISCAL"_s, u"ITEMNFIMPOSTO"_s})
            version3 << u"DROP POLICY %1_ACESSO ON %1"_s.arg(table)
                     << u"ALTER TABLE %1 DISABLE ROW LEVEL SECURITY"_s.arg(table);
        version3 << u"DROP TABLE AUDITORIA"_s << u"DROP TABLE ACESSOEMPRESA"_s;
    }
    execute(address, version3);
    execute(address, {u"DROP INDEX NOTAFISCAL_CHAVE"_s, u"ALTER TABLE NOTAFISCAL DROP COLUMN NRCHAVEACESSO"_s,
                      u"DROP TABLE CFOPTIPOOPER"_s, u"DROP TABLE VERSAOESQUEMA"_s});
}

QString databaseErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const database::DatabaseError& error) {
        return error.message();
    }
    return {};
}

} // namespace

TEST(SchemaUpgrade, AnOlderDatabaseIsRefusedUntilInitBringsItUpToDateKeepingItsData)
{
    const TestDatabase current({}, TestDatabase::Data::SchemaOnly);
    const TestDatabase older({}, TestDatabase::Data::SampleData);
    downgradeToVersion1(older.address());
    const QStringList invoices = sqlRows(older.address(), u"SELECT * FROM NOTAFISCAL ORDER BY 1"_s);
    const QStringList maps = sqlRows(older.address(), u"SELECT * FROM MAPAAPUR ORDER BY 1"_s);

    const QString refusal = databaseErrorOf([&] { checkDatabase(older.address()); });
    EXPECT_TRUE(refusal.contains(u"versão 1 do esquema"_s) && refusal.contains(u"--init"_s)) << refusal.toStdString();

    EXPECT_EQ(initDatabase(older.address()), InitOutcome::Upgraded);
    EXPECT_EQ(databaseErrorOf([&] { checkDatabase(older.address()); }), QString());
    EXPECT_EQ(schemaOf(older.address()), schemaOf(current.address()));
    EXPECT_EQ(sqlRows(older.address(), u"SELECT NRCHAVEACESSO FROM NOTAFISCAL WHERE NRCHAVEACESSO IS NOT NULL"_s),
              QStringList());
    QStringList upgradedInvoices;
    for (const QString& row : sqlRows(older.address(), u"SELECT * FROM NOTAFISCAL ORDER BY 1"_s))
        upgradedInvoices.append(row.chopped(1)); // without the new, empty key column
    EXPECT_EQ(upgradedInvoices, invoices);
    EXPECT_EQ(sqlRows(older.address(), u"SELECT * FROM MAPAAPUR ORDER BY 1"_s), maps);

    EXPECT_EQ(initDatabase(older.address()), InitOutcome::AlreadyThere);
}

TEST(SchemaUpgrade, ANewerDatabaseIsRefusedAndLeftAlone)
{
    const TestDatabase newer({}, TestDatabase::Data::SchemaOnly);
    execute(newer.address(), {u"UPDATE VERSAOESQUEMA SET NRVERSAO = 99"_s});

    for (const auto& action : {std::function<void()>([&] { checkDatabase(newer.address()); }),
                               std::function<void()>([&] { initDatabase(newer.address()); })}) {
        const QString refusal = databaseErrorOf(action);
        EXPECT_TRUE(refusal.contains(u"versão 99"_s) && refusal.contains(u"atualize o programa"_s))
            << refusal.toStdString();
    }
    EXPECT_EQ(sqlRows(newer.address(), u"SELECT NRVERSAO FROM VERSAOESQUEMA"_s), QStringList{u"99"_s});
}
