// The host's door into the module: IniProc, the presets, and the life of the one screen.
#include "ScreenFixture.h"

#include "Exceptions.h"
#include "ModuleList.h"
#include "TApplication.h"
#include "TBtnPesquisa.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TNetConnection.h"
#include "TRadioButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using EntryTest = ScreenTest;

int ScreensOpen()
{
    int count = 0;
    for (QWidget* widget : QApplication::allWidgets())
        count += qobject_cast<TfrmConFisc*>(widget) != nullptr;
    return count;
}

QString ReportTitle(TfrmConFisc& screen) { return screen.findChild<TComboBox*>(u"cbbReportNames"_s)->text(); }

} // namespace

TEST_F(EntryTest, WithoutPresetsANewScreenShowsEntradaAndTheSecondTitle)
{
    TfrmConFisc& screen = openScreen();

    EXPECT_TRUE(boStCriado);
    EXPECT_EQ(frmConFisc, &screen);
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(screen.cbbEntrSaid->text(), u"Entrada"_s);
    auto* reports = child<TComboBox>(u"cbbReportNames"_s);
    ASSERT_EQ(reports->count(), 9);
    EXPECT_EQ(reports->itemIndex(), 1);
    EXPECT_EQ(reports->text(), u"Listagem de Documentos - GIA SP"_s);
    EXPECT_EQ(screen.medImposto->text(), QString());
    EXPECT_EQ(TApplication::instance().ScreenCursor(), 0);
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(EntryTest, WithoutPresetsAnExistingScreenKeepsEverything)
{
    TfrmConFisc& screen = openScreen();
    child<TComboBox>(u"cbbReportNames"_s)->setItemIndex(3);
    screen.cbbEntrSaid->setItemIndex(1);
    screen.medEmpresa->setText(u"02"_s);

    EXPECT_EQ(&openScreen(), &screen);
    EXPECT_EQ(&openScreen(QVariantList{u""_s, u"01"_s, u"1"_s, u"01/01/2026"_s, u"31/01/2026"_s}), &screen)
        << "an empty tax code applies no preset";

    EXPECT_EQ(ReportTitle(screen), u"Conferência GIA RS"_s);
    EXPECT_EQ(screen.cbbEntrSaid->text(), u"Saída"_s);
    EXPECT_EQ(screen.medEmpresa->text(), u"02"_s);
    EXPECT_EQ(screen.depInicial->text(), QString());
    EXPECT_EQ(ScreensOpen(), 1);
}

TEST_F(EntryTest, PresetsChooseThePendingInvoiceReportAndFillTheFields)
{
    TfrmConFisc& screen = openScreen(Presets(u"01"_s, u"02"_s, u"110042490114"_s, u"01/01/2026"_s, u"31/01/2026"_s));

    EXPECT_EQ(ReportTitle(screen), u"Nota Fiscal Pendente"_s);
    EXPECT_EQ(screen.medImposto->text(), u"01"_s);
    EXPECT_EQ(screen.medEmpresa->text(), u"02"_s);
    EXPECT_EQ(screen.edtInscricao->text(), u"110042490114"_s) << "written after the change handlers clear it";
    EXPECT_TRUE(screen.edtInscricao->isEnabled());
    EXPECT_TRUE(screen.btnInscricao->isEnabled());
    EXPECT_EQ(screen.edtInscricao->color(), TColor::clInfoBk);
    EXPECT_EQ(screen.cbbEntrSaid->text(), u"Todas"_s);
    EXPECT_EQ(screen.depInicial->GetDate(), QDate(2026, 1, 1));
    EXPECT_EQ(screen.depFinal->GetDate(), QDate(2026, 1, 31));
    EXPECT_EQ(TApplication::instance().ScreenCursor(), 0);
}

TEST_F(EntryTest, PresetsReachAnExistingScreen)
{
    TfrmConFisc& screen = openScreen();
    screen.edtInscricao->setText(u"antiga"_s);

    openScreen(QStringList{u"02"_s, u"03"_s, u"2000123"_s, u"01/03/2026"_s, u"31/03/2026"_s});

    EXPECT_EQ(frmConFisc, &screen);
    EXPECT_EQ(ReportTitle(screen), u"Nota Fiscal Pendente"_s);
    EXPECT_EQ(screen.medImposto->text(), u"02"_s);
    EXPECT_EQ(screen.medEmpresa->text(), u"03"_s);
    EXPECT_EQ(screen.edtInscricao->text(), u"2000123"_s);
    EXPECT_EQ(screen.cbbEntrSaid->text(), u"Todas"_s);
    EXPECT_EQ(screen.depFinal->GetDate(), QDate(2026, 3, 31));
}

TEST_F(EntryTest, ContribuicaoMeansNoRegistrationUntilTheCatalogueRunsAgain)
{
    TfrmConFisc& screen = openScreen(Presets(u"05"_s, u"01"_s, u"CONTRIBUICAO"_s, u"01/01/2026"_s, u"31/01/2026"_s));

    EXPECT_EQ(screen.edtInscricao->text(), QString());
    EXPECT_FALSE(screen.edtInscricao->isEnabled());
    EXPECT_FALSE(screen.btnInscricao->isEnabled());
    EXPECT_EQ(screen.edtInscricao->color(), TColor::clWindow);

    screen.FormActivate(&screen);
    EXPECT_TRUE(screen.edtInscricao->isEnabled());
    EXPECT_TRUE(screen.btnInscricao->isEnabled());
    EXPECT_EQ(screen.edtInscricao->color(), TColor::clWindow) << "the colour stays white";
}

TEST_F(EntryTest, AnEmptyRegistrationIsEnabledAndYellow)
{
    TfrmConFisc& screen = openScreen();
    screen.edtInscricao->setColor(TColor::clWindow);
    screen.edtInscricao->setEnabled(false);

    openScreen(Presets(u"01"_s, u"01"_s, u""_s, u"01/01/2026"_s, u"31/01/2026"_s));

    EXPECT_EQ(screen.edtInscricao->text(), QString());
    EXPECT_TRUE(screen.edtInscricao->isEnabled());
    EXPECT_EQ(screen.edtInscricao->color(), TColor::clInfoBk);
}

TEST_F(EntryTest, APresetDateThatIsNotADateStopsThePresetsAndRestoresTheCursor)
{
    struct Row {
        QString start, end;
        QDate startAfter;
    };
    const QList<Row> rows = {
        {u"31/02/2026"_s, u"31/03/2026"_s, {}},
        {u""_s, u"31/03/2026"_s, {}},
        {u"2026-01-01"_s, u"31/03/2026"_s, {}},
        {u"01/01/2026"_s, u"fim do mês"_s, QDate(2026, 1, 1)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.start + u" .. "_s + row.end).toStdString());
        delete frmConFisc;
        EXPECT_THROW(IniProc(Presets(u"01"_s, u"02"_s, u"123"_s, row.start, row.end)), EConvertError);
        EXPECT_EQ(TApplication::instance().ScreenCursor(), 0);
        ASSERT_NE(frmConFisc, nullptr) << "the screen exists";
        EXPECT_TRUE(boStCriado);
        EXPECT_EQ(frmConFisc->edtInscricao->text(), u"123"_s) << "presets before the date stay";
        EXPECT_EQ(frmConFisc->depInicial->GetDate(), row.startAfter);
        EXPECT_EQ(frmConFisc->depFinal->text(), QString()) << "later steps do not run";
    }
}

