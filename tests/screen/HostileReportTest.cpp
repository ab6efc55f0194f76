// A report definition is a door: whatever its SQL says, running it leaves the database, its folder and the host's
// connection as they were.
#include "LookupFixture.h"

#include "Exceptions.h"
#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "TReportDesignerDialog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

using HostileReportTest = LookupTest;

// A report whose first query is the hostile text and whose detail reads the companies.
ReportDefinition Hostile(const QString& sql)
{
    return ReportDefinition::fromJson(
        QJsonObject{{u"code"_s, u"RLX582"_s},
                    {u"title"_s, u"Hostil"_s},
                    {u"queries"_s, QJsonArray{QJsonObject{{u"name"_s, u"qryAtaque"_s}, {u"sql"_s, QJsonArray{sql}}},
                                              QJsonObject{{u"name"_s, u"qryEmpresas"_s},
                                                          {u"sql"_s, QJsonArray{u"SELECT CDEMPRESA FROM EMPRESA"_s}}}}},
                    {u"detail"_s, u"qryEmpresas"_s},
                    {u"columns"_s, QJsonArray{QJsonObject{{u"field"_s, u"CDEMPRESA"_s}}}}},
        u"hostil.json"_s);
}

QString Scalar(const QString& sql)
{
    QSqlQuery query(dtmDBGeral()->adcGeral->Database());
    return query.exec(sql) && query.next() ? query.value(0).toString() : u"(falhou: %1)"_s.arg(sql);
}

// What a run must not change. SQLite: the bytes of every file of the database's folder but the shared-memory index
// (readers mark it), and the names of the files there. PostgreSQL: the tables, their rows and the session's settings.
QString State(const QString& databasePath)
{
    if (TestDatabase::onPostgreSql())
        return QStringList{Scalar(u"SELECT string_agg(relname, ',' ORDER BY relname) FROM pg_class c JOIN "
                                  "pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname NOT IN "
                                  "('pg_catalog', 'information_schema', 'pg_toast')"_s),
                           Scalar(u"SELECT md5(string_agg(E::text, ',' ORDER BY E::text)) FROM EMPRESA E"_s),
                           Scalar(u"SHOW default_transaction_read_only"_s), Scalar(u"SHOW transaction_read_only"_s)}
            .join(u" | "_s);
    const QDir folder = QFileInfo(databasePath).dir();
    // First a read, which opens the write-ahead log and its index as any reader does.
    QStringList state = {Scalar(u"SELECT COUNT(*) FROM EMPRESA"_s), Scalar(u"PRAGMA query_only"_s)};
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile contents(file.filePath());
        const bool read = !file.fileName().endsWith(u"-shm"_s) && contents.open(QIODevice::ReadOnly);
        state.append(
            file.fileName() + u' ' +
            (read ? QString::fromLatin1(QCryptographicHash::hash(contents.readAll(), QCryptographicHash::Md5).toHex())
                  : QString()));
    }
    return state.join(u" | "_s);
}

} // namespace

TEST_F(HostileReportTest, NothingAReportRunsChangesTheDatabaseItsFolderOrTheConnection)
{
    struct Case {
        QString sql;
        bool refused; // false: it may run, as a query that only reads
    };
    start();
    // Files a statement might create go beside the database, where the test looks.
    const QDir folder = QFileInfo(server->databasePath()).dir();
    const QList<Case> cases = {
        {u"DELETE FROM EMPRESA"_s, true},
        {u"WITH X AS (SELECT 1) DELETE FROM EMPRESA"_s, true},
        {u"SELECT 1; DELETE FROM EMPRESA"_s, true},
        {u"SELECT 1 /* ; */; UPDATE EMPRESA SET NMEMPRESA = 'x'"_s, true},
        {u"SELECT E'\\''; COMMIT; DELETE FROM EMPRESA; --'"_s, true},
        {u"INSERT INTO EMPRESA VALUES ('99', 'Invasora', '00000000000000', 'SP')"_s, true},
        {u"PRAGMA query_only = 0"_s, true},
        {u"PRAGMA journal_mode = DELETE"_s, true},
        {u"ATTACH DATABASE '%1' AS ATAQUE"_s.arg(folder.filePath(u"ataque.db"_s)), true},
        {u"VACUUM INTO '%1'"_s.arg(folder.filePath(u"copia.db"_s)), true},
        {u"CREATE TEMP TABLE COPIA AS SELECT * FROM EMPRESA"_s, true},
        {u"COMMIT"_s, true},
        {u"SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE"_s, true},
        {u"RESET ALL"_s, true},
        {u"SELECT load_extension('ataque')"_s, true},
        {u"SELECT set_config('transaction_read_only', 'off', true)"_s, true},
        {u"SELECT set_config('default_transaction_read_only', 'off', false)"_s, false},
        {u"SELECT * FROM pragma_table_info('EMPRESA')"_s, true},
    };
    auto* reports = child<TReportDesignerDialog>(u"rpddPadrao"_s);
    const QString before = State(server->databasePath());
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.sql));
        bool refused = false;
        try {
            reports->Run(Hostile(c.sql));
        } catch (const EReportRunError& e) {
            refused = true;
            EXPECT_TRUE(e.message().contains(u"qryAtaque"_s)) << qPrintable(e.message());
        }
        if (c.refused) {
            EXPECT_TRUE(refused);
        }
        EXPECT_EQ(State(server->databasePath()), before);
        EXPECT_EQ(reports->Run(Hostile(u"SELECT 1"_s))->data().detail.rows.size(), 3) << "the connection still reads";
    }
}
