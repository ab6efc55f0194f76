#include "Fixtures.h"
#include "ServerCall.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace protocol;

namespace {

std::string request(const QString& method, const QJsonArray& params, const QJsonValue& id = 9)
{
    return QJsonDocument(
               QJsonObject{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, id}, {u"method"_s, method}, {u"params"_s, params}})
        .toJson(QJsonDocument::Compact)
        .toStdString();
}

QJsonArray gia(const QString& direction, const QString& models = {})
{
    return {u"01"_s, u"123456785119"_s, u"2025-01-01"_s, u"2025-01-31"_s, u"01"_s, direction, u""_s, models, u""_s};
}

QStringList taxes() { return {fixture::tax(u"01"_s, u"ICMS"_s, u"E"_s), fixture::tax(u"04"_s, u"PIS"_s, u"F"_s)}; }

} // namespace

TEST(RequestCheck, EveryMalformedRequestGetsItsErrorAndTheServerStaysUp)
{
    const TestServer server(taxes());
    struct Case {
        const char* name;
        std::string body;
        int status;
        int code; // 0: a result
        std::string path = "/rlx58200.rdmConferenciaFiscal";
    };
    const QString longText(1001, u'1');
    const Case cases[] = {
        {"not JSON", "{\"jsonrpc\":\"2.0\",", 200, RpcErrorCode::ParseError},
        {"a batch", "[" + request(u"GetImpoGrup"_s, {u""_s, u"T"_s}) + "]", 200, RpcErrorCode::InvalidRequest},
        {"no id", R"({"jsonrpc":"2.0","method":"GetImpoGrup","params":["","T"]})", 200, RpcErrorCode::InvalidRequest},
        {"an object for id", request(u"GetImpoGrup"_s, {u""_s, u"T"_s}, QJsonObject{}), 200,
         RpcErrorCode::InvalidRequest},
        {"version 1.0", R"({"jsonrpc":"1.0","id":1,"method":"GetLivroMag","params":[""]})", 200,
         RpcErrorCode::InvalidRequest},
        {"no method", R"({"jsonrpc":"2.0","id":1,"params":[""]})", 200, RpcErrorCode::InvalidRequest},
        {"method not a text", R"({"jsonrpc":"2.0","id":1,"method":5,"params":[""]})", 200,
         RpcErrorCode::InvalidRequest},
        {"unknown method", request(u"GetImpostos"_s, {}), 200, RpcErrorCode::MethodNotFound},
        {"method in the wrong case", request(u"getimpogrup"_s, {u""_s, u"T"_s}), 200, RpcErrorCode::MethodNotFound},
        {"too few arguments", request(u"GetImpoGrup"_s, {u""_s}), 200, RpcErrorCode::InvalidParams},
        {"too many arguments", request(u"GetLivroMag"_s, {u""_s, u""_s}), 200, RpcErrorCode::InvalidParams},
        {"named arguments", R"({"jsonrpc":"2.0","id":1,"method":"GetLivroMag","params":{"code":""}})", 200,
         RpcErrorCode::InvalidParams},
        {"number for a text", request(u"GetLivroMag"_s, {1}), 200, RpcErrorCode::InvalidParams},
        {"null for a text", request(u"GetLivroMag"_s, {QJsonValue::Null}), 200, RpcErrorCode::InvalidParams},
        {"local date format", request(u"GetDtFim"_s, {u"01"_s, u""_s, u"15/01/2025"_s, u"04"_s}), 200,
         RpcErrorCode::InvalidParams},
        {"impossible date", request(u"GetDtFim"_s, {u"01"_s, u""_s, u"2025-02-30"_s, u"04"_s}), 200,
         RpcErrorCode::InvalidParams},
        {"date with a time", request(u"GetDtFim"_s, {u"01"_s, u""_s, u"2025-01-01T00:00:00"_s, u"04"_s}), 200,
         RpcErrorCode::InvalidParams},
        {"number for a date", request(u"GetDtFim"_s, {u"01"_s, u""_s, 20250101, u"04"_s}), 200,
         RpcErrorCode::InvalidParams},
        {"text over 1000 characters", request(u"GetLivroMag"_s, {longText}), 200, RpcErrorCode::InvalidParams},
        {"text of 1000 characters", request(u"GetLivroMag"_s, {longText.left(1000)}), 200, 0},
        {"list over 10000 characters", request(u"getDadosGia"_s, gia(u"2"_s, QString(10001, u'5'))), 200,
         RpcErrorCode::InvalidParams},
        {"list of 10000 characters", request(u"getDadosGia"_s, gia(u"2"_s, QString(10000, u'5'))), 200, 0},
        {"unknown direction", request(u"getDadosGia"_s, gia(u"3"_s)), 200, RpcErrorCode::InvalidParams},
        {"body over 1 MiB", request(u"GetLivroMag"_s, {QString(600 * 1024, u'x'), QString(600 * 1024, u'x')}), 413,
         RpcErrorCode::InvalidRequest},
        {"unknown server name", request(u"GetImpoGrup"_s, {u""_s, u"T"_s}), 404, RpcErrorCode::MethodNotFound,
         "/rlx58200.rdmOutroModulo"},
        {"a look-alike server name", request(u"GetImpoGrup"_s, {u""_s, u"T"_s}), 404, RpcErrorCode::MethodNotFound,
         "/rlx58200xrdmConferenciaFiscal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const httplib::Result answer = post(server, c.body, c.path);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, c.status);
        const RpcResponse response = RpcResponse::fromJson(QByteArray::fromStdString(answer->body));
        EXPECT_EQ(response.failed() ? response.error->code : 0, c.code);
        if (response.failed()) {
            EXPECT_FALSE(response.error->message.isEmpty());
        }
    }

    const RpcResponse afterwards = call(server, u"GetImpoGrup"_s, {u""_s, u"T"_s});
    EXPECT_EQ(afterwards.data.rows.size(), 2);
}

TEST(RequestCheck, AFailureKeepsTheIdOfTheRequest)
{
    const TestServer server(taxes());
    const httplib::Result answer = post(server, request(u"GetLivroMag"_s, {}, u"pedido-7"_s));
    ASSERT_TRUE(answer);
    const RpcResponse response = RpcResponse::fromJson(QByteArray::fromStdString(answer->body));
    EXPECT_EQ(response.id, QJsonValue(u"pedido-7"_s));
    EXPECT_EQ(response.error->message, u"GetLivroMag recebe 1 argumentos, não 0."_s);

    // An id that is not Unicode could only be echoed altered: the request has none.
    const httplib::Result lone =
        post(server, R"({"jsonrpc":"2.0","id":"x\ud800","method":"GetLivroMag","params":[""]})");
    ASSERT_TRUE(lone);
    const RpcResponse refused = RpcResponse::fromJson(QByteArray::fromStdString(lone->body));
    EXPECT_EQ(refused.error->code, RpcErrorCode::InvalidRequest);
    EXPECT_TRUE(refused.id.isNull());
}

TEST(RequestCheck, ValuesNeverBecomeSql)
{
    const TestServer server(taxes());
    struct Case {
        const char* name;
        QString method;
        QJsonArray params;
    };
    const Case cases[] = {
        {"quote in a code", u"GetImpoGrup"_s, {u"01' OR '1'='1"_s, u""_s}},
        {"comment in a code", u"GetImpoGrup"_s, {u"01' --"_s, u""_s}},
        {"statement in a list", u"getDadosGia"_s, gia(u"2"_s, u"55); DROP TABLE IMPOSTONFE; --"_s)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RpcResponse answer = call(server, c.method, c.params);
        ASSERT_FALSE(answer.failed()) << answer.error->message.toStdString();
        EXPECT_TRUE(answer.data.rows.isEmpty());
    }
    EXPECT_EQ(call(server, u"GetImpoGrup"_s, {u""_s, u"T"_s}).data.rows.size(), 2);
}

TEST(RequestCheck, ADatabaseFailureIsAServerErrorWhoseEngineTextOnlyTheLogShows)
{
    const TestServer server(taxes() << u"DROP TABLE LIVROMAG"_s);
    const RpcResponse broken = call(server, u"GetLivroMag"_s, {u""_s});
    ASSERT_TRUE(broken.failed());
    EXPECT_EQ(broken.error->code, RpcErrorCode::ServerFailure);
    EXPECT_TRUE(broken.error->message.contains(u"administrador"_s)) << broken.error->message.toStdString();
    for (const QString& hidden : {server.databasePath(), u"LIVROMAG"_s})
        EXPECT_FALSE(broken.error->message.contains(hidden)) << broken.error->message.toStdString();
    EXPECT_TRUE(server.log().last().contains(u"LIVROMAG"_s)) << server.log().last().toStdString();
    EXPECT_EQ(call(server, u"GetImpoGrup"_s, {u""_s, u"T"_s}).data.rows.size(), 2);
}

TEST(RequestCheck, EachRequestLogsOneLineWithMethodTimeAndOutcome)
{
    const TestServer server(taxes());
    call(server, u"GetImpoGrup"_s, {u""_s, u"T"_s});
    call(server, u"GetImpoGrup"_s, {u""_s});
    post(server, "{}", "/outro");
    call(server, u"Get\nImpoGrup 0 ms 6 linhas"_s, {});

    const QStringList log = server.log();
    ASSERT_EQ(log.size(), 4);
    EXPECT_TRUE(QRegularExpression(u"^GetImpoGrup \\d+ ms 2 linhas \\| "_s).match(log[0]).hasMatch())
        << log[0].toStdString();
    EXPECT_TRUE(QRegularExpression(u"^GetImpoGrup \\d+ ms erro -32602: "_s).match(log[1]).hasMatch())
        << log[1].toStdString();
    EXPECT_TRUE(log[2].contains(u"/outro"_s) && log[2].contains(u"404"_s)) << log[2].toStdString();
    EXPECT_TRUE(log[3].startsWith(u"Get\\nImpoGrup"_s)) << log[3].toStdString();
    for (const QString& line : log)
        EXPECT_FALSE(line.contains(u'\n') || line.contains(u'\r')) << line.toStdString();
}

TEST(RequestCheck, ProbesAnswerText)
{
    const TestServer server;
    httplib::Client client(server.host().toStdString(), server.port());
    const httplib::Result root = client.Get("/");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->status, 200);
    const httplib::Result module = client.Get("/rlx58200.rdmConferenciaFiscal");
    ASSERT_TRUE(module);
    EXPECT_EQ(module->status, 200);
    EXPECT_EQ(module->body, "rlx58200.rdmConferenciaFiscal\n");
    const httplib::Result other = client.Get("/rlx58200.rdmOutroModulo");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 404);
}
