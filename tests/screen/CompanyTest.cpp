// The company field against a real local database: the list, the check of a typed code, and what a failure leaves.
#include "LookupFixture.h"

#include "Dispatch.h"

using namespace Qt::StringLiterals;

namespace {

using CompanyTest = LookupTest;

} // namespace

// The lookup is not guarded: its database failure leaves the focus where it was (in the tax field).
TEST_F(CompanyTest, AFailureShowsOneMessageAndLeavesTheFieldAndTheFocusAsTheTableSays)
{
    struct Case {
        const char* situation;
        QString typed; // empty: the check with the mandatory flag; "click": the lookup
        bool databaseFails;
        QString message; // the one message shown, or a part of the driver's
        QString codeAfter;
        bool focusInField;
        bool queryOpen;
    };
    const QList<Case> cases = {
        {"field empty, mandatory", u""_s, false, u"Empresa deve ser informada."_s, u""_s, true, false},
        {"code not in EMPRESA", u"9"_s, false, u"Empresa não cadastrada."_s, u"09"_s, true, true},
        {"database failure during the check", u"2"_s, true, u"EMPRESA"_s, u"02"_s, true, false},
        {"database failure during the lookup", u"click"_s, true, u"EMPRESA"_s, u""_s, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        TfrmConFisc& screen = start();
        screen.medImposto->SetFocus();
        if (c.databaseFails)
            dropTable(u"EMPRESA"_s);
        if (c.typed != u"click"_s)
            screen.medEmpresa->setText(c.typed);

        Dispatch([&] {
            if (c.typed == u"click"_s)
                screen.btnEmpresa->Click();
            else if (c.typed.isEmpty())
                screen.Vd_Empresa(true);
            else
                screen.medEmpresaExit(screen.medEmpresa);
        });

        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors().constFirst().contains(c.message)) << qPrintable(errors().constFirst());
        EXPECT_EQ(dialogs->shown.size(), 1) << "no pick list";
        EXPECT_EQ(focused(), c.focusInField ? screen.medEmpresa : static_cast<QWidget*>(screen.medImposto));
        EXPECT_EQ(screen.medEmpresa->text(), c.codeAfter);
        EXPECT_EQ(screen.edtNmEmpresa->text(), QString());
        EXPECT_EQ(screen.qryEmpresa->Active(), c.queryOpen);
        EXPECT_TRUE(screen.qryEmpresa->IsEmpty());
    }
}

TEST_F(CompanyTest, APickWritesTheCodeThenTheNameAndClearsTheRegistration)
{
    TfrmConFisc& screen = start();
    screen.medEmpresaExit(screen.medEmpresa);
    EXPECT_FALSE(screen.qryEmpresa->Active()) << "leaving an empty field runs no query";
    screen.edtInscricao->setText(u"123456785119"_s);

    dialogs->answerPick(1);
    screen.btnEmpresa->Click();

    EXPECT_EQ(screen.medEmpresa->text(), u"02"_s);
    EXPECT_EQ(screen.edtNmEmpresa->text(), u"Metalúrgica Gaúcha S.A."_s);
    EXPECT_EQ(screen.edtInscricao->text(), QString());
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].title, u"Empresa"_s);
    EXPECT_EQ(codes(screen.qryEmpresa->Query(), u"CDEMPRESA"_s), (QStringList{u"01"_s, u"02"_s, u"03"_s}));
    EXPECT_EQ(screen.qryEmpresa->ParamByName(u"P_TEMPRESA"_s)->Value(), QVariant(u"T"_s));
    EXPECT_TRUE(screen.qryEmpresa->ParamByName(u"P_EMPRESA"_s)->IsNull());
}
