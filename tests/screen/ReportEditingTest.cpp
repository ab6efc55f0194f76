// The definition editor's saving, behind the screen's "Editar": a definition is checked on the database before it is
// written, read back as it was saved, and a new report joins the screen's list at once.
#include "LookupFixture.h"

#include "ReportCatalogue.h"
#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "TComboBox.h"
#include "TReportDesignerDialog.h"

#include <QDir>
#include <QFile>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

class ReportEditingTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        ASSERT_EQ(QProcess::execute(u"cp"_s, {u"-r"_s, HostSettings::current().reportsDir, work.path()}), 0);
        HostSettings::current().reportsDir = work.filePath(u"reports"_s);
    }

    QString definitionFile(const QString& name) const { return work.filePath(u"reports/RLX582/"_s + name); }

    void edit(const QString& name, const std::function<void(ReportDefinition&)>& change,
              ScriptedDialogs::EditEnd end = ScriptedDialogs::EditEnd::Save)
    {
        dialogs->answerEdit(change, end);
        child<TReportDesignerDialog>(u"rpddPadrao"_s)->Edit(definitionFile(name));
    }

    static QByteArray contents(const QString& file)
    {
        QFile opened(file);
        return opened.open(QIODevice::ReadOnly) ? opened.readAll() : QByteArray();
    }

    QTemporaryDir work;
};

const QString GiaSp = u"02-listagem-documentos-gia-sp.json"_s;
const QString Taxes = u"03-apuracao-impostos.json"_s;

} // namespace

TEST_F(ReportEditingTest, ADefinitionThatDoesNotMatchTheDatabaseIsRefusedAndTheFileKept)
{
    startOnSampleData();
    const struct {
        const char* fault;
        QString file;
        std::function<void(ReportDefinition&)> change;
        QString message;
    } cases[] = {
        {"a column the screen's data does not have", GiaSp,
         [](ReportDefinition& d) { d.columns[1].field = u"NRNOTA"_s; }, u"a coluna \"NRNOTA\" não é um campo"_s},
        {"a group the query does not return", Taxes,
         [](ReportDefinition& d) {
             d.groups.append({u"CDFILIAL"_s, u"Filial"_s});
         },
         u"o grupo \"CDFILIAL\" não é um campo"_s},
        {"a header field the query does not return", GiaSp,
         [](ReportDefinition& d) { d.header.append(u"{qryCabecalho.NMFANTASIA}"_s); },
         u"o cabeçalho cita o campo \"NMFANTASIA\""_s},
        {"a parameter that is not a screen parameter", Taxes,
         [](ReportDefinition& d) { d.queries[0].sql.append(u"   AND :EMPRESA = :EMPRESA"_s); },
         u"\":EMPRESA\"; só valem parâmetros"_s},
        {"a query that does not run", Taxes, [](ReportDefinition& d) { d.queries[0].sql = {u"SELECT FROM"_s}; },
         u"não pôde ser executado"_s},
        {"a total on a text column", Taxes, [](ReportDefinition& d) { d.totals = {d.columns[0].field}; },
         u"não é uma coluna de valor ou inteiro"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const QByteArray before = contents(definitionFile(c.file));
        dialogs->shown.clear();
        edit(c.file, c.change);
        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors().constFirst().contains(c.message)) << qPrintable(errors().constFirst());
        EXPECT_EQ(contents(definitionFile(c.file)), before);
    }
}

TEST_F(ReportEditingTest, ASavedDefinitionReadsBackAsEditedAndItsHiddenColumnIsLeftOut)
{
    startOnSampleData();
    ReportDefinition edited;
    edit(GiaSp, [&edited](ReportDefinition& d) {
        d.columns[1].caption = u"Número"_s;
        d.columns.swapItemsAt(0, 1);
        d.columns[2].shown = false;
        d.orientation = QPageLayout::Portrait;
        edited = d;
    });
    EXPECT_TRUE(errors().isEmpty()) << qPrintable(errors().join(u'\n'));
    const ReportDefinition saved = ReportDefinition::fromFile(definitionFile(GiaSp));
    EXPECT_EQ(saved.toJson(), edited.toJson());

    const auto layout =
        child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(ReportDefinition::fromFile(definitionFile(Taxes)));
    EXPECT_EQ(layout->data().definition.columns.size(),
              ReportDefinition::fromFile(definitionFile(Taxes)).columns.size());
    const auto hidden = child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(saved);
    EXPECT_EQ(hidden->data().definition.columns.size(), saved.columns.size() - 1);
    EXPECT_EQ(hidden->data().definition.columns[0].caption, u"Número"_s);
}

TEST_F(ReportEditingTest, ANewReportJoinsTheListUnderItsNewTitleAndATakenOrEmptyTitleIsRefused)
{
    TfrmConFisc& screen = startOnSampleData();
    EXPECT_TRUE(dialogs->progressTitles.contains(u"Validando tradução de relatórios"_s))
        << "the definitions are read under the base form's progress";
    auto* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
    reports->setItemIndex(reports->findText(u"Apuração de Impostos"_s));
    const int before = reports->count();

    for (const QString& title : {u"  "_s, u"apuração de impostos"_s}) {
        SCOPED_TRACE(title.toStdString());
        dialogs->shown.clear();
        dialogs->answerText(title);
        edit(
            Taxes, [](ReportDefinition&) {}, ScriptedDialogs::EditEnd::SaveAsNew);
        EXPECT_EQ(errors().size(), 1);
        EXPECT_EQ(reports->count(), before);
    }
    EXPECT_EQ(DefinitionFiles(work.filePath(u"reports/RLX582"_s)).size(), before);

    dialogs->shown.clear();
    dialogs->answerText(u"Apuração de Impostos - só ICMS"_s);
    edit(
        Taxes, [](ReportDefinition& d) { d.columns[0].caption = u"Imposto"_s; }, ScriptedDialogs::EditEnd::SaveAsNew);
    EXPECT_TRUE(errors().isEmpty()) << qPrintable(errors().join(u'\n'));
    ASSERT_EQ(dialogs->texts(u"text"_s), QStringList{u"Informe o título do relatório:"_s});
    EXPECT_EQ(dialogs->shown.constLast().title, u"Título do relatório"_s) << "the question's caption";
    EXPECT_EQ(reports->count(), before + 1);
    EXPECT_EQ(reports->itemText(before), u"Apuração de Impostos - só ICMS"_s);
    EXPECT_EQ(reports->currentText(), u"Apuração de Impostos"_s) << "the chosen report stays chosen";
    EXPECT_TRUE(QFile::exists(definitionFile(u"10-apuracao-de-impostos-so-icms.json"_s)));
}
