#include "ServerCall.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using protocol::FieldDef;
using protocol::FieldType;

namespace {

const QString sp = u"123456785119"_s;

struct Layout {
    const char* dataset;
    QString method;
    QJsonArray params;
    QList<FieldDef> fields;
};

// Each method's packet carries the persistent fields of the dataset it is loaded into, in order.
QList<Layout> layouts()
{
    const auto text = [](const char* name, int size) {
        return FieldDef{QString::fromLatin1(name), FieldType::String, size};
    };
    const auto dateTime = [](const char* name) { return FieldDef{QString::fromLatin1(name), FieldType::DateTime, 0}; };
    const auto amount = [](const char* name) { return FieldDef{QString::fromLatin1(name), FieldType::Float, 0}; };
    return {
        {"cdsImpo",
         u"GetImpoGrup"_s,
         {u""_s, u"T"_s},
         {text("CDIMPOSTONFE", 2), text("SGIMPOSTONFE", 10), text("IDORGARRECADNFE", 1)}},
        {"cdsLivro",
         u"GetLivroMag"_s,
         {u""_s},
         {text("CDLIVROMAG", 10), text("NMLIVROMAG", 50), text("CDIMPOSTOLIVRO", 2), text("IDORGARRECAD", 1)}},
        {"cdsDataInicial",
         u"GetDtIni"_s,
         {u"01"_s, sp, u"01"_s},
         {text("DTINICIAL", 10), dateTime("DTFIMPERIODO"), text("NMMAPAAPUR", 30), dateTime("DTINIPERIODO"),
          text("CDIMPOSTO", 2)}},
        {"cdsDataFinal",
         u"GetDtFim"_s,
         {u"01"_s, sp, QJsonValue::Null, u"01"_s},
         {dateTime("DTINIPERIODO"), dateTime("DTFIMPERIODO"), text("NMMAPAAPUR", 30), text("CDIMPOSTO", 2),
          text("DTINICIAL", 10), text("DTFINAL", 10)}},
        {"cdsVdDataIni",
         u"GetVdDataIni"_s,
         {u"01"_s, sp, u"2025-03-01"_s, u"01"_s},
         {dateTime("DTINIPERIODO"), text("DTINICIAL", 10)}},
        {"cdsVdDataFinal",
         u"GetVdDataFinal"_s,
         {u"01"_s, sp, u"2025-03-31"_s, u"01"_s},
         {dateTime("DTFIMPERIODO"), text("DTFINAL", 10)}},
        {"cdsDadosGiaSP",
         u"getDadosGia"_s,
         {u"01"_s, sp, u"2025-01-01"_s, u"2025-12-31"_s, u"01"_s, u"2"_s, u""_s, u""_s, u""_s},
         {text("CDFISCOPERNF", 6), text("NRNOTAFISC", 20), text("IDENTRSAIDOP", 1), dateTime("DTEMISSAO"),
          dateTime("DTENTRSAID"), amount("VRCONTABILNF"), amount("VRBASECALCNF"), amount("VRIMPOSTONF"),
          amount("VRISENTO"), amount("VROUTROS"), amount("VRIMPST"), amount("VRIMPIPI")}},
    };
}

} // namespace

TEST(PacketLayout, EveryMethodAnswersWithItsDatasetsFieldsAndTheSampleDataFitsThem)
{
    const TestServer server({}, TestServer::Data::SampleData);
    for (const Layout& layout : layouts()) {
        SCOPED_TRACE(layout.dataset);
        const protocol::RpcResponse answer = call(server, layout.method, layout.params);
        ASSERT_FALSE(answer.failed()) << answer.error->message.toStdString();
        EXPECT_EQ(answer.data.fields, layout.fields);
        EXPECT_FALSE(answer.data.rows.isEmpty());
        for (const QVariantList& row : answer.data.rows)
            for (int i = 0; i < layout.fields.size(); ++i) {
                const FieldDef& field = layout.fields[i];
                if (field.type == FieldType::String)
                    EXPECT_LE(row[i].toString().size(), field.size) << field.name.toStdString();
                else
                    EXPECT_FALSE(row[i].isNull()) << field.name.toStdString();
            }
    }
}