TEST_F(EntryTest, PresetsInTheHostDateFormat)
{
    HostSettings::current().shortDateFormat = u"yyyy-MM-dd"_s;
    TfrmConFisc& screen = openScreen(Presets(u"01"_s, u"02"_s, u""_s, u"2026-02-01"_s, u"2026-02-28"_s));
    HostSettings::current().shortDateFormat = u"dd/MM/yyyy"_s;
    EXPECT_EQ(screen.depInicial->GetDate(), QDate(2026, 2, 1));
    EXPECT_EQ(screen.depFinal->GetDate(), QDate(2026, 2, 28));
}

TEST_F(EntryTest, AValueThatIsNotFiveTextsCreatesNoScreen)
{
    const QList<std::pair<const char*, QVariant>> rows = {
        {"a text", QVariant(u"01;02;123;01/01/2026;31/01/2026"_s)},
        {"a number", QVariant(42)},
        {"four elements", QVariantList{u"01"_s, u"02"_s, u"123"_s, u"01/01/2026"_s}},
        {"an empty list", QVariantList{}},
        {"a null element", QVariantList{u"01"_s, QVariant(), u"123"_s, u"01/01/2026"_s, u"31/01/2026"_s}},
        {"a list element", QVariantList{u"01"_s, QVariantList{u"02"_s}, u"1"_s, u"01/01/2026"_s, u"31/01/2026"_s}},
        {"a map", QVariantMap{{u"imposto"_s, u"01"_s}}},
    };
    for (const auto& [what, presets] : rows) {
        SCOPED_TRACE(what);
        EXPECT_THROW(IniProc(presets), EConvertError);
        EXPECT_EQ(frmConFisc, nullptr);
        EXPECT_FALSE(boStCriado);
        EXPECT_EQ(TApplication::instance().ScreenCursor(), 0);
    }
}

TEST_F(EntryTest, ElementsAfterTheFifthAreIgnoredAndNumbersReadAsText)
{
    TfrmConFisc& screen = openScreen(QVariantList{1, 2, u"123"_s, u"01/01/2026"_s, u"31/01/2026"_s, u"sobra"_s});
    EXPECT_EQ(screen.medImposto->text(), u"1"_s);
    EXPECT_EQ(screen.medEmpresa->text(), u"2"_s);
}

