#include "BusyCursor.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "TApplication.h"
#include "TComboBox.h"
#include "TDBConnection.h"
#include "TEdit.h"
#include "TGroupBox.h"
#include "TLabel.h"
#include "TMessages.h"
#include "TdtmDBGeral.h"
#include "UiTest.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// A report screen as a module builds one: its report code in lblCodRel, handlers extending the base ones.
class SampleForm : public TfrmDadosGerRel {
public:
    SampleForm()
    {
        setObjectName(u"frmSample"_s);
        setWindowTitle(u"Amostra"_s);
        lblCodRel->setText(u"RLX582"_s);
        edit = new TEdit(grbDadosRel, u"edtSample"_s);
        edit->setGeometry(101, 76, 50, 21);
    }

    void FormCreate(QObject* Sender) override
    {
        events.append(u"create, reference "_s + (*reference == this ? u"set"_s : u"not set"_s));
        TfrmDadosGerRel::FormCreate(Sender);
    }
    void FormActivate(QObject* Sender) override
    {
        TfrmDadosGerRel::FormActivate(Sender);
        events.append(u"activate"_s);
    }
    void FormClose(QObject* Sender, TCloseAction& Action) override
    {
        TfrmDadosGerRel::FormClose(Sender, Action);
        events.append(u"close"_s);
        if (closeError)
            throw EHostConfigError(u"não fecha"_s);
        if (closeAction)
            Action = *closeAction;
    }

    TMessages* messages() const { return msgPadrao; }

    static inline SampleForm** reference = nullptr;
    static inline QStringList events;
    TEdit* edit = nullptr;
    std::optional<TCloseAction> closeAction;
    bool closeError = false;
};

class ReportFormTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(reports.isValid());
        HostSettings::current().reportsDir = reports.path();
        writeDefinition(u"02-listagem.json"_s, u"Listagem de Documentos - GIA SP"_s);
        writeDefinition(u"01-pendente.json"_s, u"Nota Fiscal Pendente"_s);
        writeDefinition(u"10-pre.json"_s, u"Pré-validação PIS/COFINS"_s);
        QFile notes(reports.filePath(u"RLX582/leia-me.txt"_s));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        SampleForm::reference = &screen;
        SampleForm::events.clear();
    }

    void TearDown() override
    {
        if (screen)
            delete screen->containerWindow();
        TApplication::instance().setMdiArea(nullptr);
    }

    void writeDefinition(const QString& fileName, const QString& title, const QString& code = u"RLX582"_s)
    {
        QDir(reports.path()).mkpath(code);
        QFile file(reports.filePath(code + u'/' + fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(uR"({"code": "%1", "title": "%2", "queries": [{"name": "qryUm", "sql": ["SELECT 1 AS N"]}],
                        "detail": "qryUm", "columns": [{"field": "N", "caption": "N"}]})"_s.arg(code, title)
                       .toUtf8());
    }

    SampleForm& create()
    {
        TApplication::instance().CreateForm(screen);
        return *screen;
    }

    template <class T>
    T* child(const QString& name) const
    {
        return screen->findChild<T*>(name);
    }

    QStringList titles() const
    {
        QStringList items;
        auto* combo = child<TComboBox>(u"cbbReportNames"_s);
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        return items;
    }

    QTemporaryDir reports;
    SampleForm* screen = nullptr;
};

} // namespace

TEST_F(ReportFormTest, CreationListsTheReportTitlesInFileNameOrder)
{
    create();
    EXPECT_EQ(SampleForm::events.value(0), u"create, reference set"_s);
    EXPECT_EQ(titles(), (QStringList{u"Nota Fiscal Pendente"_s, u"Listagem de Documentos - GIA SP"_s,
                                     u"Pré-validação PIS/COFINS"_s}));
    EXPECT_EQ(child<TComboBox>(u"cbbReportNames"_s)->itemIndex(), -1) << "no title selected yet";
    EXPECT_TRUE(screen->isVisible()) << "shown once created";
}

