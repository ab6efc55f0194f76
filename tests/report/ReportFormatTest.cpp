// How a cell's value reads on the page and in a CSV file.
#include "ReportFormat.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

TEST(ReportFormat, AmountsDatesAndCodesAsAnAnalystReadsThem)
{
    const struct {
        const char* name;
        QVariant value;
        ColumnFormat format;
        QString page, csv;
    } cases[] = {
        {"thousands", 1234567.891, ColumnFormat::Amount, u"1.234.567,89"_s, u"1234567,89"_s},
        {"a negative amount", -10.5, ColumnFormat::Amount, u"-10,50"_s, u"-10,50"_s},
        {"half a cent held just below", 3.385, ColumnFormat::Amount, u"3,39"_s, u"3,39"_s},
        {"float noise around zero", -0.0000001, ColumnFormat::Amount, u"0,00"_s, u"0,00"_s},
        {"null", QVariant(), ColumnFormat::Amount, u""_s, u""_s},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), ColumnFormat::Amount, u"nan"_s, u"nan"_s},
        {"a whole number", 6.6, ColumnFormat::Integer, u"7"_s, u"7"_s},
        {"an ISO text date", u"2025-03-01"_s, ColumnFormat::Date, u"01/03/2025"_s, u"01/03/2025"_s},
        {"a date-time", QDateTime(QDate(2025, 12, 31), QTime(23, 59)), ColumnFormat::Date, u"31/12/2025"_s,
         u"31/12/2025"_s},
        {"a text that is no date", u"2025-02-30"_s, ColumnFormat::Date, u"2025-02-30"_s, u"2025-02-30"_s},
        {"a CFOP", u"5102"_s, ColumnFormat::Cfop, u"5.102"_s, u"5102"_s},
        {"an entry", u"E"_s, ColumnFormat::Direction, u"Entradas"_s, u"E"_s},
        {"an exit", u"S"_s, ColumnFormat::Direction, u"Saídas"_s, u"S"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cellText(c.value, c.format).toStdString(), c.page.toStdString());
        EXPECT_EQ(csvText(c.value, c.format).toStdString(), c.csv.toStdString());
    }
    EXPECT_EQ(amountOf(3.385), 3.39);
    EXPECT_EQ(amountOf(QVariant()), 0.0);
}
