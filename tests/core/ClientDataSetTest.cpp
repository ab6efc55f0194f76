#include "Exceptions.h"
#include "TClientDataSet.h"

#include <gtest/gtest.h>

using protocol::DataPacket;
using protocol::FieldType;

namespace {

// The tax dataset's persistent fields.
void declareTaxFields(TClientDataSet& cds)
{
    cds.AddField({u"CDIMPOSTONFE"_qs, FieldType::String, 2, u"Codigo"_qs});
    cds.AddField({u"SGIMPOSTONFE"_qs, FieldType::String, 10, u"Sigla"_qs});
    cds.AddField({u"IDORGARRECADNFE"_qs, FieldType::String, 1, {}, false});
}

DataPacket taxPacket()
{
    DataPacket packet;
    packet.fields = {{u"CDIMPOSTONFE"_qs, FieldType::String, 2},
                     {u"SGIMPOSTONFE"_qs, FieldType::String, 10},
                     {u"IDORGARRECADNFE"_qs, FieldType::String, 1}};
    packet.rows = {{u"01"_qs, u"ICMS"_qs, u"E"_qs}, {u"06"_qs, u"ISS"_qs, u"M"_qs}};
    return packet;
}

} // namespace

TEST(ClientDataSet, NeverLoadedOrEmptyReadsEveryFieldAsEmptyText)
{
    TClientDataSet cds(nullptr, u"cdsImpo"_qs);
    declareTaxFields(cds);
    EXPECT_FALSE(cds.Active());
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_EQ(cds.FieldByName(u"IDORGARRECADNFE"_qs)->AsString(), QString());

    DataPacket empty = taxPacket();
    empty.rows.clear();
    cds.SetData(empty);
    EXPECT_TRUE(cds.Active());
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_EQ(cds.FieldByName(u"SGIMPOSTONFE"_qs)->AsString(), QString());
}

TEST(ClientDataSet, SetDataReplacesRowsAndStandsOnTheFirst)
{
    TClientDataSet cds(nullptr, u"cdsImpo"_qs);
    declareTaxFields(cds);
    cds.SetData(taxPacket());
    cds.Next();
    ASSERT_EQ(cds.FieldByName(u"CDIMPOSTONFE"_qs)->AsString(), u"06"_qs);

    DataPacket one = taxPacket();
    one.rows.removeFirst();
    cds.SetData(one);
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_EQ(cds.FieldByName(u"SGIMPOSTONFE"_qs)->AsString(), u"ISS"_qs);
    EXPECT_EQ(cds.FindField(u"CDIMPOSTONFE"_qs)->objectName(), u"cdsImpoCDIMPOSTONFE"_qs);
}

TEST(ClientDataSet, PacketThatDoesNotFitLeavesTheDatasetAsItWas)
{
    struct Case {
        const char* name;
        std::function<void(DataPacket&)> damage;
    };
    const Case cases[] = {
        {"field missing",
         [](DataPacket& p) {
             p.fields.removeLast();
             for (auto& row : p.rows)
                 row.removeLast();
         }},
        {"wrong type",
         [](DataPacket& p) {
             p.fields[1].type = FieldType::Float;
             for (auto& row : p.rows)
                 row[1] = 1.5;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TClientDataSet cds(nullptr, u"cdsImpo"_qs);
        declareTaxFields(cds);
        cds.SetData(taxPacket());
        DataPacket bad = taxPacket();
        c.damage(bad);
        EXPECT_THROW(cds.SetData(bad), EDataPacketError);
        EXPECT_EQ(cds.RecordCount(), 2);
        EXPECT_EQ(cds.FieldByName(u"SGIMPOSTONFE"_qs)->AsString(), u"ICMS"_qs);
    }
}

TEST(ClientDataSet, DatePacketCellsFillDateTimeFieldsAndReadInTheShortDateFormat)
{
    TClientDataSet cds(nullptr, u"cdsVdDataIni"_qs);
    cds.AddField({u"DTINIPERIODO"_qs, FieldType::DateTime});
    DataPacket packet;
    packet.fields = {{u"DTINIPERIODO"_qs, FieldType::Date, 0}};
    packet.rows = {{QDate(2026, 1, 1)}};
    cds.SetData(packet);
    EXPECT_EQ(cds.FieldByName(u"DTINIPERIODO"_qs)->AsDateTime(), QDate(2026, 1, 1).startOfDay());
    EXPECT_EQ(cds.FieldByName(u"DTINIPERIODO"_qs)->AsString(), u"01/01/2026"_qs);
}
