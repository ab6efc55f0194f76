#include "FiscalDatabase.h"
#include "DatabaseError.h"
#include "ScopedConnection.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fiscal;
using namespace Qt::StringLiterals;

namespace {

QVariant scalar(const QString& path, const QString& sql)
{
    database::ScopedConnection connection(database::DatabaseAddress::parse(path), database::Access::ReadOnly);
    QSqlQuery query(connection.database());
    if (!query.exec(sql) || !query.next()) {
        ADD_FAILURE() << sql.toStdString();
        return {};
    }
    return query.value(0);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

class FiscalDatabaseTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(u"fiscal.db"_s);
};

} // namespace

TEST_F(FiscalDatabaseTest, InitOnANewFileLoadsTheSampleData)
{
    path = dir.filePath(u"var/fiscal.db"_s); // a folder that is not there yet
    ASSERT_EQ(initDatabase(path), InitOutcome::Created);

    struct Expectation {
        const char* what;
        QString sql;
        int atLeast;
    };
    const Expectation expectations[] = {
        {"three companies", u"SELECT COUNT(*) FROM EMPRESA"_s, 3},
        {"state registrations", u"SELECT COUNT(*) FROM INSCRESTAD"_s, 3},
        {"municipal registrations", u"SELECT COUNT(*) FROM INSCRMUNICIP"_s, 1},
        {"document models", u"SELECT COUNT(*) FROM MODDOCFISC WHERE CDMODDOCFISC IN ('55','57','65')"_s, 3},
        {"operation types", u"SELECT COUNT(*) FROM TIPOOPERAC"_s, 8},
        {"six taxes", u"SELECT COUNT(*) FROM IMPOSTONFE"_s, 6},
        {"indicators E, M and F", u"SELECT COUNT(DISTINCT IDORGARRECADNFE) FROM IMPOSTONFE"_s, 3},
        {"five books", u"SELECT COUNT(*) FROM LIVROMAG"_s, 5},
        {"300 invoices", u"SELECT COUNT(*) FROM NOTAFISCAL"_s, 300},
        {"invoices with items", u"SELECT COUNT(DISTINCT NRSEQNOTAFISC) FROM ITEMNOTAFISCAL"_s, 300},
        {"cancelled invoices", u"SELECT COUNT(*) FROM NOTAFISCAL WHERE IDSITUACAO = 'C'"_s, 1},
        {"pending invoices", u"SELECT COUNT(*) FROM NOTAFISCAL WHERE DTESCRITURACAO IS NULL"_s, 1},
        {"PIS bases that differ from COFINS",
         u"SELECT COUNT(*) FROM ITEMNFIMPOSTO P JOIN ITEMNFIMPOSTO C ON C.NRSEQNOTAFISC = P.NRSEQNOTAFISC "
         "AND C.NRITEM = P.NRITEM AND C.CDIMPOSTO = '05' WHERE P.CDIMPOSTO = '04' AND P.VRBASECALCIT <> C.VRBASECALCIT"_s,
         1},
        {"book totals", u"SELECT COUNT(*) FROM TOTALLIVRO"_s, 1},
        {"monthly maps of 2025 and 2026",
         u"SELECT MIN(N) FROM (SELECT COUNT(*) AS N FROM MAPAAPUR GROUP BY CDEMPRESA, CDINSCRICAO, CDIMPOSTO)"_s, 24},
    };
    for (const Expectation& e : expectations) {
        SCOPED_TRACE(e.what);
        EXPECT_GE(scalar(path, e.sql).toInt(), e.atLeast);
    }
    EXPECT_EQ(
        scalar(path, u"SELECT COUNT(*) FROM MAPAAPUR WHERE CDINSCRICAO = '' AND CDIMPOSTO NOT IN ('03','04','05')"_s)
            .toInt(),
        0);
    EXPECT_EQ(scalar(path, u"PRAGMA journal_mode"_s).toString(), u"wal"_s);
}

TEST_F(FiscalDatabaseTest, InitOnAnExistingDatabaseChangesNothing)
{
    createDatabase(path, {schemaScript(), u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s});
    const QByteArray before = contents(path);

    EXPECT_EQ(initDatabase(path), InitOutcome::AlreadyThere);
    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(scalar(path, u"SELECT COUNT(*) FROM IMPOSTONFE"_s).toInt(), 1);
    EXPECT_EQ(scalar(path, u"SELECT COUNT(*) FROM NOTAFISCAL"_s).toInt(), 0);
}

TEST_F(FiscalDatabaseTest, AnEmptyFileCountsAsNew)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(initDatabase(path), InitOutcome::Created);
    EXPECT_EQ(scalar(path, u"SELECT COUNT(*) FROM EMPRESA"_s).toInt(), 3);
}

TEST_F(FiscalDatabaseTest, AFileThatIsNotADatabaseIsRefusedAndKept)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("CDEMPRESA;NMEMPRESA\n01;Comercial Paulista\n");
    file.close();
    const QByteArray before = contents(path);

    const QString message = databaseErrorOf([&] { initDatabase(path); });
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"não é um banco de dados"_s)) << message.toStdString();
    EXPECT_EQ(contents(path), before);
}

TEST_F(FiscalDatabaseTest, CheckSaysWhatIsWrong)
{
    const QString missing = databaseErrorOf([&] { checkDatabase(path); });
    EXPECT_TRUE(missing.contains(u"não existe"_s) && missing.contains(u"--init"_s)) << missing.toStdString();

    createDatabase(path, {u"CREATE TABLE EMPRESA (CDEMPRESA VARCHAR(2))"_s});
    const QString noTables = databaseErrorOf([&] { checkDatabase(path); });
    EXPECT_TRUE(noTables.contains(u"IMPOSTONFE"_s) && noTables.contains(u"NOTAFISCAL"_s)) << noTables.toStdString();

    const QString directory = databaseErrorOf([&] { checkDatabase(dir.path()); });
    EXPECT_TRUE(directory.contains(u"não é um arquivo"_s)) << directory.toStdString();
}

TEST_F(FiscalDatabaseTest, AFailedCreationLeavesNoFile)
{
    const QString message = databaseErrorOf([&] {
        createDatabase(path, {schemaScript(), u"INSERT INTO TABELAQUENAOEXISTE VALUES (1)"_s});
    });
    EXPECT_TRUE(message.contains(u"TABELAQUENAOEXISTE"_s)) << message.toStdString();
    EXPECT_FALSE(QFile::exists(path));

    createDatabase(path, {schemaScript()});
    EXPECT_FALSE(databaseErrorOf([&] { createDatabase(path, {schemaScript()}); }).isEmpty());
}
