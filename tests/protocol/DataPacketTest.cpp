#include "DataPacket.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtNumeric>
#include <gtest/gtest.h>

using namespace protocol;
using namespace Qt::StringLiterals;

namespace {} // namespace

TEST(DataPacket, EveryFieldTypeAndNullSurviveTheWireFormat)
{
    DataPacket packet;
    packet.fields = {{u"CDIMPOSTO"_s, FieldType::String, 2},
                     {u"DTINIPERIODO"_s, FieldType::DateTime, 0},
                     {u"DTEMISSAO"_s, FieldType::Date, 0},
                     {u"VRIMPOSTONF"_s, FieldType::Float, 0},
                     {u"NRITEM"_s, FieldType::Integer, 0}};
    // Rows that repeat the row above, write a value that starts as the one above does, or come after nulls.
    const QVariantList first = {u"01"_s, QDate(2026, 1, 1).startOfDay(), QDate(2025, 12, 31), 1970.93, qlonglong(3)};
    const QVariantList longer = {u"01 "_s, QDate(2026, 1, 1).startOfDay(), QDate(2025, 12, 31), 1970.935,
                                 qlonglong(31)};
    const QVariantList nulls = {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()};
    packet.rows = {first, first, longer, first, nulls, first, nulls};

    const DataPacket back = DataPacket::fromJson(packet.toJson());
    EXPECT_EQ(back.fields, packet.fields);
    EXPECT_EQ(back.rows, packet.rows);
}

TEST(DataPacket, TextsAndNumbersAreWrittenAsValidJson)
{
    DataPacket packet;
    packet.fields = {{u"NMLIVROMAG"_s, FieldType::String, 50}, {u"VRIMPOSTONF"_s, FieldType::Float, 0}};
    const QList<QPair<QString, double>> cells = {
        {u"Registro de Saídas"_s, 0.1},
        {u"aspas \"duplas\" e barra \\"_s, 1970.93},
        {u"linha\nnova\tcom tab"_s, -0.005},
        {QString(QChar(0x01)) + u"controle € ✓"_s, 1e-7},
        {u""_s, 123456789012.5},
    };
    for (const auto& [text, number] : cells)
        packet.rows.append({text, number});

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(packet.toJson(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isObject());
    EXPECT_EQ(DataPacket::fromJson(packet.toJson()).rows, packet.rows);
    EXPECT_TRUE(packet.toJson().contains(",0.1]")) << packet.toJson().toStdString();
}

TEST(DataPacket, ANumberThatIsNotFiniteTravelsAsNull)
{
    DataPacket packet;
    packet.fields = {{u"VRIMPOSTONF"_s, FieldType::Float, 0}};
    packet.rows = {{qQNaN()}, {qInf()}};
    EXPECT_EQ(DataPacket::fromJson(packet.toJson()).rows, (QList<QVariantList>{{QVariant()}, {QVariant()}}));
}

TEST(DataPacket, DateTimeFieldAcceptsADateWithoutTime)
{
    const DataPacket packet =
        DataPacket::fromJson(R"({"fields":[{"name":"DTFIMPERIODO","type":"datetime"}],"rows":[["2025-01-31"]]})");
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
        EXPECT_THROW(DataPacket::fromJson(c.text), PacketFormatError);
    }
}

TEST(DataPacket, RowsMayComeBeforeFields)
{
    const DataPacket packet = DataPacket::fromJson(
        R"({"rows":[["01",1.5]],"extra":{"a":[1,2]},"fields":[{"name":"A","type":"string","size":2},{"name":"B","type":"float"}]})");
    EXPECT_EQ(packet.rows, (QList<QVariantList>{{u"01"_s, 1.5}}));
}

TEST(DataPacket, ANullDateIsWrittenAsNull)
{
    DataPacket packet;
    packet.fields = {{u"DTEMISSAO"_s, FieldType::Date, 0}, {u"DTENTRSAID"_s, FieldType::DateTime, 0}};
    packet.rows = {{QDate(), QDateTime()}};
    EXPECT_EQ(DataPacket::fromJson(packet.toJson()).rows, (QList<QVariantList>{{QVariant(), QVariant()}}));
}

// A packet of more than a megabyte is read in two halves at once: the rows come back whole and in order, texts that
// look like the rows' own brackets and commas included, and a bad row in either half is refused as in a small one.
TEST(DataPacket, ALargePacketIsReadInHalvesAsAWhole)
{
    DataPacket packet;
    packet.fields = {{u"TEXTO"_s, FieldType::String, 40}, {u"VALOR"_s, FieldType::Float, 0}};
    for (int i = 0; i < 40000; ++i)
        packet.rows.append({u"linha %1 \"],[\" \\ ,"_s.arg(i), i + 0.5});
    const QByteArray json = packet.toJson();
    ASSERT_GT(json.size(), 1 << 20);
    EXPECT_EQ(DataPacket::fromJson(json).rows, packet.rows);

    for (const QByteArray row : {"[\"linha 3 "_ba, "[\"linha 39997 "_ba}) {
        SCOPED_TRACE(row.constData());
        QByteArray longRow = json;
        longRow.replace(row, "[1," + row.mid(1));
        EXPECT_THROW(DataPacket::fromJson(longRow), PacketFormatError);
    }
}
