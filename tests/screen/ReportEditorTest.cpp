// The definition editor behind "Editar", as a keyboard user meets it: where Tab and the arrows go, the names that
// assistive technology reads, the question before changes are discarded, and a preview that waits for the typing to
// pause and reads only the rows its first page needs.
#include "LookupFixture.h"

#include "QtDialogs.h"
#include "ReportDefinition.h"
#include "ReportEditing.h"
#include "ReportLayout.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TReportDesignerDialog.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The scripted dialogs with the real editor, which opens modal for the test to drive; or, with editing set, what
// the editor would do with the report dialog's editing.
class EditorDialogs : public ScriptedDialogs {
public:
    void editDefinition(const ReportDefinition& definition, ReportEditing& editing) override
    {
        shown.append({u"edit"_s, definition.title, {}});
        if (withEditing)
            withEditing(editing);
        else
            QtDialogs().editDefinition(definition, editing);
    }

    std::function<void(ReportEditing&)> withEditing;
};

const QString Taxes = u"RLX582/03-apuracao-impostos.json"_s;

class ReportEditorTest : public LookupTest {
protected:
    // "Apuração de Impostos" of company 01 for 2025 on the sample data, with the editor's dialogs.
    void SetUp() override
    {
        LookupTest::SetUp();
        TfrmConFisc& screen = startOnSampleData();
        auto* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
        reports->setItemIndex(reports->findText(u"Apuração de Impostos"_s));
        screen.cbbReportNamesChange(reports);
        screen.medEmpresa->setText(u"01"_s);
        screen.depInicial->setText(u"01/01/2025"_s);
        screen.depFinal->setText(u"31/12/2025"_s);
        auto installed = std::make_unique<EditorDialogs>();
        dialogs = editorDialogs = installed.get();
        Dialogs::install(std::move(installed));
    }

    // Opens the editor of the definition and runs step once it is open; an editor the step leaves open is closed
    // without a question, so that a failing test never hangs.
    void edit(const QString& definition, const std::function<void(QDialog&)>& step)
    {
        QTimer::singleShot(0, [step] {
            auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!editor) {
                ADD_FAILURE() << "no editor";
                return;
            }
            editor->activateWindow();
            if (QTest::qWaitFor([editor] { return QApplication::activeWindow() == editor; }))
                step(*editor);
            else
                ADD_FAILURE() << "the editor is not the active window";
            if (editor->isVisible())
                editor->done(QDialog::Rejected);
        });
        child<TReportDesignerDialog>(u"rpddPadrao"_s)->Edit(definitionFile(definition));
    }

    static QString definitionFile(const QString& name)
    {
        return QDir(HostSettings::current().reportsDir).filePath(name);
    }

    // The runs of the report so far: each one asks for a progress window.
    qsizetype runs() const { return dialogs->progressTitles.size(); }

    EditorDialogs* editorDialogs = nullptr;
};

QTabWidget& pagesOf(QDialog& editor)
{
    for (auto* tabs : editor.findChildren<QTabWidget*>())
        if (tabs->tabText(0) == u"&Geral"_s)
            return *tabs;
    throw std::runtime_error("no pages");
}

void showPage(QDialog& editor, const QString& tab)
{
    QTabWidget& pages = pagesOf(editor);
    for (int i = 0; i < pages.count(); ++i)
        if (pages.tabText(i) == tab)
            pages.setCurrentIndex(i);
}

QString focusedText()
{
    auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
    return button                        ? button->text()
           : QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                         : QString();
}

} // namespace

