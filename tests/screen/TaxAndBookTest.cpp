// The tax line and the magnetic-book line against the real server: the list, the check of a typed code, the
// registration kind they decide, and what a failure leaves behind.
#include "LookupFixture.h"

#include "Dispatch.h"
#include "Exceptions.h"
#include "TApplication.h"
#include "TClientDataSet.h"
#include "TNotebook.h"

using namespace Qt::StringLiterals;

namespace {

using TaxAndBookTest = LookupTest;
using Kind = TfrmConFisc::TRegistrationKind;

// The tax line or the book line of the screen.
struct Line {
    const char* name;
    int page;
    TMaskEdit* TfrmConFisc::*field;
    TEdit* TfrmConFisc::*nameBox;
    TBtnPesquisa* TfrmConFisc::*button;
    TClientDataSet* TfrmConFisc::*dataSet;
    QString codeField;
    void (TfrmConFisc::*validate)(bool);
    void (TfrmConFisc::*exit)(QObject*);
};

const Line Tax{"tax",
               0,
               &TfrmConFisc::medImposto,
               &TfrmConFisc::edtNmImposto,
               &TfrmConFisc::btnImposto,
               &TfrmConFisc::cdsImpo,
               u"CDIMPOSTONFE"_s,
               &TfrmConFisc::Vd_Imposto,
               &TfrmConFisc::medImpostoExit};
const Line Book{"book",
                1,
                &TfrmConFisc::medLivro,
                &TfrmConFisc::edtNmLivro,
                &TfrmConFisc::btnLivro,
                &TfrmConFisc::cdsLivro,
                u"CDLIVROMAG"_s,
                &TfrmConFisc::Vd_LivroMag,
                &TfrmConFisc::medLivroExit};

void Leave(TfrmConFisc& screen, const Line& line, const QString& typed)
{
    (screen.*line.field)->setText(typed);
    (screen.*line.exit)(screen.*line.field);
}

} // namespace

// Before each case the line holds its ISS entry (municipal kind) and the report choice has disabled the
// registration: a registration switch, had one run, would change that.
TEST_F(TaxAndBookTest, AFailureShowsOneMessageAndLeavesTheCodeTheDatasetAndTheKindAsTheyWere)
{
    enum Failure { None, ServerFails, ServerDown };
    struct Case {
        const Line& line;
        const char* situation;
        QString typed; // empty: the check with the mandatory flag; "click": the lookup
        Failure failure;
        QString message; // the one message shown, or a part of the host's
        QString codeAfter;
        QStringList rowsAfter;
        QStringList calls;
    };
    const QString iss = u"06"_s, issBook = u"0000000006"_s;
    const QList<Case> cases = {
        {Tax, "field empty, mandatory", u""_s, None, u"Imposto deve ser informado."_s, u""_s, {iss}, {}},
        {Tax,
         "code unknown to the server",
         u"9"_s,
         None,
         u"Imposto não cadastrado."_s,
         u"09"_s,
         {},
         {uR"(GetImpoGrup ["09",""])"_s}},
        {Tax,
         "server failing during the check",
         u"1"_s,
         ServerFails,
         u"banco de dados fiscal"_s,
         u"01"_s,
         {iss},
         {uR"(GetImpoGrup ["01",""])"_s}},
        {Tax, "server down during the check", u"1"_s, ServerDown, u"GetImpoGrup"_s, u"01"_s, {iss}, {}},
        {Tax,
         "server failing during the lookup",
         u"click"_s,
         ServerFails,
         u"banco de dados fiscal"_s,
         iss,
         {iss},
         {uR"(GetImpoGrup ["","T"])"_s}},
        {Tax, "server down during the lookup", u"click"_s, ServerDown, u"GetImpoGrup"_s, iss, {iss}, {}},
        {Book, "field empty, mandatory", u""_s, None, u"Livro Magnético deve ser informado."_s, u""_s, {issBook}, {}},
        {Book,
         "code unknown to the server",
         u"99"_s,
         None,
         u"Livro Magnético não cadastrado."_s,
         u"0000000099"_s,
         {},
         {uR"(GetLivroMag ["0000000099"])"_s}},
        {Book,
         "server failing during the check",
         u"1"_s,
         ServerFails,
         u"banco de dados fiscal"_s,
         u"0000000001"_s,
         {issBook},
         {uR"(GetLivroMag ["0000000001"])"_s}},
        {Book, "server down during the check", u"1"_s, ServerDown, u"GetLivroMag"_s, u"0000000001"_s, {issBook}, {}},
        {Book,
         "server failing during the lookup",
         u"click"_s,
         ServerFails,
         u"banco de dados fiscal"_s,
         issBook,
         {issBook},
         {uR"(GetLivroMag [""])"_s}},
        {Book, "server down during the lookup", u"click"_s, ServerDown, u"GetLivroMag"_s, issBook, {issBook}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line.name) + ": " + c.situation);
        TfrmConFisc& screen = start();
        const Line& line = c.line;
        TMaskEdit* field = screen.*line.field;
        screen.nbkImposto->setPageIndex(line.page);
        Leave(screen, line, u"6"_s);
        screen.edtInscricao->setEnabled(false);
        screen.medEmpresa->SetFocus();
        if (c.typed != u"click"_s)
            field->setText(c.typed);
        relay->clearCalls();
        if (c.failure == ServerFails)
            dropTable(&line == &Tax ? u"IMPOSTONFE"_s : u"LIVROMAG"_s);
        else if (c.failure == ServerDown)
            stopServer();

        Dispatch([&] {
            if (c.typed == u"click"_s)
                (screen.*line.button)->Click();
            else if (c.typed.isEmpty())
                (screen.*line.validate)(true);
            else
                (screen.*line.exit)(field);
        });

        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors().constFirst().contains(c.message)) << qPrintable(errors().constFirst());
        EXPECT_EQ(dialogs->shown.size(), 1) << "no pick list";
        EXPECT_EQ(focused(), field);
        EXPECT_EQ(field->text(), c.codeAfter);
        EXPECT_EQ((screen.*line.nameBox)->text().isEmpty(), c.typed != u"click"_s) << "a name goes with its code";
        EXPECT_EQ(codes(screen.*line.dataSet, line.codeField), c.rowsAfter);
        EXPECT_EQ(screen.RegistrationKind(), Kind::Municipal) << "no switch";
        EXPECT_FALSE(screen.edtInscricao->isEnabled()) << "no switch";
        EXPECT_EQ(TApplication::instance().ScreenCursor(), 0);
        EXPECT_EQ(relay->calls(), c.calls);
    }
}

