#include "ServerCall.h"

#include <QJsonDocument>
#include <gtest/gtest.h>
#include <latch>
#include <numeric>
#include <thread>

using namespace Qt::StringLiterals;

TEST(Concurrency, SeveralClientsAtOnceGetTheSameAnswersAsOneAtATime)
{
    const TestServer server({}, TestServer::Data::SampleData);
    const QList<QPair<QString, QJsonArray>> calls = {
        {u"GetImpoGrup"_s, {u""_s, u"T"_s}},
        {u"GetLivroMag"_s, {u""_s}},
        {u"GetDtIni"_s, {u"01"_s, u"123456785119"_s, u"01"_s}},
        {u"GetDtFim"_s, {u"02"_s, u""_s, u"2025-06-01"_s, u"04"_s}},
        {u"getDadosGia"_s,
         {u"01"_s, u"123456785119"_s, u"2025-01-01"_s, u"2025-12-31"_s, u"01"_s, u"2"_s, u""_s, u"55,65"_s, u""_s}},
        {u"GetImpoGrup"_s, {u"01"_s}}, // an error among the results
    };
    QList<QByteArray> expected;
    for (const auto& [method, params] : calls)
        expected.append(call(server, method, params).toJson());

    constexpr int clients = 8;
    constexpr int rounds = 5;
    std::vector<int> mismatches(clients, 0);
    std::vector<std::thread> threads;
    for (int client = 0; client < clients; ++client)
        threads.emplace_back([&, client] {
            for (int round = 0; round < rounds; ++round)
                for (int i = 0; i < calls.size(); ++i) {
                    const int which = (i + client) % calls.size(); // each client in another order
                    if (call(server, calls[which].first, calls[which].second).toJson() != expected[which])
                        ++mismatches[client];
                }
        });
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(std::accumulate(mismatches.begin(), mismatches.end(), 0), 0);
    EXPECT_EQ(server.log().size(), calls.size() * (1 + clients * rounds));
}

TEST(Concurrency, ThirtyTwoAnalystsAskingForAListingAtOnceAreAllAnswered)
{
    const TestServer server({}, TestServer::Data::SampleData);
    const QJsonArray year = {
        u"01"_s, u"123456785119"_s, u"2025-01-01"_s, u"2025-12-31"_s, u"01"_s, u"2"_s, u""_s, u""_s, u""_s};
    constexpr int analysts = 32;
    std::latch ready(analysts);
    std::vector<int> rows(analysts, -1);
    std::vector<std::thread> threads;
    for (int analyst = 0; analyst < analysts; ++analyst)
        threads.emplace_back([&, analyst] {
            ready.arrive_and_wait();
            const protocol::RpcResponse answer = call(server, u"getDadosGia"_s, year);
            rows[analyst] = answer.failed() ? -1 : int(answer.data.rows.size());
        });
    for (std::thread& thread : threads)
        thread.join();
    const int expected = rows.front();
    EXPECT_GT(expected, 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), expected), analysts) << "a refusal or another answer";
}
