#include "Fixtures.h"
#include "ServerCall.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using fixture::Invoice;

namespace {

const QString sp = u"123456785119"_s;
const QString otherSp = u"900012345112"_s;

// The taxes, and January 2025 of company 01, registration sp, with ICMS (01), ICMS ST (02) and IPI (03)
// values:
//   101 entry, model 55: two items under 1102 and one under 2102 (with ST and IPI)
//   202 exit, model 65, on the last day of January, 5102
//   203 exit on 1 February (outside January), 5102
//   204 exit, cancelled
//   205 exit under the other registration
//   206 bonus exit (type BN) on 1 January, 5910
//   207 exit whose item carries PIS only
//   208 exit not yet booked: pending, never listed
QStringList invoices()
{
    using namespace fixture;
    return {tax(u"01"_s, u"ICMS"_s, u"E"_s),
            tax(u"02"_s, u"ICMSST"_s, u"E"_s),
            tax(u"03"_s, u"IPI"_s, u"F"_s),
            invoice({101, u"01"_s, sp, u"E"_s, u"CO"_s, u"55"_s, u"000101"_s, u"2025-01-06"_s}),
            item(101, 1, u"1102"_s, 100),
            itemTax(101, 1, u"01"_s, 100, 18),
            item(101, 2, u"1102"_s, 50),
            itemTax(101, 2, u"01"_s, 40, 7.2, 10),
            item(101, 3, u"2102"_s, 215),
            itemTax(101, 3, u"01"_s, 200, 24, 0, 15),
            itemTax(101, 3, u"02"_s, 280, 5),
            itemTax(101, 3, u"03"_s, 200, 10),
            invoice({202, u"01"_s, sp, u"S"_s, u"VD"_s, u"65"_s, u"000202"_s, u"2025-01-31"_s}),
            item(202, 1, u"5102"_s, 300),
            itemTax(202, 1, u"01"_s, 300, 54),
            invoice({203, u"01"_s, sp, u"S"_s, u"VD"_s, u"55"_s, u"000203"_s, u"2025-02-01"_s}),
            item(203, 1, u"5102"_s, 10),
            itemTax(203, 1, u"01"_s, 10, 1.8),
            invoice({204, u"01"_s, sp, u"S"_s, u"VD"_s, u"55"_s, u"000204"_s, u"2025-01-15"_s, u"C"_s}),
            item(204, 1, u"5102"_s, 10),
            itemTax(204, 1, u"01"_s, 10, 1.8),
            invoice({205, u"01"_s, otherSp, u"S"_s, u"VD"_s, u"55"_s, u"000205"_s, u"2025-01-10"_s}),
            item(205, 1, u"5102"_s, 10),
            itemTax(205, 1, u"01"_s, 10, 1.8),
            invoice({206, u"01"_s, sp, u"S"_s, u"BN"_s, u"55"_s, u"000206"_s, u"2025-01-01"_s}),
            item(206, 1, u"5910"_s, 20),
            itemTax(206, 1, u"01"_s, 20, 3.6),
            invoice({207, u"01"_s, sp, u"S"_s, u"VD"_s, u"55"_s, u"000207"_s, u"2025-01-20"_s}),
            item(207, 1, u"5102"_s, 40),
            itemTax(207, 1, u"04"_s, 40, 0.66),
            invoice({208, u"01"_s, sp, u"S"_s, u"VD"_s, u"55"_s, u"000208"_s, u"2025-01-21"_s}),
            u"UPDATE NOTAFISCAL SET DTESCRITURACAO = NULL WHERE NRSEQNOTAFISC = 208"_s,
            item(208, 1, u"5102"_s, 30),
            itemTax(208, 1, u"01"_s, 30, 5.4)};
}

struct GiaCall {
    QString registration = sp;
    QJsonValue start = u"2025-01-01"_s;
    QJsonValue end = u"2025-01-31"_s;
    QString tax = u"01"_s;
    QString direction = u"2"_s;
    QString cfop;
    QString models;
    QString types;
};

protocol::RpcResponse gia(const TestServer& server, const GiaCall& c)
{
    return call(server, u"getDadosGia"_s,
                {u"01"_s, c.registration, c.start, c.end, c.tax, c.direction, c.cfop, c.models, c.types});
}

// "CFOP/number" of each row, in order.
QStringList documents(const protocol::DataPacket& packet)
{
    const QStringList cfops = column(packet, u"CDFISCOPERNF"_s);
    const QStringList numbers = column(packet, u"NRNOTAFISC"_s);
    QStringList keys;
    for (int i = 0; i < cfops.size(); ++i)
        keys.append(cfops[i] + u'/' + numbers[i]);
    return keys;
}

} // namespace

