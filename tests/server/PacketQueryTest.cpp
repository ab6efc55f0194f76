#include "PacketQuery.h"
#include "DataPacket.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using protocol::FieldType;

namespace {

// Rows of every kind of cell a listing could meet, each field's type beside cells stored otherwise: texts with
// quotes, controls and accents, numbers and blobs in text fields, impossible or untrimmed dates, texts and
// integers in number fields, nulls. The first row is stepped by the driver, the others by the packet writer.
const QString cellsSql = uR"(
    SELECT 'CFOP "5.102" \ ' || char(9), 'ação', 12, '2025-01-31', '2025-02-30', 2, '3.5', 7, NULL
    UNION ALL SELECT 'x', x'41', 1.5, '2025-1-31', '2025-01-31T10:00:00', 1e300, -0.0, '9', ''
    UNION ALL SELECT '5102', '000123', 'E', '2024-12-31', '2025-01-01', 1234.56, 0.1, -3, 'ok')"_s;

const QList<protocol::FieldDef> cellFields = {
    {u"A"_s, FieldType::String, 20}, {u"B"_s, FieldType::String, 20},  {u"C"_s, FieldType::String, 20},
    {u"D"_s, FieldType::Date, 0},    {u"E"_s, FieldType::DateTime, 0}, {u"F"_s, FieldType::Float, 0},
    {u"G"_s, FieldType::Float, 0},   {u"H"_s, FieldType::Integer, 0},  {u"I"_s, FieldType::String, 20},
};

} // namespace

TEST(PacketQuery, ListingTextIsWhatTheDriversCellsWouldWrite)
{
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"packet-query"_s);
        database.setDatabaseName(u":memory:"_s);
        ASSERT_TRUE(database.open());
        QSqlQuery listing(database);
        ASSERT_TRUE(listing.prepare(cellsSql));
        QSqlQuery throughTheDriver(database);
        ASSERT_TRUE(throughTheDriver.prepare(cellsSql));

        const protocol::WrittenPacket written = fiscal::writePacketQuery(listing, cellFields);
        const protocol::DataPacket read = fiscal::runPacketQuery(throughTheDriver, cellFields);

        EXPECT_EQ(written.rows, 3);
        EXPECT_EQ(written.json.toStdString(), read.toJson().toStdString());
        const protocol::DataPacket back = protocol::DataPacket::fromJson(written.json);
        ASSERT_EQ(back.rows.size(), 3);
        EXPECT_EQ(back.rows[0][0].toString(), u"CFOP \"5.102\" \\ \t"_s);
        EXPECT_EQ(back.rows[0][1].toString(), u"ação"_s);
        EXPECT_EQ(back.rows[0][4], QVariant());
        EXPECT_EQ(back.rows[1][6].toDouble(), 0.0);
        EXPECT_EQ(back.rows[2][3].toDate(), QDate(2024, 12, 31));
        // Run again, the prepared statement reads from its first row.
        EXPECT_EQ(fiscal::writePacketQuery(listing, cellFields).json, written.json);
    }
    QSqlDatabase::removeDatabase(u"packet-query"_s);
}
