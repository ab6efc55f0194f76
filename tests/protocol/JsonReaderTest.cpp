#include "JsonReader.h"
#include "JsonRpc.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace protocol;
using namespace Qt::StringLiterals;

TEST(JsonReader, ReadsWhatQtWritesAndDecodesEscapes)
{
    const QByteArray text =
        R"( { "a" : [ 1, -2.5e3, true, false, null ], "b": "d\u00e1gua \"x\" \\ \/ \n\t \ud83d\ude00",
                                 "c": {}, "d": [] } )";
    JsonReader reader(text);
    const QJsonValue value = reader.readValue();
    reader.expectEnd();
    EXPECT_EQ(value, QJsonValue(QJsonObject{{u"a"_s, QJsonArray{1, -2500, true, false, QJsonValue::Null}},
                                            {u"b"_s, u"dágua \"x\" \\ / \n\t 😀"_s},
                                            {u"c"_s, QJsonObject{}},
                                            {u"d"_s, QJsonArray{}}}));
}

TEST(JsonReader, TextThatIsNotJsonIsAParseError)
{
    const char* cases[] = {
        "",      "<html>", "\"sem fim", "\"controle \x01\"", R"("escape \x")", R"("\u12g4")",
        "[1, 2", "[1 2]",  "{\"a\" 1}", "{\"a\": 1,}",       "1.2.3",          "nul",
        "tru",   "{} {}",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        try {
            JsonReader reader{QByteArrayView(text)};
            reader.readValue();
            reader.expectEnd();
            ADD_FAILURE() << "accepted";
        } catch (const RpcFailure& failure) {
            EXPECT_EQ(failure.error().code, RpcErrorCode::ParseError);
            // "valor inválido", not its UTF-8 bytes read as Latin-1 ("invÃ¡lido").
            EXPECT_FALSE(failure.error().message.contains(u'Ã')) << failure.error().message.toStdString();
        }
    }
}
