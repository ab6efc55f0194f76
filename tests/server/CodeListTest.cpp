#include "CodeList.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CodeList, ListsAreAppliedTrimmedWithoutBlanksOrDuplicatesInCodeOrder)
{
    struct Case {
        const char* name;
        QString list;
        QStringList codes;
    };
    const Case cases[] = {
        {"empty", u""_s, {}},
        {"only blanks and commas", u" , ,, "_s, {}},
        {"one code", u"55"_s, {u"55"_s}},
        {"already normal", u"55,65"_s, {u"55"_s, u"65"_s}},
        {"out of order with blanks", u"65, 55"_s, {u"55"_s, u"65"_s}},
        {"duplicates and empty entries", u"65,55,,55,65,"_s, {u"55"_s, u"65"_s}},
        {"operation-type keys", u"SVD,EDV, SBN,EDV"_s, {u"EDV"_s, u"SBN"_s, u"SVD"_s}},
        {"blanks inside a code stay", u"1 B,01"_s, {u"01"_s, u"1 B"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fiscal::normalizedCodeList(c.list), c.codes);
    }
}
