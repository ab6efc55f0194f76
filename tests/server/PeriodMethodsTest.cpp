#include "Fixtures.h"
#include "ServerCall.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString sp = u"123456785119"_s;

// Company 01, registration sp, ICMS: three months and one long period that starts first and ends last;
// a PIS map kept without registration; maps of another tax and another company.
QStringList maps()
{
    using fixture::map;
    return {map(u"01"_s, sp, u"01"_s, u"ICMS 02/2025"_s, u"2025-02-01"_s, u"2025-02-28"_s),
            map(u"01"_s, sp, u"01"_s, u"ICMS 03/2025"_s, u"2025-03-01"_s, u"2025-03-31"_s),
            map(u"01"_s, sp, u"01"_s, u"ICMS 01/2025"_s, u"2025-01-01"_s, u"2025-01-31"_s),
            map(u"01"_s, sp, u"01"_s, u"ICMS especial"_s, u"2024-12-15"_s, u"2025-04-15"_s),
            map(u"01"_s, u""_s, u"04"_s, u"PIS 01/2025"_s, u"2025-01-01"_s, u"2025-01-31"_s),
            map(u"01"_s, sp, u"02"_s, u"ICMSST 01/2025"_s, u"2025-01-01"_s, u"2025-01-31"_s),
            map(u"02"_s, u"0961234563"_s, u"01"_s, u"ICMS 01/2025"_s, u"2025-01-01"_s, u"2025-01-31"_s)};
}

// A date-time cell of a packet.
QVariant day(int year, int month, int dayOfMonth) { return QDate(year, month, dayOfMonth).startOfDay(); }

QJsonValue date(const char* iso) { return iso ? QJsonValue(QString::fromLatin1(iso)) : QJsonValue(QJsonValue::Null); }

} // namespace

TEST(PeriodMethods, GetDtIniGivesTheMapsOfCompanyRegistrationAndTaxByStart)
{
    const TestServer server(maps());
    struct Case {
        const char* name;
        QJsonArray params;
        QStringList starts;
    };
    const Case cases[] = {
        {"ordered by start",
         {u"01"_s, sp, u"01"_s},
         {u"15/12/2024"_s, u"01/01/2025"_s, u"01/02/2025"_s, u"01/03/2025"_s}},
        {"empty registration: maps kept without one", {u"01"_s, u""_s, u"04"_s}, {u"01/01/2025"_s}},
        {"no map without registration for ICMS", {u"01"_s, u""_s, u"01"_s}, {}},
        {"empty company", {u""_s, sp, u"01"_s}, {}},
        {"empty tax", {u"01"_s, sp, u""_s}, {}},
        {"another company's registration", {u"02"_s, sp, u"01"_s}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(column(call(server, u"GetDtIni"_s, c.params).data, u"DTINICIAL"_s), c.starts);
    }

    const protocol::DataPacket first = call(server, u"GetDtIni"_s, {u"01"_s, sp, u"01"_s}).data;
    EXPECT_EQ(first.rows[0],
              (QVariantList{u"15/12/2024"_s, day(2025, 4, 15), u"ICMS especial"_s, day(2024, 12, 15), u"01"_s}));
}

TEST(PeriodMethods, GetDtFimGivesThePeriodsEndingOnOrAfterTheStartByEnd)
{
    const TestServer server(maps());
    struct Case {
        const char* name;
        QJsonValue start;
        QStringList ends;
    };
    const Case cases[] = {
        {"inside February", date("2025-02-10"), {u"28/02/2025"_s, u"31/03/2025"_s, u"15/04/2025"_s}},
        {"on an end date", date("2025-02-28"), {u"28/02/2025"_s, u"31/03/2025"_s, u"15/04/2025"_s}},
        {"the day after an end", date("2025-03-01"), {u"31/03/2025"_s, u"15/04/2025"_s}},
        {"no start: every period", date(nullptr), {u"31/01/2025"_s, u"28/02/2025"_s, u"31/03/2025"_s, u"15/04/2025"_s}},
        {"after every period", date("2025-04-16"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const protocol::DataPacket packet = call(server, u"GetDtFim"_s, {u"01"_s, sp, c.start, u"01"_s}).data;
        EXPECT_EQ(column(packet, u"DTFINAL"_s), c.ends);
    }

    const protocol::DataPacket march = call(server, u"GetDtFim"_s, {u"01"_s, sp, date("2025-03-20"), u"01"_s}).data;
    EXPECT_EQ(march.rows[0], (QVariantList{day(2025, 3, 1), day(2025, 3, 31), u"ICMS 03/2025"_s, u"01"_s,
                                           u"01/03/2025"_s, u"31/03/2025"_s}));
}

TEST(PeriodMethods, ReportPeriodsMustBeginAndEndWhereAMapDoes)
{
    const TestServer server(maps());
    struct Case {
        const char* name;
        QString method;
        QJsonValue date;
        QStringList texts;
    };
    const Case cases[] = {
        {"a map starts on it", u"GetVdDataIni"_s, date("2025-02-01"), {u"01/02/2025"_s}},
        {"inside a map", u"GetVdDataIni"_s, date("2025-02-10"), {}},
        {"a map ends on it, none starts", u"GetVdDataIni"_s, date("2025-01-31"), {}},
        {"no date", u"GetVdDataIni"_s, date(nullptr), {}},
        {"a map ends on it", u"GetVdDataFinal"_s, date("2025-03-31"), {u"31/03/2025"_s}},
        {"the long period ends on it", u"GetVdDataFinal"_s, date("2025-04-15"), {u"15/04/2025"_s}},
        {"a map starts on it, none ends", u"GetVdDataFinal"_s, date("2025-03-01"), {}},
        {"no end date", u"GetVdDataFinal"_s, date(nullptr), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const protocol::DataPacket packet = call(server, c.method, {u"01"_s, sp, c.date, u"01"_s}).data;
        ASSERT_EQ(packet.fields.size(), 2);
        EXPECT_EQ(column(packet, packet.fields[1].name), c.texts);
    }

    EXPECT_EQ(call(server, u"GetVdDataIni"_s, {u"01"_s, sp, date("2024-12-15"), u"01"_s}).data.rows,
              (QList<QVariantList>{{day(2024, 12, 15), u"15/12/2024"_s}}));
    EXPECT_TRUE(call(server, u"GetVdDataIni"_s, {u"01"_s, sp, date("2024-12-15"), u"04"_s}).data.rows.isEmpty());
}
