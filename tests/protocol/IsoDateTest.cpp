#include "IsoDate.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(IsoDate, OnlyAWholeCalendarDateIsADate)
{
    struct Case {
        QString text;
        QDate date;
    };
    const Case cases[] = {
        {u"2025-01-31"_s, QDate(2025, 1, 31)},
        {u"2024-02-29"_s, QDate(2024, 2, 29)},
        {u"2025-02-29"_s, QDate()},
        {u"2025-13-01"_s, QDate()},
        {u"2025-1-31"_s, QDate()},
        {u"25-01-31"_s, QDate()},
        {u"2025/01/31"_s, QDate()},
        {u"31/01/2025"_s, QDate()},
        {u"2025-01-31T00:00:00"_s, QDate()},
        {u" 2025-01-31"_s, QDate()},
        {u"2025-0a-31"_s, QDate()},
        {u""_s, QDate()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(protocol::isoDate(c.text), c.date);
    }
}
