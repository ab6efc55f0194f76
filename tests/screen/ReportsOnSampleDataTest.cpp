// Each report of the screen, run as the base form runs it, on the sample data of a new installation: the rows it
// finds and the totals it prints for parameters that a user would fill in.
#include "LookupFixture.h"

#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TNotebook.h"
#include "TReportDesignerDialog.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

using ReportsOnSampleDataTest = LookupTest;

QString AllTexts(const ReportLayout& layout)
{
    QStringList texts;
    for (int page = 0; page < layout.pageCount(); ++page)
        for (const PageItem& item : layout.page(page))
            if (item.kind == PageItem::Kind::Text)
                texts.append(item.text);
    return texts.join(u'|');
}

} // namespace

TEST_F(ReportsOnSampleDataTest, EveryReportFindsItsRowsAndPrintsItsTotals)
{
    struct Case {
        QString title;
        QString taxOrBook, company, registration, start, end;
        int rows;
        QString totals; // the start of the totals line
    };
    const QList<Case> cases = {
        {u"Nota Fiscal Pendente"_s, u"01"_s, u"01"_s, u"123456785119"_s, u"01/01/2025"_s, u"30/06/2025"_s, 7,
         u"Total geral|33.773,74"_s},
        {u"Listagem de Documentos - GIA SP"_s, u"01"_s, u"01"_s, u"123456785119"_s, u"01/03/2025"_s, u"31/03/2025"_s,
         10, u"Total geral|32.935,23|27.527,84|4.300,89|0,00|5.407,39|81,59|0,00"_s},
        {u"Apuração de Impostos"_s,
         {},
         u"02"_s,
         {},
         u"01/10/2025"_s,
         u"31/10/2025"_s,
         6,
         u"Total geral|3.214,28|412,80"_s},
        {u"Conferência GIA RS"_s, u"01"_s, u"02"_s, u"0961234563"_s, u"01/01/2025"_s, u"31/03/2025"_s, 6,
         u"|150,00|"_s},
        {u"Operações por CST - SPED Contribuições"_s,
         u"0000000010"_s,
         u"01"_s,
         {},
         u"01/05/2025"_s,
         u"31/05/2025"_s,
         27,
         u"|636,93|"_s},
        {u"Consolidação das Operações por CST - SPED Contribuições"_s,
         u"0000000010"_s,
         u"01"_s,
         {},
         u"01/05/2025"_s,
         u"31/05/2025"_s,
         8,
         u"|12,34"_s},
        {u"Operações por CFOP - SPED Contribuições"_s,
         u"0000000010"_s,
         u"01"_s,
         {},
         u"01/05/2025"_s,
         u"31/05/2025"_s,
         9,
         u"Total geral|27|"_s},
        {u"Divergência BC - SPED Contribuições"_s,
         u"0000000010"_s,
         u"01"_s,
         {},
         u"01/05/2025"_s,
         u"31/05/2025"_s,
         5,
         u"Total geral|715,31|746,42|31,11"_s},
        {u"Pré-validação PIS/COFINS"_s,
         u"0000000010"_s,
         u"01"_s,
         {},
         u"01/05/2025"_s,
         u"31/05/2025"_s,
         2,
         u"Total geral|31,03"_s},
    };
    TfrmConFisc& screen = startOnSampleData();
    auto* reports = child<TComboBox>(u"cbbReportNames"_s);
    const QDir definitions(HostSettings::current().reportsDir + u"/RLX582"_s);
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.title));
        reports->setItemIndex(reports->findText(c.title));
        ASSERT_GE(reports->itemIndex(), 0);
        screen.cbbReportNamesChange(reports);
        (screen.nbkImposto->pageIndex() == TfrmConFisc::TaxPage ? screen.medImposto : screen.medLivro)
            ->setText(c.taxOrBook);
        screen.medEmpresa->setText(c.company);
        screen.edtInscricao->setText(c.registration);
        screen.cbbEntrSaid->setItemIndex(2);
        screen.depInicial->setText(c.start);
        screen.depFinal->setText(c.end);
        const QString file =
            definitions.filePath(definitions.entryList({u"*.json"_s}, QDir::Files, QDir::Name)[reports->itemIndex()]);

        const auto layout = child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(ReportDefinition::fromFile(file));

        EXPECT_EQ(layout->data().detail.rows.size(), c.rows);
        const QString texts = AllTexts(*layout);
        EXPECT_TRUE(texts.section(u"Total geral"_s, -1).contains(c.totals.section(u"Total geral"_s, -1)) &&
                    (!c.totals.startsWith(u"Total geral"_s) || texts.contains(c.totals)))
            << qPrintable(texts.section(u"Total geral"_s, -1));
    }
    EXPECT_TRUE(errors().isEmpty()) << qPrintable(errors().join(u'\n'));
}
