// host-app's module loading, with the real screen module and the real main window.
#include "MainWindow.h"
#include "ModuleLoader.h"
#include "ScreenshotTour.h"

#include "Exceptions.h"
#include "HostSettings.h"
#include "ModuleList.h"
#include "ScriptedDialogs.h"
#include "TApplication.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

bool Listed(const QString& file) { return ModuleList::Modules().contains(QFileInfo(file).absoluteFilePath()); }

class ModuleLoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs = &ScriptedDialogs::reset();
        HostSettings& settings = HostSettings::current();
        settings.reportsDir = QString::fromUtf8(FISCAL_SOURCE_DIR "/reports");
        settings.serverPort = 1; // no server: the screen connects silently to nothing
    }

    // The screens of a main window, each destroyed before its module may be unloaded.
    static void CloseScreens(MainWindow& window)
    {
        for (QMdiSubWindow* screen : window.mdiArea()->subWindowList())
            delete screen;
    }

    ScriptedDialogs* dialogs = nullptr;
};

} // namespace

TEST_F(ModuleLoadingTest, TheReportsMenuOpensTheScreenAsAChildOfTheMainWindow)
{
    ModuleLoader modules(ModuleLoader::defaultLibraryDir());
    MainWindow window(modules);
    TApplication::instance().setMdiArea(window.mdiArea());

    QMenu* menu = window.menuBar()->findChild<QMenu*>(u"mnuRelatorios"_s);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title().remove(u'&'), u"Relatórios"_s);
    QAction* entry = menu->actions().value(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), u"Conferência Fiscal (RLX58200)"_s);
    entry->trigger();
    entry->trigger();

    ASSERT_EQ(window.mdiArea()->subWindowList().size(), 1) << "one screen, however often it is asked for";
    QWidget* screen = window.mdiArea()->subWindowList().first()->widget();
    EXPECT_EQ(screen->objectName(), u"frmConFisc"_s);
    EXPECT_EQ(screen->windowTitle(), u"Conferência Fiscal"_s);
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_TRUE(Listed(modules.fileOf(u"RLX58200"_s)));

    CloseScreens(window);
    TApplication::instance().setMdiArea(nullptr);
}

TEST_F(ModuleLoadingTest, UnloadingTheModuleTakesItOffTheModuleList)
{
    QString file;
    {
        ModuleLoader modules(ModuleLoader::defaultLibraryDir());
        MainWindow window(modules);
        TApplication::instance().setMdiArea(window.mdiArea());
        window.openModule(u"RLX58200"_s);
        file = modules.fileOf(u"RLX58200"_s);
        ASSERT_TRUE(Listed(file));
        CloseScreens(window);
        TApplication::instance().setMdiArea(nullptr);
    }
    EXPECT_FALSE(Listed(file));
}

TEST_F(ModuleLoadingTest, TheTranslationBesideTheModuleIsInstalledWhileItIsLoaded)
{
    const auto caption = [] { return QCoreApplication::translate("rlx58200", "Conferência Fiscal"); };
    ASSERT_EQ(caption(), u"Conferência Fiscal"_s);
    {
        ModuleLoader modules(QString::fromUtf8(TEST_MODULES_DIR));
        MainWindow window(modules);
        TApplication::instance().setMdiArea(window.mdiArea());
        window.openModule(u"RLX58200"_s);
        ASSERT_EQ(window.mdiArea()->subWindowList().size(), 1);
        EXPECT_EQ(caption(), u"Conferência Fiscal [pt_BR]"_s);
        CloseScreens(window);
        TApplication::instance().setMdiArea(nullptr);
    }
    EXPECT_EQ(caption(), u"Conferência Fiscal"_s) << "removed with the module";
}

TEST_F(ModuleLoadingTest, APresetErrorOfTheModuleIsShownOnce)
{
    ModuleLoader modules(ModuleLoader::defaultLibraryDir());
    MainWindow window(modules);
    TApplication::instance().setMdiArea(window.mdiArea());

    window.openModule(u"RLX58200"_s, QVariantList{u"01"_s, u"02"_s});

    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].kind, u"error"_s);
    EXPECT_TRUE(dialogs->shown[0].text.contains(u"cinco textos"_s)) << qPrintable(dialogs->shown[0].text);
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
    TApplication::instance().setMdiArea(nullptr);
}

TEST_F(ModuleLoadingTest, AModuleThatCannotBeOpenedIsNamedWithTheReason)
{
    ModuleLoader modules(QString::fromUtf8(TEST_MODULES_DIR));
    MainWindow window(modules);
    struct Row {
        QString module;
        QStringList messageHas;
    };
    const QList<Row> rows = {
        {u"RLX99999"_s, {u"Módulo desconhecido: 'RLX99999'"_s}},
        {u"NOTAMODULE"_s, {modules.fileOf(u"NOTAMODULE"_s), u"não exporta a função IniProc"_s}},
        {u"../lib/RLX58200"_s, {u"Módulo desconhecido"_s}},
        {u""_s, {u"Módulo desconhecido"_s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.module.toStdString());
        dialogs->shown.clear();
        window.openModule(row.module);
        ASSERT_EQ(dialogs->texts(u"error"_s).size(), 1);
        for (const QString& part : row.messageHas)
            EXPECT_TRUE(dialogs->shown[0].text.contains(part)) << qPrintable(dialogs->shown[0].text);
    }
    EXPECT_FALSE(Listed(modules.fileOf(u"NOTAMODULE"_s)));
}

TEST_F(ModuleLoadingTest, ScreenshotsWalkEveryReportAsTheUserDoes)
{
    ModuleLoader modules(ModuleLoader::defaultLibraryDir());
    MainWindow window(modules);
    TApplication::instance().setMdiArea(window.mdiArea());
    window.resize(800, 600);
    window.show();
    window.openModule(u"RLX58200"_s);
    QTemporaryDir dir;

    const QStringList files = TakeReportScreenshots(*window.mdiArea(), dir.path());

    ASSERT_EQ(files.size(), 9);
    EXPECT_EQ(QFileInfo(files[0]).fileName(), u"01-nota-fiscal-pendente.png"_s);
    EXPECT_EQ(QFileInfo(files[8]).fileName(), u"09-pre-validacao-pis-cofins.png"_s);
    for (const QString& file : files)
        EXPECT_FALSE(QImage(file).isNull()) << qPrintable(file);
    auto* reports = window.mdiArea()->findChild<QComboBox*>(u"cbbReportNames"_s);
    EXPECT_EQ(reports->currentText(), u"Pré-validação PIS/COFINS"_s);
    EXPECT_TRUE(dialogs->shown.isEmpty());

    CloseScreens(window);
    TApplication::instance().setMdiArea(nullptr);
}

TEST_F(ModuleLoadingTest, ScreenshotsWithoutAScreenSayThereIsNothingToShow)
{
    ModuleLoader modules(ModuleLoader::defaultLibraryDir());
    MainWindow window(modules);
    QTemporaryDir dir;
    EXPECT_THROW(TakeReportScreenshots(*window.mdiArea(), dir.path()), EHostConfigError);
}
