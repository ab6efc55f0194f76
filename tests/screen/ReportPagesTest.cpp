// The first page of a report as the screen runs it on the sample data: its parameter block tells the analyst what was
// asked in words, and what the report could not apply; long reports repeat a group's heading on the next page.
#include "LookupFixture.h"

#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TNotebook.h"
#include "TRadioButton.h"
#include "TReportDesignerDialog.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

using ReportPagesTest = LookupTest;

QStringList TextsOf(const PageContent& page)
{
    QStringList texts;
    for (const PageItem& item : page)
        if (item.kind == PageItem::Kind::Text)
            texts.append(item.text);
    return texts;
}

} // namespace

TEST_F(ReportPagesTest, TheFirstPageTellsTheParametersInWordsAndLongGroupsGoOnUnderTheirHeading)
{
    struct Case {
        QString title;
        QString taxOrBook, company, registration, start, end, cfop, cst, models, types;
        QStringList block; // the screen's lines of the parameter block, in order
    };
    const QList<Case> cases = {
        {u"Listagem de Documentos - GIA SP"_s,
         u"01"_s,
         u"01"_s,
         u"123456785119"_s,
         u"01/03/2025"_s,
         u"31/03/2025"_s,
         {},
         u"060"_s,
         u"55"_s,
         u"SVD"_s,
         {u"Imposto: 01 - ICMS"_s, u"Empresa: 01 - Comercial Paulista de Alimentos Ltda"_s,
          u"Inscrição estadual: 123456785119"_s, u"Entrada/Saída: Todas"_s, u"Período: 01/03/2025 a 31/03/2025"_s,
          u"CFOP: todos"_s, u"CST: não se aplica a este relatório"_s, u"Modelos: 55"_s, u"Tipos de operação: SVD"_s}},
        {u"Operações por CST - SPED Contribuições"_s,
         u"0000000010"_s,
         u"01"_s,
         {},
         u"01/01/2025"_s,
         u"31/12/2025"_s,
         u"5102"_s,
         {},
         {},
         u"SVD,ECO"_s,
         {u"Livro: 0000000010 - Apuração PIS/COFINS"_s, u"Empresa: 01 - Comercial Paulista de Alimentos Ltda"_s,
          u"Entrada/Saída: Todas"_s, u"Período: 01/01/2025 a 31/12/2025"_s, u"CFOP: 5.102"_s, u"CST: todos"_s,
          u"Modelos: todos"_s, u"Tipos de operação: SVD, ECO"_s}},
        {u"Apuração de Impostos"_s,
         {},
         u"02"_s,
         {},
         u"01/10/2025"_s,
         u"31/10/2025"_s,
         {},
         {},
         {},
         {},
         {u"Empresa: 02 - Metalúrgica Gaúcha S.A."_s, u"Período: 01/10/2025 a 31/10/2025"_s}},
    };
    TfrmConFisc& screen = startOnSampleData();
    auto* reports = child<TComboBox>(u"cbbReportNames"_s);
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.title));
        reports->setItemIndex(reports->findText(c.title));
        screen.cbbReportNamesChange(reports);
        if (!c.taxOrBook.isEmpty())
            (screen.nbkImposto->pageIndex() == TfrmConFisc::TaxPage ? screen.medImposto : screen.medLivro)
                ->setText(c.taxOrBook);
        screen.medEmpresa->setText(c.company);
        if (!c.registration.isEmpty())
            screen.edtInscricao->setText(c.registration);
        screen.cbbEntrSaid->setItemIndex(2);
        screen.depInicial->setText(c.start);
        screen.depFinal->setText(c.end);
        screen.medCfop->setText(c.cfop);
        screen.medCst->setText(c.cst);
        (c.models.isEmpty() ? screen.rdbTodosMod : screen.rdbListaMod)->setChecked(true);
        stListaMod = c.models;
        (c.types.isEmpty() ? screen.rdbTodosTp : screen.rdbListaTp)->setChecked(true);
        stListaTp = c.types;
        screen.Vd_ValidaCampos(true);
        const QDir definitions(HostSettings::current().reportsDir + u"/RLX582"_s);
        const QString file =
            definitions.filePath(definitions.entryList({u"*.json"_s}, QDir::Files, QDir::Name)[reports->itemIndex()]);

        const auto layout = child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(ReportDefinition::fromFile(file));

        const QStringList first = TextsOf(layout->page(0));
        const qsizetype block = first.indexOf(u"Parâmetros"_s) + 1;
        ASSERT_GT(block, 0);
        EXPECT_EQ(first.mid(block, c.block.size()), c.block);
        EXPECT_TRUE(first.value(block + c.block.size()).startsWith(u"P_"_s)) << "then every value bound";
        EXPECT_TRUE(first.contains(u"P_EMPRESA = "_s + c.company));
        EXPECT_EQ(layout->data().description.subject, c.block.filter(u"Empresa: "_s).value(0).mid(9));

        int continued = 0;
        for (int page = 1; page < layout->pageCount(); ++page)
            continued += TextsOf(layout->page(page)).filter(u"(continuação)"_s).size();
        if (c.title.startsWith(u"Operações por CST"_s)) {
            EXPECT_GT(continued, 0) << layout->pageCount() << " pages";
        }
    }
    EXPECT_TRUE(errors().isEmpty()) << qPrintable(errors().join(u'\n'));
}
