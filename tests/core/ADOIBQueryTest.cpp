#include "Dialect.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "QtPrinters.h"
#include "TADOIBQuery.h"
#include "TDBConnection.h"
#include "TDBTransaction.h"
#include "TDataSet.h"
#include "TdtmDBGeral.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using protocol::FieldType;

namespace {

// Runs each statement of an SQL script (statements end with ";" at the end of a line; "--" lines are comments).
void runScript(QSqlDatabase db, const QString& script)
{
    QString statement;
    for (const QString& line : script.split(u'\n')) {
        if (line.trimmed().startsWith(u"--"_s))
            continue;
        statement += line + u'\n';
        if (line.trimmed().endsWith(u';')) {
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec(statement)) << qPrintable(statement);
            statement.clear();
        }
    }
}

// A database file made from the project's schema, with three companies.
class ADOIBQueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        HostSettings::current().databasePath = dir.filePath(u"fiscal.db"_s);
        QFile(HostSettings::current().databasePath).open(QIODevice::WriteOnly); // an empty database
        connection = dtmDBGeral()->adcGeral;
        connection->SetConnected(false);
        QFile schema(QString::fromUtf8(FISCAL_SOURCE_DIR "/data/schema.sql"));
        ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
        runScript(connection->Database(), QString::fromUtf8(schema.readAll()));
        runScript(connection->Database(),
                  u"INSERT INTO EMPRESA VALUES ('01', 'Comércio Alfa', '11111111000111', 'SP');\n"
                  "INSERT INTO EMPRESA VALUES ('02', 'Beta Indústria', '22222222000122', 'RS');\n"
                  "INSERT INTO EMPRESA VALUES ('10', 'Gama', '33333333000133', 'SP');\n"_s);
    }

    void TearDown() override { connection->SetConnected(false); }

    // The company query of the screen, with its persistent fields.
    void declareCompanyQuery(TADOIBQuery& query)
    {
        query.setSQL({u"SELECT CDEMPRESA, NMEMPRESA"_s, u"  FROM EMPRESA"_s,
                      u" WHERE (CDEMPRESA = :P_EMPRESA OR :P_TEMPRESA = 'T')"_s, u" ORDER BY CDEMPRESA"_s});
        query.Query()->AddField({u"CDEMPRESA"_s, FieldType::String, 2, u"Código"_s});
        query.Query()->AddField({u"NMEMPRESA"_s, FieldType::String, 40, u"Nome"_s});
    }

    static QStringList column(TDataSet* dataSet, const QString& field)
    {
        QStringList values;
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
            values.append(dataSet->FieldByName(field)->AsString());
        return values;
    }

    QTemporaryDir dir;
    TDBConnection* connection = nullptr;
};

} // namespace

TEST_F(ADOIBQueryTest, AllRowsFlagAndClearedCodeReadEveryRow)
{
    TADOIBQuery query(nullptr, u"qryEmpresa"_s);
    declareCompanyQuery(query);
    EXPECT_EQ(query.Params().Names(), (QStringList{u"P_EMPRESA"_s, u"P_TEMPRESA"_s}));
    query.ParamByName(u"P_EMPRESA"_s)->Clear();
    query.ParamByName(u"P_TEMPRESA"_s)->SetAsString(u"T"_s);
    query.Open();
    EXPECT_TRUE(query.Active());
    EXPECT_FALSE(query.IsEmpty());
    EXPECT_EQ(column(query.Query(), u"CDEMPRESA"_s), (QStringList{u"01"_s, u"02"_s, u"10"_s}));
    EXPECT_EQ(query.Query()->FieldByName(u"NMEMPRESA"_s)->objectName(), u"qryEmpresaNMEMPRESA"_s);
}

TEST_F(ADOIBQueryTest, ClearedFlagMakesTheCodeCount)
{
    TADOIBQuery query(nullptr, u"qryEmpresa"_s);
    declareCompanyQuery(query);
    query.ParamByName(u"P_EMPRESA"_s)->SetAsString(u"02"_s);
    query.ParamByName(u"P_TEMPRESA"_s)->Clear();
    query.Open();
    EXPECT_EQ(column(query.Query(), u"NMEMPRESA"_s), QStringList{u"Beta Indústria"_s});

    SCOPED_TRACE("an unknown code: open and empty; reopening without Close runs the query again");
    query.ParamByName(u"P_EMPRESA"_s)->SetAsString(u"99"_s);
    query.Open();
    EXPECT_TRUE(query.Active());
    EXPECT_TRUE(query.IsEmpty());
    query.Close();
    EXPECT_FALSE(query.Active());
}