TEST_F(ReportFormTest, MissingDefinitionsFailTheCreationWithTheMessageOfTheTable)
{
    const struct {
        const char* name;
        std::function<void()> prepare;
        QString message;
    } cases[] = {
        {"missing folder", [&] { QDir(reports.filePath(u"RLX582"_s)).removeRecursively(); },
         u"O arquivo contendo a definição do relatório de código 'RLX582' não foi encontrado no diretório '%1'."_s.arg(
             reports.filePath(u"RLX582"_s))},
        {"no definition in the folder",
         [&] {
             for (const QString& file : QDir(reports.filePath(u"RLX582"_s)).entryList({u"*.json"_s}))
                 QFile::remove(reports.filePath(u"RLX582/"_s + file));
         },
         u"O arquivo contendo a definição do relatório de código 'RLX582' não foi encontrado no diretório '%1'."_s.arg(
             reports.filePath(u"RLX582"_s))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        try {
            create();
            FAIL() << "created without definitions";
        } catch (const EHostConfigError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(screen, nullptr) << "the reference is cleared";
    }
}

TEST_F(ReportFormTest, FailedCreationDestroysTheForm)
{
    QDir(reports.filePath(u"RLX582"_s)).removeRecursively();
    try {
        create();
        FAIL() << "created without definitions";
    } catch (const EHostConfigError& e) {
        EXPECT_TRUE(e.message().contains(u"RLX582"_s)) << qPrintable(e.message());
    }
    EXPECT_EQ(screen, nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_NE(w->objectName(), u"frmSample"_s) << "no form left behind";
}

// A definition that cannot be read hides none of the others: they are listed, and one message names each broken file
// with the place of its fault.
TEST_F(ReportFormTest, ABrokenDefinitionIsLeftOutAndNamedWithTheLineAndColumnOfItsFault)
{
    const QStringList good = {u"Nota Fiscal Pendente"_s, u"Listagem de Documentos - GIA SP"_s,
                              u"Pré-validação PIS/COFINS"_s};
    const struct {
        const char* name;
        QMap<QString, QByteArray> files; // broken files by name
        QStringList faults;              // each in the one message
    } cases[] = {
        {"a name without its colon",
         {{u"05-sem-dois-pontos.json"_s, "{\n  \"code\": \"RLX582\",\n  \"title\" \"x\"\n}"}},
         {u"05-sem-dois-pontos.json' é inválida: linha 3, coluna 11:"_s}},
        {"a file cut short, first in the list",
         {{u"00-cortado.json"_s, "{\"code\": \"RLX582\",\n"}},
         {u"00-cortado.json' é inválida: linha 1, coluna 19:"_s}},
        {"two broken files, one message",
         {{u"00-cortado.json"_s, "{\"code\": \"RLX582\",\n"}, {u"99-lista.json"_s, "[1, 2]"}},
         {u"00-cortado.json' é inválida: linha 1, coluna 19:"_s,
          u"99-lista.json' é inválida: o conteúdo não é um objeto JSON"_s}},
        {"a title missing",
         {{u"07-sem-titulo.json"_s, R"({"code": "RLX582", "queries": []})"}},
         {u"07-sem-titulo.json"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : c.files.keys()) {
            QFile file(reports.filePath(u"RLX582/"_s + name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.files.value(name));
        }
        dialogs->shown.clear();
        create();
        EXPECT_EQ(titles(), good);
        ASSERT_EQ(dialogs->texts(u"error"_s).size(), 1);
        const QString message = dialogs->texts(u"error"_s).constFirst();
        for (const QString& fault : c.faults)
            EXPECT_TRUE(message.contains(fault)) << qPrintable(message);
        delete screen->containerWindow();
        screen = nullptr;
        for (const QString& name : c.files.keys())
            QFile::remove(reports.filePath(u"RLX582/"_s + name));
    }
}

TEST_F(ReportFormTest, ErrorTextComesFromTheFormsMessageTable)
{
    SampleForm form;
    form.messages()->setLines({u"Arq_Rel_Err|Sem relatório %s em %s."_s});
    HostSettings::current().reportsDir = reports.filePath(u"nowhere"_s);
    try {
        form.FormCreate(&form);
        FAIL();
    } catch (const EHostConfigError& e) {
        EXPECT_EQ(e.message(), u"Sem relatório RLX582 em %1."_s.arg(reports.filePath(u"nowhere/RLX582"_s)));
    }
}

// The buttons take no focus and hand the chosen report to the report dialog: each asks what it must (printer,
// file, edits), and with no report chosen each says so.
TEST_F(ReportFormTest, OutputButtonsTakeNoFocusAndRunTheChosenReport)
{
    QTemporaryDir data;
    HostSettings::current().databasePath = data.filePath(u"local.db"_s);
    QFile(HostSettings::current().databasePath).open(QIODevice::WriteOnly); // an empty database
    dtmDBGeral()->adcGeral->SetConnected(false);
    create();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    EventLog log;
    screen->edit->OnExit = log.recorder(u"exit"_s);
    screen->edit->setFocus();
    settle();
    const struct {
        const char* button;
        QStringList shown; // the kinds of what the dialogs showed
    } cases[] = {
        {"sbtPrint", {u"print"_s}},
        {"sbtPreview", {}},
        {"sbtSalvarComo", {u"save"_s}},
        {"sbtReportEdit", {u"edit"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        auto* button = child<QToolButton>(QString::fromLatin1(c.button));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(button->parentWidget()->objectName(), u"panMenu"_s);
        child<TComboBox>(u"cbbReportNames"_s)->setItemIndex(-1);
        dialogs->shown.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"Escolha um relatório."_s});

        child<TComboBox>(u"cbbReportNames"_s)->setItemIndex(0);
        dialogs->shown.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QStringList kinds;
        for (const auto& shown : dialogs->shown)
            kinds.append(shown.kind);
        EXPECT_EQ(kinds, c.shown);
    }
    EXPECT_EQ(QApplication::focusWidget(), screen->edit);
    EXPECT_TRUE(log.entries.isEmpty()) << "pressing an output button runs no exit handler";
    QWidget* preview = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == u"ReportPreview"_s)
            preview = window;
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), u"Visualizar - Nota Fiscal Pendente"_s);
    delete preview;
}

TEST_F(ReportFormTest, InheritedControlsAndTheirPlaces)
{
    create();
    const struct {
        QString name;
        QString parent;
    } controls[] = {
        {u"grbDadosRel"_s, u"frmSample"_s},   {u"bvlSeparator"_s, u"grbDadosRel"_s}, {u"panRelat"_s, u"grbDadosRel"_s},
        {u"cbbReportNames"_s, u"panRelat"_s}, {u"lblCodTela"_s, u"panRelat"_s},      {u"panMenu"_s, u"frmSample"_s},
        {u"lblCodRel"_s, u"panMenu"_s},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(qPrintable(c.name));
        auto* control = child<QWidget>(c.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), c.parent);
    }
    EXPECT_EQ(child<TGroupBox>(u"grbDadosRel"_s)->geometry(), QRect(0, 0, 468, 276));
    EXPECT_EQ(child<QWidget>(u"panMenu"_s)->geometry().top(), 276);
    EXPECT_NE(child<TMessages>(u"msgPadrao"_s), nullptr);
    EXPECT_NE(screen->findChild<QObject*>(u"rpddPadrao"_s), nullptr);
}

TEST_F(ReportFormTest, CloseHidesAndKeepsTheInstanceUnlessTheHandlerDecidesOtherwise)
{
    create();
    QPointer<SampleForm> kept = screen;

    screen->Close();
    EXPECT_FALSE(screen->isVisible());
    EXPECT_TRUE(kept) << "hidden, not destroyed";
    screen->Show();
    EXPECT_TRUE(screen->isVisible());

    SCOPED_TRACE("a close handler that fails keeps the window open");
    screen->closeError = true;
    screen->Close();
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"não fecha"_s});

    SCOPED_TRACE("caNone and caFree");
    screen->closeError = false;
    screen->closeAction = TCloseAction::caNone;
    screen->Close();
    EXPECT_TRUE(screen->isVisible());
    screen->closeAction = TCloseAction::caFree;
    screen->Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(kept);
    screen = nullptr;
}

