// Several servers on one database, and the database going away under a running server.
#include "FiscalDatabase.h"
#include "ScopedConnection.h"
#include "ServerCall.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QList<QPair<QString, QJsonArray>> calls = {
    {u"GetImpoGrup"_s, {u""_s, u"T"_s}},
    {u"GetDtFim"_s, {u"01"_s, u"123456785119"_s, u"2025-03-01"_s, u"01"_s}},
    {u"getDadosGia"_s,
     {u"01"_s, u"123456785119"_s, u"2025-01-01"_s, u"2025-06-30"_s, u"01"_s, u"2"_s, u""_s, u"55,65"_s, u""_s}},
};

} // namespace

// The server keeps nothing between calls: any of several servers on one database may take a request.
TEST(SharedDatabase, TwoServersOnOneDatabaseAnswerARequestAlike)
{
    const TestServer first({}, TestServer::Data::SampleData);
    const TestServer second(first.database());
    for (const auto& [method, params] : calls) {
        SCOPED_TRACE(qPrintable(method));
        const protocol::RpcResponse answer = call(first, method, params);
        EXPECT_FALSE(answer.failed());
        EXPECT_FALSE(answer.data.rows.isEmpty());
        EXPECT_EQ(call(second, method, params).toJson(), answer.toJson());
    }
}

// The server reconnects by itself after its database server restarts; while that server is down, a call gets one
// clear message, and the first call after it is back works.
TEST(PostgreSqlRestart, CallsWorkAfterARestartAndFailClearlyWhileTheDatabaseIsDown)
{
    const TestServer server({}, TestServer::Data::SampleData);
    QList<QByteArray> expected;
    for (const auto& [method, params] : calls)
        expected.append(call(server, method, params).toJson());
    const auto everyCallAnswersAsBefore = [&] {
        for (int round = 0; round < 3; ++round) // every server thread, whichever takes a call
            for (int i = 0; i < calls.size(); ++i)
                EXPECT_EQ(call(server, calls[i].first, calls[i].second).toJson(), expected[i]) << round;
    };

    ASSERT_TRUE(TestDatabase::controlPostgreSql(u"restart"_s));
    everyCallAnswersAsBefore();

    ASSERT_TRUE(TestDatabase::controlPostgreSql(u"stop"_s));
    const protocol::RpcResponse down = call(server, u"GetImpoGrup"_s, {u""_s, u"T"_s});
    ASSERT_TRUE(TestDatabase::controlPostgreSql(u"start"_s));
    ASSERT_TRUE(down.failed());
    EXPECT_EQ(down.error->message, u"O servidor de aplicação perdeu a conexão com o banco de dados fiscal; tente de "
                                   "novo em instantes (se persistir, avise o administrador)."_s);
    everyCallAnswersAsBefore();
}

// --init on PostgreSQL: servers started together on an empty database create the tables once, with the sample data;
// a filled database is left as it is.
TEST(PostgreSqlInit, ServersStartedTogetherCreateTheTablesOnceAndLeaveThemAlone)
{
    const auto database = TestDatabase::emptyPostgreSql();
    std::vector<fiscal::InitOutcome> outcomes(3);
    std::vector<std::thread> servers;
    for (auto& outcome : outcomes)
        servers.emplace_back([&] { outcome = fiscal::initDatabase(database->address()); });
    for (std::thread& server : servers)
        server.join();
    EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), fiscal::InitOutcome::Created), 1);

    const TestServer server(database);
    const QByteArray sample = call(server, u"GetDtIni"_s, {u"01"_s, u"123456785119"_s, u"01"_s}).toJson();
    EXPECT_EQ(fiscal::initDatabase(database->address()), fiscal::InitOutcome::AlreadyThere);
    const protocol::RpcResponse again = call(server, u"GetDtIni"_s, {u"01"_s, u"123456785119"_s, u"01"_s});
    EXPECT_EQ(again.data.rows.size(), 24);
    EXPECT_EQ(again.toJson(), sample);
}

// A statement the database holds up (another session locks its table) occupies one serving thread, never the
// network: the server's probe and other calls go on being answered meanwhile, and the held calls are answered once
// the lock goes.
TEST(PostgreSqlStall, AStatementTheDatabaseHoldsUpHoldsUpNoOtherCall)
{
    const TestServer server({}, TestServer::Data::SampleData);
    database::ScopedConnection locker(database::DatabaseAddress::parse(server.databasePath()),
                                      database::Access::ReadWrite);
    QSqlQuery lock(locker.database());
    ASSERT_TRUE(lock.exec(u"BEGIN"_s) && lock.exec(u"LOCK TABLE IMPOSTONFE IN ACCESS EXCLUSIVE MODE"_s));

    std::vector<std::thread> held;
    std::atomic<int> answered = 0;
    for (int i = 0; i < 2; ++i) // as many as the server has network threads
        held.emplace_back([&] { answered += call(server, u"GetImpoGrup"_s, {u""_s, u"T"_s}).failed() ? 0 : 1; });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        httplib::Client probe("127.0.0.1", server.port());
        probe.set_read_timeout(std::chrono::seconds(2));
        const httplib::Result answer = probe.Get("/");
        EXPECT_TRUE(answer && answer->status == 200);
        EXPECT_FALSE(call(server, u"GetDtFim"_s, {u"01"_s, u"123456785119"_s, u"2025-03-01"_s, u"01"_s}).failed());
        EXPECT_LT(timer.elapsed(), 1000);
    }
    EXPECT_EQ(answered, 0) << "the held calls still wait";
    ASSERT_TRUE(lock.exec(u"ROLLBACK"_s));
    for (std::thread& thread : held)
        thread.join();
    EXPECT_EQ(answered, 2);
}