TEST_F(ADOIBQueryTest, NullParameterMatchesNothingWhereTheEmptyTextMatchesEmpty)
{
    runScript(connection->Database(), u"INSERT INTO MODDOCFISC VALUES ('', 'Sem código');\n"_s);
    TADOIBQuery query(nullptr, u"qry"_s);
    query.setSQL({u"SELECT DSMODDOCFISC FROM MODDOCFISC WHERE CDMODDOCFISC = :P_COD"_s});
    query.Open();
    EXPECT_TRUE(query.IsEmpty()) << "a parameter never set binds NULL";
    query.ParamByName(u"P_COD"_s)->SetAsString(u""_s);
    query.Open();
    EXPECT_EQ(column(query.Query(), u"DSMODDOCFISC"_s), QStringList{u"Sem código"_s});
}

TEST_F(ADOIBQueryTest, ParameterUsedTwiceBindsTheSameValueEachTime)
{
    TADOIBQuery query(nullptr, u"qry"_s);
    query.setSQL({u"SELECT CDEMPRESA FROM EMPRESA"_s, u" WHERE CDEMPRESA = :P_X OR NMEMPRESA = :P_X"_s,
                  u" ORDER BY CDEMPRESA"_s});
    query.ParamByName(u"P_X"_s)->SetAsString(u"10"_s);
    query.Open();
    EXPECT_EQ(column(query.Query(), u"CDEMPRESA"_s), QStringList{u"10"_s});
    query.ParamByName(u"P_X"_s)->SetAsString(u"Gama"_s);
    query.Open();
    EXPECT_EQ(column(query.Query(), u"CDEMPRESA"_s), QStringList{u"10"_s});
}

TEST_F(ADOIBQueryTest, ValuesAreBoundNeverSplicedIntoTheText)
{
    TADOIBQuery query(nullptr, u"qry"_s);
    query.setSQL({u"SELECT CDEMPRESA FROM EMPRESA WHERE CDEMPRESA = :P_X"_s});
    query.ParamByName(u"P_X"_s)->SetAsString(u"01' OR '1'='1"_s);
    query.Open();
    EXPECT_TRUE(query.IsEmpty());
}

TEST_F(ADOIBQueryTest, WithoutPersistentFieldsTheResultColumnsBecomeTextFields)
{
    TADOIBQuery query(nullptr, u"qry"_s);
    query.setSQL({u"SELECT CDEMPRESA, SGUF FROM EMPRESA ORDER BY CDEMPRESA"_s});
    query.Open();
    ASSERT_EQ(query.Query()->Fields().size(), 2);
    EXPECT_EQ(column(query.Query(), u"SGUF"_s), (QStringList{u"SP"_s, u"RS"_s, u"SP"_s}));
}

TEST_F(ADOIBQueryTest, FailuresRaiseDatabaseErrorsAndLeaveTheDatasetClosed)
{
    TADOIBQuery query(nullptr, u"qryEmpresa"_s);
    declareCompanyQuery(query);
    query.ParamByName(u"P_TEMPRESA"_s)->SetAsString(u"T"_s);
    query.Open();
    ASSERT_FALSE(query.IsEmpty());

    SCOPED_TRACE("a persistent field missing from the result");
    query.setSQL({u"SELECT CDEMPRESA FROM EMPRESA WHERE :P_TEMPRESA = 'T'"_s});
    try {
        query.Open();
        FAIL() << "no error for a missing field";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(u"NMEMPRESA"_s)) << qPrintable(e.message());
    }
    EXPECT_FALSE(query.Active());
    EXPECT_TRUE(query.IsEmpty());

    SCOPED_TRACE("SQL the database refuses");
    query.setSQL({u"SELECT CDEMPRESA, NMEMPRESA FROM NO_SUCH_TABLE"_s});
    try {
        query.Open();
        FAIL() << "no error for a bad table";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(u"NO_SUCH_TABLE"_s)) << qPrintable(e.message());
    }
}

TEST_F(ADOIBQueryTest, TheDatabasesOwnFailuresReadInPortuguese)
{
    QFile notADatabase(dir.filePath(u"planilha.db"_s));
    ASSERT_TRUE(notADatabase.open(QIODevice::WriteOnly));
    notADatabase.write(QByteArray(4096, 'x'));
    notADatabase.close();
    struct Case {
        QString database;
        QString sql;
        QString message; // a part of it
    };
    const QList<Case> cases = {
        {u"fiscal.db"_s, u"SELECT CDEMPRESA FROM NOTAS"_s, u"a tabela NOTAS não existe neste banco de dados"_s},
        {u"fiscal.db"_s, u"SELECT CDNADA FROM EMPRESA"_s, u"a coluna CDNADA não existe neste banco de dados"_s},
        {u"fiscal.db"_s, u"SELECT CDEMPRESA FROM EMPRESA WHERE"_s, u"erro de sintaxe no SQL"_s},
        {u"planilha.db"_s, u"SELECT CDEMPRESA FROM EMPRESA"_s, u"o arquivo não é um banco de dados"_s},
        {u"nao-existe.db"_s, u"SELECT CDEMPRESA FROM EMPRESA"_s, u"não existe"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.sql + u" @ "_s + c.database));
        connection->SetConnected(false);
        HostSettings::current().databasePath = dir.filePath(c.database);
        TADOIBQuery query(nullptr, u"qry"_s);
        query.setSQL({c.sql});
        try {
            query.Open();
            ADD_FAILURE() << "no failure";
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.message().contains(c.message)) << qPrintable(e.message());
            for (const QString& english : {u"no such"_s, u"syntax error"_s, u"not a database"_s})
                EXPECT_FALSE(e.message().contains(english)) << qPrintable(e.message());
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(u"nao-existe.db"_s))) << "opening it created it";
}

