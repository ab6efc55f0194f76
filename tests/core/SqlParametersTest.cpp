#include "SqlParameters.h"
#include "Exceptions.h"
#include "QtPrinters.h"
#include "TParams.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SqlParameters, ParameterTokensBecomePositionalOutsideLiteralsAndComments)
{
    const struct {
        const char* name;
        QString sql;
        QString positional;
        QStringList occurrences;
        QStringList names;
    } cases[] = {
        {"the company query",
         u" WHERE (CDEMPRESA = :P_EMPRESA OR :P_TEMPRESA = 'T')"_s,
         u" WHERE (CDEMPRESA = ? OR ? = 'T')"_s,
         {u"P_EMPRESA"_s, u"P_TEMPRESA"_s},
         {u"P_EMPRESA"_s, u"P_TEMPRESA"_s}},
        {"a name used twice",
         u"A = :P_X OR B = :P_X OR :p_x IS NULL"_s,
         u"A = ? OR B = ? OR ? IS NULL"_s,
         {u"P_X"_s, u"P_X"_s, u"p_x"_s},
         {u"P_X"_s}},
        {"colons in literals",
         u"SELECT ':P_NO', \"a:b\" FROM T WHERE X = :P_YES"_s,
         u"SELECT ':P_NO', \"a:b\" FROM T WHERE X = ?"_s,
         {u"P_YES"_s},
         {u"P_YES"_s}},
        {"a cast",
         u"SELECT X::TEXT FROM T WHERE Y = :P1"_s,
         u"SELECT X::TEXT FROM T WHERE Y = ?"_s,
         {u"P1"_s},
         {u"P1"_s}},
        {"comments",
         u"SELECT 1 -- :P_NO ':\n/* :P_NOR\n */ FROM T WHERE X = :P_YES /* :P_NO"_s,
         u"SELECT 1 -- :P_NO ':\n/* :P_NOR\n */ FROM T WHERE X = ? /* :P_NO"_s,
         {u"P_YES"_s},
         {u"P_YES"_s}},
        {"a lone colon and a digit", u"SELECT ': ' || :9 FROM T"_s, u"SELECT ': ' || :9 FROM T"_s, {}, {}},
        {"a list test",
         u"(',' || :P_CDMODDOCFISC || ',') LIKE ('%,' || CDMODDOCFISC || ',%')"_s,
         u"(',' || ? || ',') LIKE ('%,' || CDMODDOCFISC || ',%')"_s,
         {u"P_CDMODDOCFISC"_s},
         {u"P_CDMODDOCFISC"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SqlParameters parsed = SqlParameters::parse(c.sql);
        EXPECT_EQ(parsed.positionalSql, c.positional);
        EXPECT_EQ(parsed.occurrences, c.occurrences);
        EXPECT_EQ(parsed.names, c.names);
    }
}

TEST(Params, TextValuesAndNull)
{
    TParam param(u"P_EMPRESA"_s);
    EXPECT_TRUE(param.IsNull()) << "a parameter never given a value is null";
    EXPECT_TRUE(param.Value().isNull());

    param.SetAsString(u""_s);
    EXPECT_FALSE(param.IsNull()) << "the empty text is a value, not null";
    EXPECT_EQ(param.Value(), QVariant(u""_s));

    param.SetAsVariant(42);
    EXPECT_EQ(param.Value(), QVariant(u"42"_s)) << "every parameter is a text parameter";

    param.Clear();
    EXPECT_TRUE(param.IsNull());
    EXPECT_TRUE(param.Value().isNull());
    EXPECT_EQ(param.Value().metaType(), QMetaType::fromType<QString>()) << "binds as a null text";

    param.setValue(u"T"_s);
    param.SetAsVariant(QVariant());
    EXPECT_TRUE(param.IsNull()) << "a null variant clears";
}

TEST(Params, NamesAreCaseInsensitiveAndKeepTheirValuesAcrossTextChanges)
{
    TParams params;
    params.SetNames({u"P_A"_s, u"P_B"_s});
    params.ParamByName(u"p_b"_s)->SetAsString(u"b"_s);
    params.SetNames({u"P_B"_s, u"P_C"_s});
    EXPECT_EQ(params.Names(), (QStringList{u"P_B"_s, u"P_C"_s}));
    EXPECT_EQ(params.ParamByName(u"P_B"_s)->AsString(), u"b"_s);
    EXPECT_EQ(params.FindParam(u"P_A"_s), nullptr);
    try {
        params.ParamByName(u"P_A"_s);
        FAIL() << "no error for an unknown parameter";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(u"P_A"_s));
    }
}