TEST_F(ReportEditorTest, TabReachesEveryControlTheArrowsGoFromCellToCellAndEveryControlHasAName)
{
    edit(Taxes, [](QDialog& editor) {
        EXPECT_EQ(UnnamedControls(editor), QStringList{});

        SCOPED_TRACE("Tab leaves the header and SQL boxes");
        for (const char* page : {"&Geral", "Consultas S&QL"}) {
            showPage(editor, QString::fromLatin1(page));
            for (auto* box : editor.findChildren<QPlainTextEdit*>()) {
                if (!box->isVisible())
                    continue;
                box->setFocus();
                const QString before = box->toPlainText();
                QTest::keyClick(box, Qt::Key_Tab);
                EXPECT_NE(QApplication::focusWidget(), box) << page;
                EXPECT_EQ(box->toPlainText(), before) << page;
            }
        }

        for (const char* page : {"&Colunas", "G&rupos"}) {
            SCOPED_TRACE(page);
            showPage(editor, QString::fromLatin1(page));
            QTableWidget* table = nullptr;
            for (auto* candidate : editor.findChildren<QTableWidget*>())
                if (candidate->isVisible())
                    table = candidate;
            ASSERT_NE(table, nullptr);
            table->setFocus();
            QStringList reached;
            for (int press = 0; press < 4; ++press) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                reached.append(focusedText());
            }
            EXPECT_EQ(reached, (QStringList{u"&Incluir"_s, u"E&xcluir"_s, u"S&ubir"_s, u"D&escer"_s}));

            SCOPED_TRACE("the arrows change no choice until its list is open");
            const int formatColumn = table->columnCount() == 6 ? 4 : 2;
            const QString format = table->item(0, formatColumn)->text();
            table->setFocus();
            table->setCurrentCell(0, formatColumn);
            QTest::keyClick(table, Qt::Key_Down);
            QTest::keyClick(table, Qt::Key_Up);
            EXPECT_EQ(table->item(0, formatColumn)->text(), format);
            EXPECT_EQ(table->currentRow(), 0);

            QTest::keyClick(table, Qt::Key_F2);
            QCoreApplication::processEvents();
            auto* list = table->findChild<QComboBox*>();
            ASSERT_NE(list, nullptr) << "F2 opens the cell's list";
            EXPECT_EQ(list->accessibleName(), u"Formato"_s);
            EXPECT_TRUE(list->view()->isVisible()) << "the list is open";
            QTest::keyClick(list->view(), Qt::Key_Down);
            QTest::keyClick(list->view(), Qt::Key_Return);
            QCoreApplication::processEvents();
            EXPECT_NE(table->item(0, formatColumn)->text(), format) << "the choice made in the open list";
            EXPECT_EQ(QApplication::focusWidget(), table);
        }

        SCOPED_TRACE("Alt+U moves the current column up");
        showPage(editor, u"&Colunas"_s);
        auto* columns = editor.findChild<QTableWidget*>(u"columns"_s);
        columns->setFocus();
        columns->setCurrentCell(1, 0);
        QTest::keyClick(columns, Qt::Key_U, Qt::AltModifier);
        QTest::qWait(300); // a button pressed by its accelerator clicks once it has shown itself pressed
        EXPECT_EQ(columns->verticalHeader()->visualIndex(1), 0);
    });
}

// Cancelar, Esc and the window's close: at once when nothing changed, otherwise only once the user agrees.
TEST_F(ReportEditorTest, ClosingWithChangesAsksBeforeDiscardingThem)
{
    const QByteArray before = [] {
        QFile file(definitionFile(Taxes));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const struct {
        const char* how;
        std::function<void(QDialog&)> close;
    } ways[] = {
        {"Cancelar",
         [](QDialog& editor) {
             for (auto* button : editor.findChildren<QPushButton*>())
                 if (button->text() == u"Cancelar"_s)
                     QTest::mouseClick(button, Qt::LeftButton);
         }},
        {"Esc", [](QDialog& editor) { QTest::keyClick(&editor, Qt::Key_Escape); }},
        {"the window's close", [](QDialog& editor) { editor.close(); }},
    };
    const QString question = u"Descartar as alterações feitas em \"Apuração de Impostos\"?"_s;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        dialogs->shown.clear();
        edit(Taxes, [&](QDialog& editor) {
            way.close(editor);
            EXPECT_FALSE(editor.isVisible()) << "nothing changed: no question";
        });
        EXPECT_TRUE(dialogs->texts(u"confirm"_s).isEmpty());

        edit(Taxes, [&](QDialog& editor) {
            showPage(editor, u"&Colunas"_s);
            editor.findChild<QTableWidget*>(u"columns"_s)->item(0, 0)->setText(u"Imposto apurado"_s);
            way.close(editor);
            EXPECT_TRUE(editor.isVisible()) << "answered no: the editing goes on";
            dialogs->answerConfirm(true);
            way.close(editor);
            EXPECT_FALSE(editor.isVisible()) << "answered yes";
        });
        EXPECT_EQ(dialogs->texts(u"confirm"_s), (QStringList{question, question}));
    }
    QFile file(definitionFile(Taxes));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before) << "nothing saved";
}

