#include "SqlScript.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SqlScript, SplitsAtSemicolonsThatEndStatements)
{
    struct Case {
        const char* name;
        QString script;
        QStringList statements;
    };
    const Case cases[] = {
        {"two statements",
         u"CREATE TABLE A (X);\nINSERT INTO A VALUES (1);"_s,
         {u"CREATE TABLE A (X)"_s, u"INSERT INTO A VALUES (1)"_s}},
        {"last without semicolon", u"SELECT 1;\nSELECT 2"_s, {u"SELECT 1"_s, u"SELECT 2"_s}},
        {"semicolon inside a text", u"INSERT INTO A VALUES ('a;b');"_s, {u"INSERT INTO A VALUES ('a;b')"_s}},
        {"doubled quote inside a text",
         u"INSERT INTO A VALUES ('d''água;');SELECT 1;"_s,
         {u"INSERT INTO A VALUES ('d''água;')"_s, u"SELECT 1"_s}},
        {"quoted identifier", u"SELECT \"a;b\" FROM A;"_s, {u"SELECT \"a;b\" FROM A"_s}},
        {"line comment with semicolon", u"-- a; b\nSELECT 1; -- fim;\n"_s, {u"SELECT 1"_s}},
        {"block comment", u"SELECT /* ; */ 1;"_s, {u"SELECT  1"_s}},
        {"dashes inside a text", u"SELECT '--;';"_s, {u"SELECT '--;'"_s}},
        {"blank statements", u";\n  ;\nSELECT 1;;"_s, {u"SELECT 1"_s}},
        {"trigger body",
         u"CREATE TRIGGER T AFTER INSERT ON A BEGIN INSERT INTO B VALUES (1); DELETE FROM C; END;\nSELECT 1;"_s,
         {u"CREATE TRIGGER T AFTER INSERT ON A BEGIN INSERT INTO B VALUES (1); DELETE FROM C; END"_s, u"SELECT 1"_s}},
        {"nothing", u"  \n-- só comentário\n"_s, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fiscal::splitSqlStatements(c.script), c.statements);
    }
}
