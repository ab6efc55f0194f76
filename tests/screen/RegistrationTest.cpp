// The registration field against a real local database: the company's state or municipal registrations, as the
// tax or book decided, and what a failure leaves.
#include "LookupFixture.h"

#include "Dispatch.h"
#include "Exceptions.h"

using namespace Qt::StringLiterals;

namespace {

using RegistrationTest = LookupTest;
using Kind = TfrmConFisc::TRegistrationKind;

// ICMS makes the registration a state one, ISS a municipal one, IPI none.
void ChooseTax(TfrmConFisc& screen, const QString& tax)
{
    screen.medImposto->setText(tax);
    screen.Vd_Imposto(false);
}

} // namespace

// The lookup is not guarded: its database failure leaves the focus where it was (in the company field).
TEST_F(RegistrationTest, AFailureShowsOneMessageAndLeavesTheTypedTextAsTheTableSays)
{
    struct Case {
        const char* situation;
        QString tax, company;
        QString typed; // empty: the check with the mandatory flag; "click": the lookup
        bool databaseFails;
        QString message; // the one message shown, or a part of the driver's
        bool focusInField;
        bool queryOpen;
    };
    const QList<Case> cases = {
        {"field empty, mandatory, state", u"01"_s, u"01"_s, u""_s, false, u"Inscrição Estadual deve ser informada."_s,
         true, false},
        {"field empty, mandatory, municipal", u"06"_s, u"03"_s, u""_s, false,
         u"Inscrição Municipal deve ser informada."_s, true, false},
        {"code of another company, state", u"01"_s, u"01"_s, u"0961234563"_s, false,
         u"Inscrição Estadual não cadastrada."_s, true, true},
        {"code of another company, municipal", u"06"_s, u"01"_s, u"00458721"_s, false,
         u"Inscrição Municipal não cadastrada."_s, true, true},
        {"database failure during the check", u"01"_s, u"01"_s, u"123456785119"_s, true, u"INSCRESTAD"_s, true, false},
        {"database failure during the lookup", u"01"_s, u"01"_s, u"click"_s, true, u"INSCRESTAD"_s, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        TfrmConFisc& screen = start();
        ChooseTax(screen, c.tax);
        screen.medEmpresa->setText(c.company);
        screen.medEmpresa->SetFocus();
        if (c.databaseFails)
            dropTable(u"INSCRESTAD"_s);
        const QString typed = c.typed == u"click"_s ? QString() : c.typed;
        screen.edtInscricao->setText(typed);

        Dispatch([&] {
            if (c.typed == u"click"_s)
                screen.btnInscricao->Click();
            else if (c.typed.isEmpty())
                screen.Vd_Inscricao(true);
            else
                screen.edtInscricaoExit(screen.edtInscricao);
        });

        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors().constFirst().contains(c.message)) << qPrintable(errors().constFirst());
        EXPECT_EQ(dialogs->shown.size(), 1) << "no pick list";
        EXPECT_EQ(focused(), c.focusInField ? screen.edtInscricao : static_cast<QWidget*>(screen.medEmpresa));
        EXPECT_EQ(screen.edtInscricao->text(), typed);
        TADOIBQuery* query = c.tax == u"01"_s ? screen.qryInscEsta : screen.qryInscMuni;
        EXPECT_EQ(query->Active(), c.queryOpen);
        EXPECT_TRUE(query->IsEmpty());
    }
}

// Company 01 holds "555666770102" followed by two blanks.
TEST_F(RegistrationTest, TheCodeIsLookedUpExactlyAsTyped)
{
    TfrmConFisc& screen = start();
    ChooseTax(screen, u"01"_s);
    screen.medEmpresa->setText(u"01"_s);

    screen.edtInscricao->setText(u"555666770102  "_s);
    screen.edtInscricaoExit(screen.edtInscricao);
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(screen.qryInscEsta->ParamByName(u"P_CDINSCESTA"_s)->Value(), QVariant(u"555666770102  "_s));
    EXPECT_TRUE(screen.qryInscEsta->ParamByName(u"P_TCDINSCESTA"_s)->IsNull());
    EXPECT_EQ(screen.edtInscricao->text(), u"555666770102  "_s) << "nothing written back";

    screen.edtInscricao->setText(u"555666770102"_s);
    EXPECT_THROW(screen.edtInscricaoExit(screen.edtInscricao), EAbort);
    EXPECT_EQ(errors(), QStringList{u"Inscrição Estadual não cadastrada."_s});
}

// Without a company no registration matches: the button's empty-list text is the layout's until the first switch.
TEST_F(RegistrationTest, TheListHoldsTheRegistrationsOfTheKindOfTheCompanyInTheField)
{
    struct Case {
        const char* situation;
        QString tax, company;
        QStringList listed;
        QString emptyError;
    };
    const QList<Case> cases = {
        {"state, before any switch", u""_s, u"01"_s, {u"123456785119"_s, u"555666770102  "_s}, {}},
        {"no company, before any switch", u""_s, u""_s, {}, u"Não há inscrição cadastrada."_s},
        {"municipal", u"06"_s, u"03"_s, {u"00458721"_s}, {}},
        {"no company, state", u"01"_s, u""_s, {}, u"Não há inscrição estadual cadastrada."_s},
        {"no company, municipal", u"06"_s, u""_s, {}, u"Não há inscrição municipal cadastrada."_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        TfrmConFisc& screen = start();
        if (!c.tax.isEmpty())
            ChooseTax(screen, c.tax);
        screen.medEmpresa->setText(c.company);
        const bool municipal = c.tax == u"06"_s;
        TADOIBQuery* other = municipal ? screen.qryInscEsta : screen.qryInscMuni;

        if (!c.listed.isEmpty())
            dialogs->answerPick(c.listed.size() - 1);
        screen.btnInscricao->Click();

        EXPECT_EQ(codes((municipal ? screen.qryInscMuni : screen.qryInscEsta)->Query(),
                        municipal ? u"CDINSCMUNI"_s : u"CDINSCESTA"_s),
                  c.listed);
        EXPECT_EQ(screen.edtInscricao->text(), c.listed.isEmpty() ? QString() : c.listed.constLast());
        EXPECT_EQ(errors(), c.emptyError.isEmpty() ? QStringList() : QStringList{c.emptyError});
        EXPECT_FALSE(other->Active()) << "the other kind's query is not touched";
    }
}

// With kind none (IPI) the report choice may still enable the field: nothing is looked up and anything passes.
TEST_F(RegistrationTest, WithoutAKindOrWithTheFieldDisabledNothingIsChecked)
{
    TfrmConFisc& screen = start();
    ChooseTax(screen, u"03"_s);
    screen.edtInscricao->setEnabled(true);
    screen.btnInscricao->setEnabled(true);
    screen.medEmpresa->setText(u"01"_s);
    screen.btnInscricao->Click();
    for (const QString& typed : {QString(), u"qualquer texto"_s}) {
        screen.edtInscricao->setText(typed);
        EXPECT_NO_THROW(screen.Vd_Inscricao(true)) << qPrintable(typed);
    }

    ChooseTax(screen, u"01"_s);
    screen.edtInscricao->setText(u"0961234563"_s);
    screen.edtInscricao->setEnabled(false);
    EXPECT_NO_THROW(screen.Vd_Inscricao(true)) << "a disabled field is not checked";

    EXPECT_FALSE(screen.qryInscEsta->Active());
    EXPECT_FALSE(screen.qryInscMuni->Active());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}
