// The whole-screen check before output, against the real server and local database: the fixed order of the
// checks, the one message and the focus of the first failure, and the server calls that show which checks ran.
#include "LookupFixture.h"

#include "Dispatch.h"
#include "Exceptions.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TRadioButton.h"

#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using OutputValidationTest = LookupTest;
using Breaker = std::function<void(TfrmConFisc&)>;

const QString TaxLineReport = u"Nota Fiscal Pendente"_s;
const QString BookLineReport = u"Operações por CST - SPED Contribuições"_s;
const QString PreValidation = u"Pré-validação PIS/COFINS"_s;

void Choose(TfrmConFisc& screen, const QString& title)
{
    TComboBox* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
    reports->setItemIndex(reports->findText(title));
    screen.cbbReportNamesChange(reports);
}

void Period(TfrmConFisc& screen, const QString& start, const QString& end)
{
    screen.depInicial->setText(start);
    screen.depFinal->setText(end);
}

// A screen that passes: on the tax line ICMS, a company and its state registration, February 2025; on the book
// line the ICMS entry register instead of the tax, with a map for both dates.
void FillValid(TfrmConFisc& screen, const QString& report)
{
    Choose(screen, report);
    screen.medImposto->setText(u"01"_s);
    screen.medLivro->setText(u"0000000001"_s);
    screen.medEmpresa->setText(u"01"_s);
    screen.edtInscricao->setText(u"123456785119"_s);
    Period(screen, u"01/02/2025"_s, u"28/02/2025"_s);
}

bool HasFocus(const QWidget* widget)
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

} // namespace