// ICMS (state), ISS (municipal); IPI "F", and the taxes with "e" and with an empty indicator, take none. Books carry
// the indicator of their tax. Each case follows ISS, so a switch to none shows that it keeps the title.
TEST_F(TaxAndBookTest, TheIndicatorOfTheTaxOrBookDecidesTheRegistrationKind)
{
    const QString stateTitle = u"Inscrição Estadual"_s, municipalTitle = u"Inscrição Municipal"_s;
    const QString stateEmpty = u"Não há inscrição estadual cadastrada."_s;
    const QString municipalEmpty = u"Não há inscrição municipal cadastrada."_s;
    struct Case {
        const Line& line;
        QString typed;
        const char* indicator;
        Kind kind;
    };
    const QList<Case> cases = {
        {Tax, u"1"_s, "E", Kind::State},      {Tax, u"6"_s, "M", Kind::Municipal}, {Tax, u"7"_s, "e", Kind::None},
        {Tax, u"8"_s, "", Kind::None},        {Tax, u"3"_s, "F", Kind::None},      {Book, u"1"_s, "E", Kind::State},
        {Book, u"6"_s, "M", Kind::Municipal}, {Book, u"11"_s, "e", Kind::None},    {Book, u"12"_s, "", Kind::None},
        {Book, u"8"_s, "F", Kind::None},
    };
    TfrmConFisc& screen = start();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line.name) + " with indicator \"" + c.indicator + '"');
        Leave(screen, Tax, u"6"_s);
        Leave(screen, c.line, c.typed);
        EXPECT_FALSE((screen.*c.line.nameBox)->text().isEmpty());
        EXPECT_EQ(screen.RegistrationKind(), c.kind);
        const bool offered = c.kind != Kind::None;
        EXPECT_EQ(screen.edtInscricao->isEnabled(), offered);
        EXPECT_EQ(screen.btnInscricao->isEnabled(), offered);
        EXPECT_EQ(screen.btnInscricao->Title, c.kind == Kind::State ? stateTitle : municipalTitle);
        EXPECT_EQ(screen.btnInscricao->EmptyError, c.kind == Kind::State ? stateEmpty : municipalEmpty);
    }
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(TaxAndBookTest, LeavingAnEmptyFieldSwitchesOnWhatTheDatasetStillHolds)
{
    for (const Line& line : {Tax, Book}) {
        SCOPED_TRACE(line.name);
        TfrmConFisc& screen = start();
        Leave(screen, line, QString());
        EXPECT_FALSE(screen.edtInscricao->isEnabled()) << "a fresh screen holds nothing: no registration";
        EXPECT_FALSE(screen.btnInscricao->isEnabled());
        EXPECT_EQ(screen.btnInscricao->DataSource(), nullptr);
        EXPECT_EQ(screen.btnInscricao->Title, u"Inscrição Estadual"_s) << "the layout's title stays";

        Leave(screen, line, u"6"_s);
        screen.edtInscricao->setEnabled(false);
        Leave(screen, line, QString());
        EXPECT_TRUE(screen.edtInscricao->isEnabled()) << "ISS is still the dataset's row";
        EXPECT_EQ(screen.RegistrationKind(), Kind::Municipal);
        EXPECT_EQ(relay->calls().size(), 1) << "an empty field asks nothing";
        EXPECT_TRUE(dialogs->shown.isEmpty());
    }
}

