#include "TClientDataSet.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using protocol::DataPacket;
using protocol::FieldType;

namespace {

DataPacket periodPacket()
{
    DataPacket packet;
    packet.fields = {{u"DTINIPERIODO"_s, FieldType::DateTime, 0}, {u"DTINICIAL"_s, FieldType::String, 10}};
    packet.rows = {{QDate(2025, 1, 1).startOfDay(), u"01/01/2025"_s},
                   {QDate(2025, 2, 1).startOfDay(), u"01/02/2025"_s}};
    return packet;
}

} // namespace

TEST(ClientDataSetLoad, RowsTakenAsTheyStandStayTheDataSetsOwn)
{
    TClientDataSet cds(nullptr, u"cdsVdDataIni"_s);
    cds.AddField({u"DTINIPERIODO"_s, FieldType::DateTime});
    cds.AddField({u"DTINICIAL"_s, FieldType::String, 10});
    DataPacket packet = periodPacket();
    cds.SetData(packet);

    packet.rows[0][1] = u"31/12/2024"_s;
    packet.rows.clear();
    EXPECT_EQ(cds.RecordCount(), 2);
    EXPECT_EQ(cds.FieldByName(u"DTINICIAL"_s)->AsString(), u"01/01/2025"_s);
}

TEST(ClientDataSetLoad, CellsOfAnotherTypeAreConvertedToTheFields)
{
    struct Case {
        const char* name;
        QVariant cell;
        FieldType packetType;
        FieldType fieldType;
        QMetaType::Type loaded;
    };
    const Case cases[] = {
        {"integer into a float field", qlonglong(3), FieldType::Integer, FieldType::Float, QMetaType::Double},
        {"int cell in a float packet field", 3, FieldType::Float, FieldType::Float, QMetaType::Double},
        {"date into a date-time field", QDate(2025, 1, 31), FieldType::Date, FieldType::DateTime, QMetaType::QDateTime},
        {"date cell in a date-time packet field", QDate(2025, 1, 31), FieldType::DateTime, FieldType::DateTime,
         QMetaType::QDateTime},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TClientDataSet cds;
        cds.AddField({u"VALOR"_s, c.fieldType});
        DataPacket packet;
        packet.fields = {{u"VALOR"_s, c.packetType, 0}};
        packet.rows = {{c.cell}};
        cds.SetData(packet);
        EXPECT_EQ(cds.FieldByName(u"VALOR"_s)->Value().typeId(), c.loaded);
    }
}