TEST_F(ADOIBQueryTest, TheDialectTextFollowsTheConnectionDriver)
{
    TADOIBQuery query(nullptr, u"qrtTpOperacao"_s);
    query.setSQL({u"SELECT"_s, u"   IDENTRSAIDOP||CDTIPOOPER AS  CHAVE"_s});
    query.setSQL_MSSQL({u"SELECT"_s, u"   IDENTRSAIDOP+CDTIPOOPER AS  CHAVE"_s});
    query.setConnection(connection);
    EXPECT_EQ(query.ActiveSQL(), u"SELECT\n   IDENTRSAIDOP||CDTIPOOPER AS  CHAVE"_s);

    const struct {
        QString driver;
        QString expected;
    } cases[] = {
        {u"QSQLITE"_s, u"SELECT\n   IDENTRSAIDOP||CDTIPOOPER AS  CHAVE"_s},
        {u"QPSQL"_s, u"SELECT\n   IDENTRSAIDOP||CDTIPOOPER AS  CHAVE"_s},
        {u"QODBC"_s, u"SELECT\n   IDENTRSAIDOP+CDTIPOOPER AS  CHAVE"_s},
        {u"QOCI"_s, u"SELECT\n   IDENTRSAIDOP||CDTIPOOPER AS  CHAVE"_s}, // no Oracle text: the default one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.driver));
        EXPECT_EQ(database::dialect::forDriver(c.driver, query.SQL(), query.SQL_ORACLE(), query.SQL_MSSQL()),
                  c.expected);
    }
    EXPECT_EQ(database::dialect::forDriver(u"QOCI"_s, query.SQL(), {u"SELECT 1 FROM DUAL"_s}, query.SQL_MSSQL()),
              u"SELECT 1 FROM DUAL"_s);
}

TEST_F(ADOIBQueryTest, DataModuleOpensTheConfiguredDatabaseOnFirstUse)
{
    EXPECT_EQ(dtmDBGeral()->adcGeral, dtmDBGeral()->dtbGeral);
    connection->SetConnected(false);
    EXPECT_FALSE(connection->Connected());
    TADOIBQuery query(nullptr, u"qry"_s);
    query.setSQL({u"SELECT COUNT(*) AS N FROM EMPRESA"_s});
    query.Open();
    EXPECT_TRUE(connection->Connected());
    EXPECT_EQ(query.Query()->FieldByName(u"N"_s)->AsString(), u"3"_s);

    SCOPED_TRACE("a database that cannot be opened");
    connection->SetConnected(false);
    HostSettings::current().databasePath = dir.filePath(u"no/such/folder/fiscal.db"_s);
    EXPECT_THROW(query.Open(), EDatabaseError);
}

TEST_F(ADOIBQueryTest, TransactionRollbackDiscardsAndCommitKeeps)
{
    TDBTransaction* transaction = dtmDBGeral()->ibtGeral;
    TADOIBQuery count(nullptr, u"qry"_s);
    count.setSQL({u"SELECT COUNT(*) AS N FROM EMPRESA"_s});

    transaction->StartTransaction();
    EXPECT_THROW(transaction->StartTransaction(), EDatabaseError);
    runScript(connection->Database(), u"INSERT INTO EMPRESA VALUES ('20', 'Delta', '4', 'PR');\n"_s);
    transaction->Rollback();
    EXPECT_FALSE(transaction->InTransaction());
    count.Open();
    EXPECT_EQ(count.Query()->FieldByName(u"N"_s)->AsString(), u"3"_s);

    transaction->StartTransaction();
    runScript(connection->Database(), u"INSERT INTO EMPRESA VALUES ('20', 'Delta', '4', 'PR');\n"_s);
    transaction->Commit();
    count.Open();
    EXPECT_EQ(count.Query()->FieldByName(u"N"_s)->AsString(), u"4"_s);
    EXPECT_THROW(transaction->Commit(), EDatabaseError);
}
