#include "DataPacket.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace protocol;
using namespace Qt::StringLiterals;

namespace {

QJsonObject json(const QByteArray& text) { return QJsonDocument::fromJson(text).object(); }

} // namespace

TEST(DataPacket, EveryFieldTypeAndNullSurviveTheWireFormat)
{
    DataPacket packet;
    packet.fields = {{u"CDIMPOSTO"_s, FieldType::String, 2},   {u"DTINIPERIODO"_s, FieldType::DateTime, 0},
                     {u"DTEMISSAO"_s, FieldType::Date, 0},     {u"VRIMPOSTONF"_s, FieldType::Float, 0},
                     {u"NRITEM"_s, FieldType::Integer, 0}};
    packet.rows = {{u"01"_s, QDate(2026, 1, 1).startOfDay(), QDate(2025, 12, 31), 1970.93, qlonglong(3)},
                   {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}};

    const DataPacket back = DataPacket::fromJson(packet.toJson());
    EXPECT_EQ(back.fields, packet.fields);
    EXPECT_EQ(back.rows, packet.rows);
}

TEST(DataPacket, DateTimeFieldAcceptsADateWithoutTime)
{
    const DataPacket packet = DataPacket::fromJson(
        json(R"({"fields":[{"name":"DTFIMPERIODO","type":"datetime"}],"rows":[["2025-01-31"]]})"));
    EXPECT_EQ(packet.rows[0][0].toDateTime(), QDate(2025, 1, 31).startOfDay());
}

TEST(DataPacket, CellsThatBreakTheLayoutAreRefused)
{
    struct Case {
        const char* name;
        QByteArray text;
    };
    const Case cases[] = {
        {"number in a string field", R"({"fields":[{"name":"A","type":"string","size":2}],"rows":[[1]]})"},
        {"text in a float field", R"({"fields":[{"name":"A","type":"float"}],"rows":[["1,5"]]})"},
        {"fraction in an integer field", R"({"fields":[{"name":"A","type":"integer"}],"rows":[[1.5]]})"},
        {"not a date", R"({"fields":[{"name":"A","type":"date"}],"rows":[["31/01/2025"]]})"},
        {"impossible date", R"({"fields":[{"name":"A","type":"datetime"}],"rows":[["2025-02-30"]]})"},
        {"short row", R"({"fields":[{"name":"A","type":"string"},{"name":"B","type":"string"}],"rows":[["x"]]})"},
        {"row not a list", R"({"fields":[{"name":"A","type":"string"}],"rows":["x"]})"},
        {"unknown type", R"({"fields":[{"name":"A","type":"money"}],"rows":[]})"},
        {"field without name", R"({"fields":[{"type":"string"}],"rows":[]})"},
        {"no rows", R"({"fields":[]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DataPacket::fromJson(json(c.text)), PacketFormatError);
    }
}