TEST(GiaDocuments, OneRowPerInvoiceAndCfopSelectedByEveryFilter)
{
    const TestServer server(invoices());
    struct Case {
        const char* name;
        GiaCall call;
        QStringList documents;
    };
    const QStringList byCfop = {u"1102/000101"_s, u"2102/000101"_s, u"5102/000202"_s, u"5910/000206"_s};
    const Case cases[] = {
        {"both directions, bounds included, by CFOP", {}, byCfop},
        {"entries", {.direction = u"0"_s}, {u"1102/000101"_s, u"2102/000101"_s}},
        {"exits", {.direction = u"1"_s}, {u"5102/000202"_s, u"5910/000206"_s}},
        {"no direction chosen", {.direction = u"-1"_s}, byCfop},
        {"one CFOP", {.cfop = u"5102"_s}, {u"5102/000202"_s}},
        {"one model", {.models = u"65"_s}, {u"5102/000202"_s}},
        {"one operation type", {.types = u"SBN"_s}, {u"5910/000206"_s}},
        {"models and types together", {.models = u"55"_s, .types = u"ECO,SVD"_s}, {u"1102/000101"_s, u"2102/000101"_s}},
        {"an unknown model", {.models = u"99"_s}, {}},
        {"no start", {.start = QJsonValue::Null}, byCfop},
        {"no end: February too",
         {.end = QJsonValue::Null},
         {u"1102/000101"_s, u"2102/000101"_s, u"5102/000202"_s, u"5102/000203"_s, u"5910/000206"_s}},
        {"the other registration", {.registration = otherSp}, {u"5102/000205"_s}},
        {"another tax: only items that carry it", {.tax = u"04"_s}, {u"5102/000207"_s}},
        {"an unknown tax", {.tax = u"99"_s}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const protocol::RpcResponse answer = gia(server, c.call);
        ASSERT_FALSE(answer.failed()) << answer.error->message.toStdString();
        EXPECT_EQ(documents(answer.data), c.documents);
    }
}

TEST(GiaDocuments, ValuesAreTheInvoiceCfopTotalsOfTheTaxWithStAndIpi)
{
    const TestServer server(invoices());
    const protocol::DataPacket packet = gia(server, {.direction = u"0"_s}).data;
    ASSERT_EQ(packet.rows.size(), 2);
    const QVariant issued = QDate(2025, 1, 5).startOfDay();
    const QVariant entered = QDate(2025, 1, 6).startOfDay();
    // CFOP, number, direction, issue, entry, accounting, base, tax, exempt, other, ST, IPI
    const QVariantList cfop1102 = {u"1102"_s, u"000101"_s, u"E"_s, issued, entered, 150.0,
                                   140.0,     25.2,        10.0,   0.0,    0.0,     0.0};
    const QVariantList cfop2102 = {u"2102"_s, u"000101"_s, u"E"_s, issued, entered, 215.0,
                                   200.0,     24.0,        0.0,    15.0,   5.0,     10.0};
    EXPECT_EQ(packet.rows[0], cfop1102);
    EXPECT_EQ(packet.rows[1], cfop2102);
}

TEST(GiaDocuments, TheListsComeBackAsApplied)
{
    const TestServer server(invoices());
    struct Case {
        const char* name;
        QString models;
        QString types;
        QJsonArray out;
    };
    const Case cases[] = {
        {"no lists", u""_s, u""_s, {u""_s, u""_s}},
        {"blanks, duplicates and order", u" 65 ,55,,65, "_s, u"SVD, SBN,SVD"_s, {u"55,65"_s, u"SBN,SVD"_s}},
        {"only blanks", u" , "_s, u","_s, {u""_s, u""_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const protocol::RpcResponse answer = gia(server, {.models = c.models, .types = c.types});
        EXPECT_EQ(answer.out, c.out);
    }
    EXPECT_EQ(documents(gia(server, {.models = u" 65 ,55,,65, "_s, .types = u"SVD, SBN,SVD"_s}).data),
              (QStringList{u"5102/000202"_s, u"5910/000206"_s}));
}
