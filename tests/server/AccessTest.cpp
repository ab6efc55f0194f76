// On PostgreSQL: each analyst a role of the database, seeing through the server only the companies granted to it;
// wrong passwords refused and slowed; every call in the audit trail, which analysts cannot change.
#include "AuditTrail.h"
#include "Grants.h"
#include "ScopedConnection.h"
#include "ServerCall.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Analyst {
    QString role;
    QString password;
};

// A login role of the cluster (roles are the cluster's, not the test database's: the name is new each time).
Analyst newAnalyst(database::ScopedConnection& owner, const QString& name)
{
    const Analyst analyst{u"%1_%2"_s.arg(name, QUuid::createUuid().toString(QUuid::Id128).left(8)),
                          u"senha de %1"_s.arg(name)};
    QSqlQuery create(owner.database());
    EXPECT_TRUE(create.exec(u"CREATE ROLE %1 LOGIN PASSWORD '%2'"_s.arg(analyst.role, analyst.password)))
        << create.lastError().text().toStdString();
    return analyst;
}

struct Answer {
    int status = 0;
    protocol::RpcResponse response;
    qint64 milliseconds = 0;
};

Answer callAs(const TestServer& server, const Analyst& analyst, const QString& method, const QJsonArray& params)
{
    protocol::RpcRequest request;
    request.id = 1;
    request.method = method;
    request.params = params;
    httplib::Client client(server.host().toStdString(), server.port());
    client.set_read_timeout(std::chrono::seconds(30));
    if (!analyst.role.isEmpty())
        client.set_basic_auth(analyst.role.toStdString(), analyst.password.toStdString());
    QElapsedTimer timer;
    timer.start();
    const httplib::Result answer =
        client.Post("/rlx58200.rdmConferenciaFiscal", request.toJson().toStdString(), "application/json");
    if (!answer) {
        ADD_FAILURE() << "no answer to " << method.toStdString();
        return {};
    }
    return {answer->status, protocol::RpcResponse::fromJson(QByteArray::fromStdString(answer->body)), timer.elapsed()};
}

struct Call {
    QString method;
    QJsonArray params;
};

const Call periodsOf01{u"GetDtIni"_s, {u"01"_s, u"123456785119"_s, u"01"_s}};
const Call periodsOf02{u"GetDtIni"_s, {u"02"_s, u"0961234563"_s, u"01"_s}};
const Call giaOf01{
    u"getDadosGia"_s,
    {u"01"_s, u"123456785119"_s, u"2025-01-01"_s, u"2025-12-31"_s, u"01"_s, u"2"_s, u""_s, u""_s, u""_s}};

class PostgreSqlAccess : public testing::Test {
protected:
    const TestServer server{{}, TestServer::Data::SampleData};
    database::ScopedConnection owner{database::DatabaseAddress::parse(server.databasePath()),
                                     database::Access::ReadWrite};
};

} // namespace