// Each row breaks one check and, where they can be broken together, every later one: the message shown is the
// first check's, and the server calls show that no later check ran.
TEST_F(OutputValidationTest, TheFirstFailingCheckShowsItsMessageAndTakesTheFocus)
{
    const Breaker noTax = [](TfrmConFisc& s) { s.medImposto->clear(); };
    const Breaker noCompany = [](TfrmConFisc& s) { s.medEmpresa->clear(); };
    const Breaker unknownRegistration = [](TfrmConFisc& s) { s.edtInscricao->setText(u"999"_s); };
    const Breaker emptyModelList = [](TfrmConFisc& s) { s.rdbListaMod->setChecked(true); };
    const Breaker emptyTypeList = [](TfrmConFisc& s) { s.rdbListaTp->setChecked(true); };
    const Breaker inverted = [](TfrmConFisc& s) { s.depInicial->setText(u"01/03/2025"_s); };
    const QString taxCall = uR"(GetImpoGrup ["01",""])"_s;
    const QString bookCall = uR"(GetLivroMag ["0000000001"])"_s;
    const QString mapCalls = uR"(GetVdDataIni ["01","123456785119","2025-02-01","01"])"_s;

    struct Case {
        const char* name;
        QString report;
        QList<Breaker> breakers;
        QString message;   // empty: the screen passes
        const char* focus; // the control that takes the focus, by name
        QStringList calls;
    };
    const QList<Case> cases = {
        {"tax empty",
         TaxLineReport,
         {noTax, noCompany, unknownRegistration, emptyModelList, emptyTypeList, inverted},
         u"Imposto deve ser informado."_s,
         "medImposto",
         {}},
        {"company empty",
         TaxLineReport,
         {noCompany, unknownRegistration, emptyModelList, emptyTypeList, inverted},
         u"Empresa deve ser informada."_s,
         "medEmpresa",
         {taxCall}},
        {"registration unknown",
         TaxLineReport,
         {unknownRegistration, emptyModelList, emptyTypeList, inverted},
         u"Inscrição Estadual não cadastrada."_s,
         "edtInscricao",
         {taxCall}},
        {"models on Lista, none chosen",
         TaxLineReport,
         {emptyModelList, emptyTypeList, inverted},
         u"Modelo de documento deve ser informado."_s,
         "rdbListaMod",
         {taxCall}},
        {"types on Lista, none chosen",
         TaxLineReport,
         {emptyTypeList, inverted},
         u"Tipo de Operação deve ser informado."_s,
         "rdbListaTp",
         {taxCall}},
        {"start after end",
         TaxLineReport,
         {inverted},
         u"Data inicial deve ser menor ou igual à data final."_s,
         "depInicial",
         {taxCall}},
        {"end not a date",
         TaxLineReport,
         {[](TfrmConFisc& s) { s.depFinal->setText(u"31/02/2025"_s); }},
         u"'31/02/2025' não é uma data válida."_s,
         "depFinal",
         {taxCall}},
        {"end empty: no order check",
         TaxLineReport,
         {[](TfrmConFisc& s) { Period(s, u"01/03/2025"_s, {}); }},
         u"Data final deve ser informada."_s,
         "depFinal",
         {taxCall}},
        {"both dates empty: the start only",
         TaxLineReport,
         {[](TfrmConFisc& s) { Period(s, {}, {}); }},
         u"Data inicial deve ser informada."_s,
         "depInicial",
         {taxCall}},
        {"the same day twice passes",
         TaxLineReport,
         {[](TfrmConFisc& s) { Period(s, u"28/02/2025"_s, u"28/02/2025"_s); }},
         {},
         nullptr,
         {taxCall}},
        {"a tax without registration skips it",
         TaxLineReport,
         {[](TfrmConFisc& s) {
             s.medImposto->setText(u"03"_s);
             s.edtInscricao->setText(u"999"_s);
         }},
         {},
         nullptr,
         {uR"(GetImpoGrup ["03",""])"_s}},
        {"book line, valid",
         BookLineReport,
         {},
         {},
         nullptr,
         {bookCall, mapCalls, uR"(GetVdDataFinal ["01","123456785119","2025-02-28","01"])"_s}},
        {"book empty",
         BookLineReport,
         {[](TfrmConFisc& s) { s.medLivro->clear(); }, noCompany, emptyModelList, inverted},
         u"Livro Magnético deve ser informado."_s,
         "medLivro",
         {}},
        {"no map ending on the end date: focus on the start",
         BookLineReport,
         {[](TfrmConFisc& s) { s.depFinal->setText(u"15/02/2025"_s); }},
         u"Não existe mapa de apuração para data e livro magnético informados."_s,
         "depInicial",
         {bookCall, mapCalls, uR"(GetVdDataFinal ["01","123456785119","2025-02-15","01"])"_s}},
        {"a missing map comes before inverted dates",
         BookLineReport,
         {[](TfrmConFisc& s) { Period(s, u"15/03/2025"_s, u"28/02/2025"_s); }},
         u"Não existe mapa de apuração para data e livro magnético informados."_s,
         "depInicial",
         {bookCall, uR"(GetVdDataIni ["01","123456785119","2025-03-15","01"])"_s,
          uR"(GetVdDataFinal ["01","123456785119","2025-02-28","01"])"_s}},
        {"an empty start: both map calls, then the empty date",
         BookLineReport,
         {[](TfrmConFisc& s) { s.depInicial->clear(); }},
         u"Data inicial deve ser informada."_s,
         "depInicial",
         {bookCall, uR"(GetVdDataIni ["01","123456785119",null,"01"])"_s,
          uR"(GetVdDataFinal ["01","123456785119","2025-02-28","01"])"_s}},
        {"the pre-validation takes no map",
         PreValidation,
         {[](TfrmConFisc& s) { Period(s, u"15/01/2025"_s, u"15/02/2025"_s); }},
         {},
         nullptr,
         {bookCall}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TfrmConFisc& screen = start();
        FillValid(screen, c.report);
        for (const Breaker& breaker : c.breakers)
            breaker(screen);
        screen.cbbEntrSaid->setFocus();
        relay->clearCalls();

        const bool passed = Dispatch([&] { screen.Vd_ValidaCampos(true); });

        EXPECT_EQ(passed, c.message.isEmpty());
        EXPECT_EQ(errors(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        if (c.focus) {
            EXPECT_TRUE(HasFocus(child<QWidget>(QString::fromLatin1(c.focus))))
                << qPrintable(focused() ? focused()->objectName() : u"nothing"_s);
        }
        EXPECT_EQ(relay->calls(), c.calls);
    }
}

// None of the four buttons gets past an invalid screen; each shows the one message of its first failure.
TEST_F(OutputValidationTest, NoOutputButtonGetsPastAnInvalidScreen)
{
    TfrmConFisc& screen = start();
    FillValid(screen, TaxLineReport);
    screen.medEmpresa->clear();
    for (const char* name : {"sbtPrint", "sbtPreview", "sbtSalvarComo", "sbtReportEdit"}) {
        SCOPED_TRACE(name);
        dialogs->shown.clear();
        screen.cbbEntrSaid->setFocus();
        QTest::mouseClick(child<QToolButton>(QString::fromLatin1(name)), Qt::LeftButton);
        ASSERT_EQ(dialogs->shown.size(), 1) << "no report, no file, no printer";
        EXPECT_EQ(errors(), QStringList{u"Empresa deve ser informada."_s});
        EXPECT_TRUE(HasFocus(screen.medEmpresa));
    }
}

// From the keyboard: F2 in each date edit picks a period, then Imprimir on a screen without a company.
TEST_F(OutputValidationTest, PeriodsPickedFromTheKeyboardThenPrintOnAnInvalidScreen)
{
    TfrmConFisc& screen = start();
    screen.medImposto->SetFocus();
    QTest::keyClicks(screen.medImposto, u"1"_s);
    QTest::keyClick(screen.medImposto, Qt::Key_Tab);
    QCoreApplication::processEvents();
    screen.medEmpresa->setText(u"01"_s); // the periods are the company's
    screen.edtInscricao->setText(u"123456785119"_s);
    screen.depInicial->SetFocus();
    QCoreApplication::processEvents();

    dialogs->answerPick(1);
    QTest::keyClick(screen.depInicial->lineEdit(), Qt::Key_F2);
    QTest::keyClick(screen.depInicial->lineEdit(), Qt::Key_Tab);
    QCoreApplication::processEvents();
    dialogs->answerPick(0);
    QTest::keyClick(screen.depFinal->lineEdit(), Qt::Key_F2);
    EXPECT_EQ(screen.depInicial->text(), u"01/02/2025"_s);
    EXPECT_EQ(screen.depFinal->text(), u"28/02/2025"_s) << "the first period ending after the start";
    EXPECT_TRUE(errors().isEmpty());

    screen.medEmpresa->clear();
    QTest::mouseClick(child<QToolButton>(u"sbtPrint"_s), Qt::LeftButton);
    EXPECT_EQ(errors(), QStringList{u"Empresa deve ser informada."_s});
    EXPECT_TRUE(HasFocus(screen.medEmpresa));
}