TEST_F(ReportEditorTest, ThePreviewRunsOnceTheTypingHasPaused)
{
    edit(Taxes, [this](QDialog& editor) {
        EXPECT_TRUE(QTest::qWaitFor([this] { return runs() == 1; })) << "the first page drawn at once";
        auto* header = editor.findChildren<QPlainTextEdit*>().value(0);
        header->setFocus();
        for (int key = 0; key < 5; ++key) {
            QTest::keyClick(header, Qt::Key_A);
            QTest::qWait(100);
        }
        EXPECT_EQ(runs(), 1) << "no run while typing";
        EXPECT_TRUE(QTest::qWaitFor([this] { return runs() == 2; }));
        QTest::qWait(800);
        EXPECT_EQ(runs(), 2) << "one run for the five keys";
    });
}

// The editor's preview reads a report of 3,529 tax lines only as far as its first page needs, and that page is the
// full report's first page, except that it does not claim to know the number of pages.
TEST_F(ReportEditorTest, ThePreviewReadsOnlyTheRowsOfTheFirstPage)
{
    const QJsonObject json = QJsonDocument::fromJson(R"({
        "code": "RLX582", "title": "Impostos dos itens",
        "queries": [{"name": "qryImpostos", "sql": [
            "SELECT NRSEQNOTAFISC, NRITEM, CDIMPOSTO, VRIMPOSTOIT FROM ITEMNFIMPOSTO",
            " ORDER BY NRSEQNOTAFISC, NRITEM, CDIMPOSTO"]}],
        "detail": "qryImpostos",
        "columns": [{"field": "NRSEQNOTAFISC", "caption": "Nota", "format": "integer"},
                    {"field": "NRITEM", "caption": "Item", "format": "integer"},
                    {"field": "CDIMPOSTO", "caption": "Imposto"},
                    {"field": "VRIMPOSTOIT", "caption": "Valor", "format": "amount", "align": "right"}],
        "groups": [{"field": "NRSEQNOTAFISC", "caption": "Nota", "format": "integer", "subtotals": ["VRIMPOSTOIT"]}],
        "totals": ["VRIMPOSTOIT"]})")
                                 .object();
    const ReportDefinition definition = ReportDefinition::fromJson(json, definitionFile(u"RLX582/99-itens.json"_s));
    const auto body = [](const ReportLayout& layout) {
        QStringList texts;
        for (const PageItem& item : layout.page(0))
            if (item.kind == PageItem::Kind::Text && item.style != TextStyle::Footer)
                texts.append(item.text);
        return texts;
    };
    const auto footer = [](const ReportLayout& layout) {
        QStringList texts;
        for (const PageItem& item : layout.page(0))
            if (item.style == TextStyle::Footer && item.text.startsWith(u"Página"_s))
                texts.append(item.text);
        return texts;
    };
    const auto full = child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(definition);
    ASSERT_EQ(full->data().detail.rows.size(), 3529);

    std::shared_ptr<const ReportLayout> preview;
    editorDialogs->withEditing = [&](ReportEditing& editing) { preview = editing.preview(definition); };
    child<TReportDesignerDialog>(u"rpddPadrao"_s)->Edit(definitionFile(Taxes));
    ASSERT_NE(preview, nullptr);

    EXPECT_LT(preview->data().detail.rows.size(), 200);
    EXPECT_EQ(body(*preview), body(*full));
    EXPECT_EQ(footer(*preview), QStringList{u"Página 1 de ? (prévia parcial)"_s});
    EXPECT_EQ(footer(*full), QStringList{u"Página 1 de %1"_s.arg(full->pageCount())});
}
