// Which line and which fields each report takes, and what a change of line empties.
#include "ScreenFixture.h"

#include "TBtnPesquisa.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TGroupBox.h"
#include "TLabel.h"
#include "TMaskEdit.h"
#include "TNotebook.h"
#include "TRadioButton.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class CatalogueTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        screen = &openScreen();
        reports = child<TComboBox>(u"cbbReportNames"_s);
    }

    // Shows the title in the report combo (adding it when the list lacks it) and runs the catalogue as the
    // screen's activation does.
    void choose(const QString& title)
    {
        int index = reports->findText(title, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0 && !title.isEmpty()) {
            reports->addItem(title);
            index = reports->count() - 1;
        }
        reports->setItemIndex(index);
        screen->cbbReportNamesChange(reports);
    }

    void fillLineAndRegistration()
    {
        screen->medImposto->setText(u"01"_s);
        screen->edtNmImposto->setText(u"ICMS"_s);
        screen->medLivro->setText(u"0000000001"_s);
        screen->edtNmLivro->setText(u"Livro de Apuração do ICMS"_s);
        screen->edtInscricao->setText(u"110042490114"_s);
    }

    TfrmConFisc* screen = nullptr;
    TComboBox* reports = nullptr;
};

struct Groups {
    QList<QWidget*> line, registration, periodLookups, entryExit, cfop, cst, listChoices;
};

Groups GroupsOf(TfrmConFisc& s)
{
    return {{s.nbkImposto, s.lblImposto, s.medImposto, s.btnImposto, s.lblLivro, s.medLivro, s.btnLivro},
            {s.lblInscEst, s.edtInscricao, s.btnInscricao},
            {s.btnDataInicial, s.btnDataFinal},
            {s.lblEntrSaid, s.cbbEntrSaid},
            {s.lblCfop, s.medCfop},
            {s.lblCst, s.medCst},
            {s.rdbTodosMod, s.rdbListaMod, s.rdbTodosTp, s.rdbListaTp}};
}

void SetAll(const QList<QWidget*>& controls, bool enabled)
{
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}

void ExpectAll(const QList<QWidget*>& controls, bool enabled, const char* group)
{
    for (QWidget* control : controls)
        EXPECT_EQ(control->isEnabled(), enabled) << group << ": " << qPrintable(control->objectName());
}

} // namespace

TEST_F(CatalogueTest, EachTitleChoosesItsLineAndItsFields)
{
    struct Row {
        QString title;
        int page;
        bool line, registration, periodLookups, filters;
    };
    const QList<Row> rows = {
        {u"Nota Fiscal Pendente"_s, 0, true, true, true, true},
        {u"Listagem de Documentos - GIA SP"_s, 0, true, true, true, true},
        {u"Apuração de Impostos"_s, 0, false, false, false, false},
        {u"Conferência GIA RS"_s, 0, true, true, true, false},
        {u"Operações por CST - SPED Contribuições"_s, 1, true, true, true, true},
        {u"Consolidação das Operações por CST - SPED Contribuições"_s, 1, true, true, true, true},
        {u"Operações por CFOP - SPED Contribuições"_s, 1, true, true, true, true},
        {u"Divergência BC - SPED Contribuições"_s, 1, true, true, true, true},
        {u"Pré-validação PIS/COFINS"_s, 1, true, true, true, true},
        {u""_s, 0, true, true, true, true},
        {u"Pre-validação PIS/COFINS"_s, 0, true, true, true, true},
        {u"conferência gia rs"_s, 0, true, true, true, true},
        {u"Apuracao de Impostos"_s, 0, true, true, true, true},
    };
    const Groups groups = GroupsOf(*screen);
    for (const Row& row : rows) {
        SCOPED_TRACE((u"title \""_s + row.title + u'"').toStdString());
        // Every control starts opposite to what the row expects, so each state below is the catalogue's doing.
        SetAll(groups.line, !row.line);
        SetAll(groups.registration, !row.registration);
        SetAll(groups.periodLookups, !row.periodLookups);
        SetAll(groups.entryExit + groups.cfop + groups.cst + groups.listChoices, !row.filters);
        screen->nbkImposto->setPageIndex(1 - row.page);

        choose(row.title);

        EXPECT_EQ(reports->text(), row.title);
        EXPECT_EQ(screen->nbkImposto->pageIndex(), row.page);
        ExpectAll(groups.line, row.line, "tax or book line");
        ExpectAll(groups.registration, row.registration, "registration");
        ExpectAll(groups.periodLookups, row.periodLookups, "period lookups");
        ExpectAll(groups.entryExit, row.filters, "entry/exit");
        ExpectAll(groups.cfop, row.filters, "CFOP");
        ExpectAll(groups.cst, row.filters, "CST");
        ExpectAll(groups.listChoices, row.filters, "list choices");
        EXPECT_FALSE(screen->edtNmImposto->isEnabled()) << "name boxes never take typing";
        EXPECT_FALSE(screen->edtNmLivro->isEnabled()) << "name boxes never take typing";
    }
}

TEST_F(CatalogueTest, LeavesTheFieldsOutsideItsTableAsTheyAre)
{
    const QList<QWidget*> untouched = {screen->lblEmpresa,     screen->medEmpresa,    screen->btnEmpresa,
                                       screen->lblDataInicial, screen->depInicial,    screen->lblDataFinal,
                                       screen->depFinal,       screen->grbModDoc,     screen->grbTpOperacao,
                                       screen->btnModDoc,      screen->btnTpOperacao, reports};
    for (const bool state : {false, true}) {
        SCOPED_TRACE(state ? "enabled before" : "disabled before");
        SetAll(untouched, state);
        for (const QString& title : {u"Apuração de Impostos"_s, u"Pré-validação PIS/COFINS"_s, u"Conferência GIA RS"_s})
            choose(title);
        ExpectAll(untouched, state, "untouched");
    }
}