TEST_F(ReportFormTest, MdiChildActivatesOnCreationAndWhenItBecomesActiveAgain)
{
    QMdiArea area;
    area.resize(800, 600);
    TApplication::instance().setMdiArea(&area);
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));

    create();
    settle();
    auto* window = qobject_cast<QMdiSubWindow*>(screen->containerWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->mdiArea(), &area);
    EXPECT_EQ(SampleForm::events, (QStringList{u"create, reference set"_s, u"activate"_s}));

    SCOPED_TRACE("another child and back");
    QMdiSubWindow* other = area.addSubWindow(new QWidget);
    other->show();
    area.setActiveSubWindow(other);
    area.setActiveSubWindow(window);
    settle();
    EXPECT_EQ(SampleForm::events.count(u"activate"_s), 2);

    SCOPED_TRACE("showing it again when it is already active");
    screen->Show();
    EXPECT_EQ(SampleForm::events.count(u"activate"_s), 2);

    SCOPED_TRACE("closed (hidden), then shown again");
    screen->Close();
    EXPECT_FALSE(window->isVisible());
    screen->Show();
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(SampleForm::events.count(u"activate"_s), 3);

    SCOPED_TRACE("minimised, then restored");
    screen->SetWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(screen->WindowState() & Qt::WindowMinimized);
    screen->SetWindowState(Qt::WindowNoState);
    EXPECT_FALSE(screen->WindowState() & Qt::WindowMinimized);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(area.subWindowList().count(window), 1);

    SCOPED_TRACE("the host closing destroys the form");
    QPointer<SampleForm> form = screen;
    delete window;
    screen = nullptr;
    EXPECT_FALSE(form);
}

TEST(ScreenCursor, BusyGuardRestoresTheCursorOnEveryWayOut)
{
    TApplication& application = TApplication::instance();
    application.SetScreenCursor(0);
    try {
        BusyCursor busy;
        EXPECT_EQ(application.ScreenCursor(), -11);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            BusyCursor nested;
        }
        EXPECT_EQ(application.ScreenCursor(), -11) << "the inner guard restores the hourglass it found";
        throw EConvertError(u"'x' não é uma data válida."_s);
    } catch (const EConvertError&) {
    }
    EXPECT_EQ(application.ScreenCursor(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    application.SetScreenCursor(-11);
    application.SetScreenCursor(-11);
    application.SetScreenCursor(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "setting the hourglass twice needs one reset";
}