TEST_F(PostgreSqlAccess, EachAnalystSeesThroughTheServerOnlyTheCompaniesGrantedToIt)
{
    const Analyst ana = newAnalyst(owner, u"ana"_s);
    const Analyst beto = newAnalyst(owner, u"beto"_s);
    const Analyst caio = newAnalyst(owner, u"caio"_s);
    admin::grantCompanies(owner, ana.role, {u"01"_s});
    admin::grantCompanies(owner, beto.role, {u"02"_s, u"03"_s});
    admin::grantCompanies(owner, caio.role, {});
    const struct {
        const char* name;
        Analyst analyst;
        Call call;
        bool sees;
    } cases[] = {
        {"ana, company 01's periods", ana, periodsOf01, true},
        {"ana, company 02's periods", ana, periodsOf02, false},
        {"ana, company 01's GIA", ana, giaOf01, true},
        {"beto, company 01's periods", beto, periodsOf01, false},
        {"beto, company 02's periods", beto, periodsOf02, true},
        {"beto, company 01's GIA", beto, giaOf01, false},
        {"caio, granted nothing", caio, periodsOf01, false},
        {"caio, granted nothing", caio, periodsOf02, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype all = call(server, c.call.method, c.call.params).data.rows.size(); // the owner sees all
        ASSERT_GT(all, 0);
        const Answer answer = callAs(server, c.analyst, c.call.method, c.call.params);
        EXPECT_EQ(answer.status, 200);
        EXPECT_FALSE(answer.response.failed()) << answer.response.error->message.toStdString();
        EXPECT_EQ(answer.response.data.rows.size(), c.sees ? all : 0);
    }
    // Without a sign-in nobody is let in, though the server listens on loopback: any user of this machine could call.
    const Answer anonymous = callAs(server, {}, periodsOf01.method, periodsOf01.params);
    EXPECT_EQ(anonymous.status, 401);
    ASSERT_TRUE(anonymous.response.failed());
    EXPECT_EQ(anonymous.response.error->message, u"Entre com o seu usuário e a sua senha do banco de dados fiscal."_s);
}

TEST_F(PostgreSqlAccess, AWrongPasswordIsRefusedAndEachRefusalInARowWaitsLonger)
{
    const Analyst ana = newAnalyst(owner, u"ana"_s);
    admin::grantCompanies(owner, ana.role, {u"01"_s});
    const Analyst guess{ana.role, u"senha errada"_s};
    QList<qint64> waits;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const Answer answer = callAs(server, guess, periodsOf01.method, periodsOf01.params);
        EXPECT_EQ(answer.status, 401);
        EXPECT_TRUE(answer.response.failed());
        EXPECT_TRUE(answer.response.data.rows.isEmpty());
        waits.append(answer.milliseconds);
    }
    EXPECT_GE(waits[0], 450);
    EXPECT_GE(waits[2], 1950);
    EXPECT_GT(waits[2], waits[0]);
    const Answer right = callAs(server, ana, periodsOf01.method, periodsOf01.params);
    EXPECT_EQ(right.status, 200);
    EXPECT_FALSE(right.response.data.rows.isEmpty());
    for (const QString& line : server.log())
        EXPECT_FALSE(line.contains(guess.password) || line.contains(ana.password)) << line.toStdString();
}

TEST_F(PostgreSqlAccess, EveryCallLeavesOneAuditRecordThatAnalystsCannotTouch)
{
    const Analyst ana = newAnalyst(owner, u"ana"_s);
    admin::grantCompanies(owner, ana.role, {u"01"_s});
    const QDate today = QDate::currentDate();
    const qsizetype before = admin::auditSince(owner, today).size();
    const qsizetype periods = callAs(server, ana, periodsOf01.method, periodsOf01.params).response.data.rows.size();
    const qsizetype documents = callAs(server, ana, giaOf01.method, giaOf01.params).response.data.rows.size();
    ASSERT_GT(documents, 0);
    callAs(server, ana, u"GetDtIni"_s, {u"01"_s}); // refused: too few arguments, never reaches the database

    const QList<database::AuditRecord> records = admin::auditSince(owner, today).mid(before);
    ASSERT_EQ(records.size(), 2);
    for (const database::AuditRecord& record : records) {
        EXPECT_EQ(record.role, ana.role);
        EXPECT_EQ(record.origin, u"127.0.0.1"_s);
        EXPECT_EQ(record.outcome, u"ok"_s);
    }
    EXPECT_EQ(records[0].rows, periods);
    EXPECT_EQ(records[0].action, u"GetDtIni"_s);
    EXPECT_EQ(records[0].parameters, u"[\"01\",\"123456785119\",\"01\"]"_s);
    EXPECT_EQ(records[1].action, u"getDadosGia"_s);
    EXPECT_EQ(records[1].rows, documents);

    database::ScopedConnection analyst(database::DatabaseAddress::parse(server.databasePath()),
                                       database::Access::ReadWrite, {ana.role, ana.password});
    for (const QString& statement :
         {u"DELETE FROM AUDITORIA"_s, u"UPDATE AUDITORIA SET DSRESULTADO = 'ok'"_s, u"SELECT * FROM AUDITORIA"_s,
          u"INSERT INTO AUDITORIA (NMPAPEL, DSORIGEM, DSACAO, DSPARAMETROS, DSRESULTADO) "
          "VALUES ('outro', 'x', 'x', 'x', 'ok')"_s,
          u"TRUNCATE AUDITORIA"_s}) {
        SCOPED_TRACE(statement.toStdString());
        EXPECT_FALSE(QSqlQuery(analyst.database()).exec(statement));
    }
    EXPECT_EQ(admin::auditSince(owner, today).size(), before + 2);

    QProcess program;
    program.start(QString::fromUtf8(FISCAL_ADMIN_BIN),
                  {u"--db"_s, server.databasePath(), u"audit"_s, u"--desde"_s, today.toString(u"dd/MM/yyyy"_s)});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QString listed = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_EQ(listed.count(ana.role), 2) << listed.toStdString();
}
