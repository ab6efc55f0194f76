#include "Fixtures.h"
#include "ServerCall.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CatalogueMethods, GetImpoGrupListsEveryTaxOrFindsOneByItsExactCode)
{
    const TestServer server({fixture::tax(u"06"_s, u"ISS"_s, u"M"_s), fixture::tax(u"01"_s, u"ICMS"_s, u"E"_s),
                             fixture::tax(u"04"_s, u"PIS"_s, u"F"_s)});
    struct Case {
        const char* name;
        QString code;
        QString flag;
        QStringList codes;
    };
    const Case cases[] = {
        {"the list, ordered by code", u""_s, u"T"_s, {u"01"_s, u"04"_s, u"06"_s}},
        {"the flag wins over a code", u"06"_s, u"T"_s, {u"01"_s, u"04"_s, u"06"_s}},
        {"one tax", u"06"_s, u""_s, {u"06"_s}},
        {"a code not brought to full width", u"6"_s, u""_s, {}},
        {"an unknown code", u"99"_s, u""_s, {}},
        {"neither code nor flag", u""_s, u""_s, {}},
        {"a lower-case flag is no flag", u"04"_s, u"t"_s, {u"04"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const protocol::RpcResponse answer = call(server, u"GetImpoGrup"_s, {c.code, c.flag});
        ASSERT_FALSE(answer.failed());
        EXPECT_EQ(column(answer.data, u"CDIMPOSTONFE"_s), c.codes);
    }

    const protocol::DataPacket iss = call(server, u"GetImpoGrup"_s, {u"06"_s, u""_s}).data;
    EXPECT_EQ(iss.rows, (QList<QVariantList>{{u"06"_s, u"ISS"_s, u"M"_s}}));
}

TEST(CatalogueMethods, GetLivroMagCarriesEachBooksTaxAndItsIndicator)
{
    const TestServer server({fixture::tax(u"01"_s, u"ICMS"_s, u"E"_s), fixture::tax(u"06"_s, u"ISS"_s, u"M"_s),
                             fixture::book(u"0000000006"_s, u"Livro do ISS"_s, u"06"_s),
                             fixture::book(u"0000000001"_s, u"Registro de Entradas"_s, u"01"_s),
                             fixture::book(u"0000000002"_s, u"Registro de Saídas"_s, u"01"_s)});

    const protocol::DataPacket all = call(server, u"GetLivroMag"_s, {u""_s}).data;
    EXPECT_EQ(all.rows, (QList<QVariantList>{{u"0000000001"_s, u"Registro de Entradas"_s, u"01"_s, u"E"_s},
                                             {u"0000000002"_s, u"Registro de Saídas"_s, u"01"_s, u"E"_s},
                                             {u"0000000006"_s, u"Livro do ISS"_s, u"06"_s, u"M"_s}}));

    struct Case {
        const char* name;
        QString code;
        QStringList codes;
    };
    const Case cases[] = {
        {"one book", u"0000000006"_s, {u"0000000006"_s}},
        {"a code not brought to full width", u"6"_s, {}},
        {"an unknown code", u"0000000099"_s, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(column(call(server, u"GetLivroMag"_s, {c.code}).data, u"CDLIVROMAG"_s), c.codes);
    }
}