// The first tax and the first book listed are state ones: opening the list after IPI (no registration) switches
// at once; the pick writes the code, then the name, and switches nothing. A new tax clears the registration, a new
// book keeps it.
TEST_F(TaxAndBookTest, TheListSwitchesOnItsFirstRowAndAPickWritesTheCodeThenTheName)
{
    struct Case {
        const Line& line;
        QString ipi;
        int pick;
        QString code, name, registration, title, columns, listCall;
    };
    const QString registration = u"123456785119"_s;
    const QList<Case> cases = {
        {Tax, u"3"_s, 2, u"06"_s, u"ISS"_s, u""_s, u"Imposto"_s, u"Codigo|Sigla"_s, uR"(GetImpoGrup ["","T"])"_s},
        {Book, u"8"_s, 2, u"0000000008"_s, u"RAIPI"_s, registration, u"Livro Magnético"_s, u"Código|Descrição"_s,
         uR"(GetLivroMag [""])"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.name);
        TfrmConFisc& screen = start();
        Leave(screen, c.line, c.ipi);
        ASSERT_EQ(screen.RegistrationKind(), Kind::None);
        screen.edtInscricao->setText(registration);
        relay->clearCalls();

        dialogs->answerPick(c.pick);
        Dispatch([&] { (screen.*c.line.button)->Click(); });

        EXPECT_EQ(screen.RegistrationKind(), Kind::State);
        EXPECT_TRUE(screen.edtInscricao->isEnabled());
        EXPECT_EQ((screen.*c.line.field)->text(), c.code);
        EXPECT_EQ((screen.*c.line.nameBox)->text(), c.name);
        EXPECT_EQ(screen.edtInscricao->text(), c.registration);
        ASSERT_EQ(dialogs->shown.size(), 1);
        EXPECT_EQ(dialogs->shown[0].title, c.title);
        EXPECT_EQ(dialogs->shown[0].text, c.columns);
        EXPECT_EQ(relay->calls(), QStringList{c.listCall});
    }
    EXPECT_EQ(frmConFisc->cdsLivroCDIMPOSTOLIVRO->AsString(), u"03"_s) << "the periods see the picked book's tax";
}

// A disabled tax or company field is not checked, whatever the mandatory flag, and switches nothing; the book
// field is checked all the same.
TEST_F(TaxAndBookTest, ADisabledFieldIsNotCheckedExceptTheBook)
{
    TfrmConFisc& screen = start();
    Leave(screen, Tax, u"6"_s);
    for (TMaskEdit* field : {screen.medImposto, screen.medEmpresa, screen.medLivro}) {
        field->setText(QString());
        field->setEnabled(false);
    }
    screen.Vd_Imposto(true);
    screen.Vd_Empresa(true);
    EXPECT_EQ(screen.RegistrationKind(), Kind::Municipal);
    EXPECT_TRUE(dialogs->shown.isEmpty());

    EXPECT_THROW(screen.Vd_LivroMag(true), EAbort);
    EXPECT_EQ(errors(), QStringList{u"Livro Magnético deve ser informado."_s});
}
