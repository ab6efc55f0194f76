// Several servers on one database, and the database going away under a running server.
#include "FiscalDatabase.h"
#include "ServerCall.h"

#include <algorithm>
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
