#include "JsonRpc.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace protocol;
using namespace Qt::StringLiterals;

namespace {

int failureCode(const std::function<void()>& parse)
{
    try {
        parse();
    } catch (const RpcFailure& failure) {
        return failure.error().code;
    }
    return 0;
}

} // namespace

TEST(JsonRpc, RequestTravelsWithItsIdMethodAndPositionalParameters)
{
    RpcRequest request;
    request.id = 7;
    request.method = u"GetDtFim"_s;
    request.params = {u"01"_s, u""_s, QJsonValue::Null, u"04"_s};

    const RpcRequest back = RpcRequest::fromJson(request.toJson());
    EXPECT_EQ(back.id, QJsonValue(7));
    EXPECT_EQ(back.method, u"GetDtFim"_s);
    EXPECT_EQ(back.params, request.params);
    EXPECT_EQ(QJsonDocument::fromJson(request.toJson()).object().value(u"jsonrpc"_s), QJsonValue(u"2.0"_s));
}

TEST(JsonRpc, ResultCarriesPacketAndByReferenceValues)
{
    DataPacket packet;
    packet.fields = {{u"CDFISCOPERNF"_s, FieldType::String, 6},
                     {u"DTEMISSAO"_s, FieldType::DateTime, 0},
                     {u"VRCONTABILNF"_s, FieldType::Float, 0}};
    packet.rows = {{u"5102"_s, QDate(2025, 1, 3).startOfDay(), 10949.6}, {u"6102"_s, QVariant(), 0.5}};

    const RpcResponse back =
        RpcResponse::fromJson(RpcResponse::success(3, packet, QJsonArray{u"55,65"_s, u""_s}).toJson());
    EXPECT_FALSE(back.failed());
    EXPECT_EQ(back.id, QJsonValue(3));
    EXPECT_EQ(back.data.fields, packet.fields);
    EXPECT_EQ(back.data.rows, packet.rows);
    EXPECT_EQ(back.out, (QJsonArray{u"55,65"_s, u""_s}));
}

TEST(JsonRpc, FailureCarriesCodeAndMessage)
{
    const RpcResponse back = RpcResponse::fromJson(
        RpcResponse::failure(4, RpcErrorCode::InvalidParams, u"GetDtIni recebe 3 argumentos, não 2."_s).toJson());
    ASSERT_TRUE(back.failed());
    EXPECT_EQ(back.id, QJsonValue(4));
    EXPECT_EQ(back.error->code, RpcErrorCode::InvalidParams);
    EXPECT_EQ(back.error->message, u"GetDtIni recebe 3 argumentos, não 2."_s);
    EXPECT_TRUE(back.data.fields.isEmpty());
}

TEST(JsonRpc, AnswersThatAreNotJsonRpcResponsesAreRefused)
{
    struct Case {
        const char* name;
        QByteArray body;
    };
    const Case cases[] = {
        {"HTML", "<html><body>502 Bad Gateway</body></html>"},
        {"no version", R"({"id":1,"result":{"data":{"fields":[],"rows":[]},"out":[]}})"},
        {"neither result nor error", R"({"jsonrpc":"2.0","id":1})"},
        {"result without data", R"({"jsonrpc":"2.0","id":1,"result":{"out":[]}})"},
        {"out not a list", R"({"jsonrpc":"2.0","id":1,"result":{"data":{"fields":[],"rows":[]},"out":"55"}})"},
        {"error without message", R"({"jsonrpc":"2.0","id":1,"error":{"code":-32000}})"},
        {"error without code", R"({"jsonrpc":"2.0","id":1,"error":{"message":"falhou"}})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(failureCode([&] { RpcResponse::fromJson(c.body); }), 0);
    }
}

TEST(JsonRpc, ResultWithABrokenPacketIsAPacketError)
{
    const QByteArray body = R"({"jsonrpc":"2.0","id":1,"result":{"data":{"fields":[{"name":"CDIMPOSTONFE",
        "type":"string","size":2}],"rows":[["01","sobra"]]},"out":[]}})";
    EXPECT_THROW(RpcResponse::fromJson(body), PacketFormatError);
}