TEST_F(CatalogueTest, ChangingTheLineEmptiesTaxBookAndRegistrationOnly)
{
    choose(u"Operações por CST - SPED Contribuições"_s);
    fillLineAndRegistration();
    screen->medEmpresa->setText(u"01"_s);
    screen->edtNmEmpresa->setText(u"Comercial Paulista"_s);
    screen->depInicial->SetDate(QDate(2026, 1, 1));
    screen->depFinal->SetDate(QDate(2026, 1, 31));
    screen->medCfop->setText(u"5102"_s);

    choose(u"Apuração de Impostos"_s);

    for (const QString& emptied : {screen->medImposto->text(), screen->edtNmImposto->text(), screen->medLivro->text(),
                                   screen->edtNmLivro->text(), screen->edtInscricao->text()})
        EXPECT_EQ(emptied, QString());
    EXPECT_EQ(screen->medEmpresa->text(), u"01"_s);
    EXPECT_EQ(screen->edtNmEmpresa->text(), u"Comercial Paulista"_s);
    EXPECT_EQ(screen->depInicial->GetDate(), QDate(2026, 1, 1));
    EXPECT_EQ(screen->depFinal->GetDate(), QDate(2026, 1, 31));
    EXPECT_EQ(screen->medCfop->text(), u"5102"_s);
}

TEST_F(CatalogueTest, StayingOnTheSameLineEmptiesNothing)
{
    const QList<std::pair<QString, QString>> moves = {
        {u"Nota Fiscal Pendente"_s, u"Conferência GIA RS"_s},
        {u"Conferência GIA RS"_s, u"Listagem de Documentos - GIA SP"_s},
        {u"Operações por CFOP - SPED Contribuições"_s, u"Pré-validação PIS/COFINS"_s},
        {u"Divergência BC - SPED Contribuições"_s, u"Divergência BC - SPED Contribuições"_s},
    };
    for (const auto& [from, to] : moves) {
        SCOPED_TRACE((from + u" -> "_s + to).toStdString());
        choose(from);
        fillLineAndRegistration();
        choose(to);
        EXPECT_EQ(screen->medImposto->text(), u"01"_s);
        EXPECT_EQ(screen->edtNmImposto->text(), u"ICMS"_s);
        EXPECT_EQ(screen->medLivro->text(), u"0000000001"_s);
        EXPECT_EQ(screen->edtInscricao->text(), u"110042490114"_s);
    }
}

TEST_F(CatalogueTest, ActivationReappliesTheRowOfTheReportShown)
{
    choose(u"Conferência GIA RS"_s);
    fillLineAndRegistration();
    screen->medCfop->setEnabled(true);
    screen->edtInscricao->setEnabled(false);

    screen->FormActivate(screen);

    EXPECT_FALSE(screen->medCfop->isEnabled());
    EXPECT_TRUE(screen->edtInscricao->isEnabled());
    EXPECT_EQ(screen->edtInscricao->text(), u"110042490114"_s) << "same line: nothing emptied";
}

TEST_F(CatalogueTest, UserChoiceRunsTheCatalogueButAChoiceByCodeDoesNot)
{
    ASSERT_EQ(reports->text(), u"Listagem de Documentos - GIA SP"_s);
    reports->setItemIndex(reports->findText(u"Apuração de Impostos"_s));
    EXPECT_TRUE(screen->medImposto->isEnabled()) << "a selection by code runs nothing";

    reports->setItemIndex(reports->findText(u"Conferência GIA RS"_s));
    QTest::keyClick(reports, Qt::Key_End);
    EXPECT_EQ(reports->text(), u"Pré-validação PIS/COFINS"_s);
    EXPECT_EQ(screen->nbkImposto->pageIndex(), 1);

    QTest::keyClick(reports, Qt::Key_Home);
    EXPECT_EQ(reports->text(), u"Nota Fiscal Pendente"_s);
    EXPECT_EQ(screen->nbkImposto->pageIndex(), 0);
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(CatalogueTest, EnteringTheParameterAreaPutsBothListsBackOnTodos)
{
    screen->rdbListaMod->setChecked(true);
    screen->rdbListaTp->setChecked(true);
    stListaMod = u"55,65"_s;
    stListaTp = u"E01,S02"_s;

    auto* area = child<TGroupBox>(u"grbDadosRel"_s);
    ASSERT_TRUE(area->OnEnter);
    area->OnEnter(area);

    EXPECT_TRUE(screen->rdbTodosMod->isChecked());
    EXPECT_TRUE(screen->rdbTodosTp->isChecked());
    EXPECT_FALSE(screen->btnModDoc->isEnabled());
    EXPECT_FALSE(screen->btnTpOperacao->isEnabled());
    EXPECT_EQ(stListaMod, QString());
    EXPECT_EQ(stListaTp, QString());
}

TEST_F(CatalogueTest, DisabledListChoicesLeaveTheListButtonsAsTheirRadiosSetThem)
{
    screen->rdbListaMod->setChecked(true);
    screen->rdbTodosTp->setChecked(true);
    choose(u"Conferência GIA RS"_s);
    EXPECT_FALSE(screen->rdbListaMod->isEnabled());
    EXPECT_TRUE(screen->btnModDoc->isEnabled());
    EXPECT_FALSE(screen->btnTpOperacao->isEnabled());
}
