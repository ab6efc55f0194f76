#include "Strings.h"
#include "Exceptions.h"
#include "ModuleList.h"
#include "QtPrinters.h"
#include "TMessages.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Strings, EmptyStringIsTrueOnlyForBlanks)
{
    const struct {
        QString text;
        bool empty;
    } cases[] = {
        {u""_s, true}, {u" "_s, true}, {u"   "_s, true}, {u"\t "_s, true}, {u"0"_s, false}, {u" 1 "_s, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(u"'"_s + c.text + u"'"_s));
        EXPECT_EQ(EmptyString(c.text), c.empty);
    }
}

TEST(Strings, AjustaTrimsAndPadsWithZerosToTheWidth)
{
    const struct {
        QString code;
        int width;
        QString expected;
    } cases[] = {
        {u"1"_s, 2, u"01"_s},
        {u"1 "_s, 2, u"01"_s},
        {u" 7"_s, 2, u"07"_s},
        {u"01"_s, 2, u"01"_s},
        {u"123"_s, 10, u"0000000123"_s},
        {u"0000000123"_s, 10, u"0000000123"_s},
        {u"123"_s, 2, u"123"_s},
        {u""_s, 2, u""_s},
        {u"  "_s, 2, u""_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(u"'"_s + c.code + u"' width "_s + QString::number(c.width)));
        EXPECT_EQ(Ajusta(c.code, c.width), c.expected);
    }
}

TEST(Strings, FormatFillsEachPercentSInOrder)
{
    const QString pattern = u"O arquivo de código '%s' não foi encontrado no diretório '%s'."_s;
    EXPECT_EQ(Format(pattern, {u"RLX582"_s, u"/r"_s}),
              u"O arquivo de código 'RLX582' não foi encontrado no diretório '/r'."_s);
    EXPECT_EQ(Format(u"%s%%s"_s, {u"a"_s, u"b"_s}), u"a%s"_s) << "%% is a percent sign";
    EXPECT_EQ(Format(u"%s and %s"_s, {u"one"_s}), u"one and %s"_s) << "a placeholder without argument stays";
    EXPECT_EQ(Format(u"%s"_s, {u"%s"_s}), u"%s"_s) << "an argument is not expanded again";
}

TEST(Messages, MsgReturnsTheTextOfTheExactKey)
{
    TMessages messages(nullptr, u"msgPadrao"_s);
    messages.setLines({u"Impo_Cad|Imposto não cadastrado."_s, u"impo_cad|other case"_s, u"Pipe|a|b"_s, u"NoText"_s,
                       u"Impo_Cad|second line with the same key"_s});
    EXPECT_EQ(messages.Msg(u"Impo_Cad"_s), u"Imposto não cadastrado."_s);
    EXPECT_EQ(messages.Msg(u"impo_cad"_s), u"other case"_s);
    EXPECT_EQ(messages.Msg(u"Pipe"_s), u"a|b"_s);
    EXPECT_EQ(messages.Msg(u"NoText"_s), QString());
}

TEST(Messages, UnknownKeyIsAnErrorNamingTheKey)
{
    TMessages messages(nullptr, u"msgPadrao"_s);
    messages.setLines({u"Impo_Cad|Imposto não cadastrado."_s});
    try {
        messages.Msg(u"Impo_cad"_s);
        FAIL() << "no error for an unknown key";
    } catch (const EHostConfigError& e) {
        EXPECT_TRUE(e.message().contains(u"Impo_cad"_s)) << qPrintable(e.message());
    }
    messages.setLines({});
    EXPECT_THROW(messages.Msg(u"Impo_Cad"_s), EHostConfigError) << "setLines replaces the table";
}

TEST(ModuleList, KeepsEachModuleOnceUntilItUnregisters)
{
    const QString a = u"/lib/liba.so"_s;
    const QString b = u"/lib/libb.so"_s;
    ModuleList::Register(a);
    ModuleList::Register(b);
    ModuleList::Register(a);
    EXPECT_EQ(ModuleList::Modules(), (QStringList{a, b}));
    ModuleList::Unregister(a);
    ModuleList::Unregister(u"/lib/never.so"_s);
    EXPECT_EQ(ModuleList::Modules(), QStringList{b});
    ModuleList::Unregister(b);
    EXPECT_TRUE(ModuleList::Modules().isEmpty());
}