TEST_F(EntryTest, WithoutThePendingInvoiceReportTheFirstTitleIsChosen)
{
    QTemporaryDir reports;
    ASSERT_TRUE(QDir(reports.path()).mkpath(u"RLX582"_s));
    for (const char* file : {"04-conferencia-gia-rs.json", "03-apuracao-impostos.json"})
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(FISCAL_SOURCE_DIR "/reports/RLX582/") + QLatin1StringView(file),
                                reports.filePath(u"RLX582/"_s + QLatin1StringView(file))));
    HostSettings::current().reportsDir = reports.path();

    TfrmConFisc& screen = openScreen();
    EXPECT_EQ(ReportTitle(screen), u"Conferência GIA RS"_s) << "index 1 of the list";
    openScreen(Presets(u"01"_s, u"02"_s, u""_s, u"01/01/2026"_s, u"31/01/2026"_s));
    EXPECT_EQ(ReportTitle(screen), u"Apuração de Impostos"_s);
}

TEST_F(EntryTest, WithoutReportDefinitionsTheHostIsToldAndNoScreenIsKept)
{
    QTemporaryDir empty;
    HostSettings::current().reportsDir = empty.path();
    try {
        IniProc(QVariant());
        ADD_FAILURE() << "no error";
    } catch (const EHostConfigError& e) {
        EXPECT_TRUE(e.message().startsWith(
            u"O arquivo contendo a definição do relatório de código 'RLX582' não foi encontrado no diretório '"_s))
            << qPrintable(e.message());
        EXPECT_TRUE(e.message().contains(empty.path())) << qPrintable(e.message());
    }
    EXPECT_EQ(frmConFisc, nullptr);
    EXPECT_FALSE(boStCriado);
    EXPECT_EQ(ScreensOpen(), 0);
    EXPECT_EQ(TApplication::instance().ScreenCursor(), 0);

    HostSettings::current().reportsDir = QString::fromUtf8(FISCAL_SOURCE_DIR "/reports");
    EXPECT_NE(&openScreen(), nullptr);
}

TEST_F(EntryTest, ASecondCallRestoresTheMinimisedScreen)
{
    TfrmConFisc& screen = openScreen();
    screen.SetWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(screen.WindowState() & Qt::WindowMinimized);

    openScreen();

    EXPECT_EQ(frmConFisc, &screen);
    EXPECT_EQ(screen.WindowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowNoState);
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(ScreensOpen(), 1);
}

TEST_F(EntryTest, AClosedScreenIsHiddenAndShownAgainByTheNextCall)
{
    TfrmConFisc& screen = openScreen();
    screen.cbbEntrSaid->setItemIndex(1);
    screen.Close();
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(frmConFisc, &screen);

    openScreen();
    EXPECT_EQ(frmConFisc, &screen);
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(screen.cbbEntrSaid->text(), u"Saída"_s) << "the starting selections are not repeated";
}

TEST_F(EntryTest, ADestroyedScreenIsCreatedAgain)
{
    delete &openScreen();
    EXPECT_EQ(frmConFisc, nullptr);
    EXPECT_FALSE(boStCriado);

    TfrmConFisc& screen = openScreen();
    EXPECT_EQ(frmConFisc, &screen);
    EXPECT_EQ(ScreensOpen(), 1);
}

TEST_F(EntryTest, TheConnectionTakesTheHostsServerAndStaysQuietWhenItIsDown)
{
    HostSettings::current().serverHost = u"localhost"_s;
    TfrmConFisc& screen = openScreen();
    EXPECT_EQ(screen.netConFisc->Host, u"localhost"_s);
    EXPECT_EQ(screen.netConFisc->Port, ClosedPort);
    EXPECT_FALSE(screen.netConFisc->Connected());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(EntryTest, TheModuleIsInTheHostsModuleList)
{
    const QStringList modules = ModuleList::Modules();
    EXPECT_TRUE(std::any_of(modules.begin(), modules.end(), [](const QString& file) {
        return file.endsWith(u"/librlx58200.so"_s);
    })) << qPrintable(modules.join(u", "_s));
}

TEST_F(EntryTest, TabWalksTheParameterFieldsInTheirOrder)
{
    TfrmConFisc& screen = openScreen();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    // Tab visits each radio group once; the arrow keys move within it. Leaving the tax empty switches the
    // registration off before the next Tab, so Tab passes over it.
    const QStringList order = {u"medImposto"_s, u"medEmpresa"_s,     u"cbbEntrSaid"_s, u"depInicial"_s,
                               u"depFinal"_s,   u"medCfop"_s,        u"medCst"_s,      u"rdbTodosMod"_s,
                               u"rdbTodosTp"_s, u"cbbReportNames"_s, u"medImposto"_s};
    // The named control that holds the focus (a date edit's text box belongs to the date edit).
    const auto focused = [&order] {
        for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
            if (order.contains(widget->objectName()))
                return widget->objectName();
        return QString();
    };

    screen.medImposto->SetFocus();
    QStringList visited = {focused()};
    while (visited.size() < order.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (focused() != visited.last())
            visited.append(focused());
    }
    EXPECT_EQ(visited, order);
}
