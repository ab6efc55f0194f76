// The files a report is saved as: what a reader of each finds in it, and that a save is whole or nothing.
#include "ReportFixture.h"

#include "Exceptions.h"
#include "ReportFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

using ReportFilesTest = ReportTest;

QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << qPrintable(program);
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray contents(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(ReportFilesTest, ThePdfsTextHoldsTheTitleEveryParameterTheSubtotalsAndTheTotals)
{
    const auto layout = run(definition(SalesDefinition()));
    NoProgress progress;
    saveReport(*layout, path(u"vendas.PDF"_s), progress);

    const QString text = output(u"pdftotext"_s, {u"-layout"_s, path(u"vendas.PDF"_s), u"-"_s});
    for (const QString& expected :
         {u"Vendas por CFOP"_s, u"RLX582"_s, u"Empresa: 01, primeira nota 000010"_s,
          u"Período: 01/03/2025 a 31/03/2025"_s, u"P_EMPRESA = 01"_s, u"P_DTINICIO = 01/03/2025"_s,
          u"P_DTFINAL = 31/03/2025"_s, u"CFOP: 5.102"_s, u"Feijão \"carioca\"; 1 kg"_s, u"Subtotal CFOP 5.102"_s,
          u"1.334,96"_s, u"-10,50"_s, u"Total geral"_s, u"1.324,46"_s, u"Página 1 de 1"_s, u"Emitido em"_s})
        EXPECT_TRUE(text.contains(expected)) << qPrintable(expected) << "\n" << qPrintable(text);
}

TEST_F(ReportFilesTest, TheCsvIsUtf8WithSemicolonsDecimalCommasAndQuotedFields)
{
    const auto layout = run(definition(SalesDefinition()));
    NoProgress progress;
    saveReport(*layout, path(u"vendas.csv"_s), progress);

    const QByteArray expected = "\xEF\xBB\xBF"
                                "CFOP;Número;Emissão;Produto;Valor;Itens\r\n"
                                "5102;000010;02/03/2025;Arroz tipo 1;1234,56;3\r\n"
                                "5102;000011;05/03/2025;\"Feijão \"\"carioca\"\"; 1 kg\";100,40;1\r\n"
                                "5405;000012;09/03/2025;Óleo de soja;-10,50;2\r\n"
                                "6102;000013;20/03/2025;\"Café\ntorrado\";;1\r\n";
    EXPECT_EQ(contents(path(u"vendas.csv"_s)), expected);
}

TEST_F(ReportFilesTest, TheXlsxSheetHoldsNumbersAndDatesUnderAFrozenFilteredHeader)
{
    const auto layout = run(definition(SalesDefinition()));
    NoProgress progress;
    saveReport(*layout, path(u"vendas.xlsx"_s), progress);

    const QString sheet = output(u"unzip"_s, {u"-p"_s, path(u"vendas.xlsx"_s), u"xl/worksheets/sheet1.xml"_s});
    // A number cell has a style (its number format) and no type: it is not a text.
    const auto number = [&](const char* cell, const char* value) {
        return sheet.contains(QRegularExpression(u"<c r=\"%1\" s=\"\\d+\"><v>%2</v></c>"_s.arg(
            QLatin1StringView(cell), QRegularExpression::escape(QLatin1StringView(value)))));
    };
    EXPECT_TRUE(number("E2", "1234.56")) << qPrintable(sheet);
    EXPECT_TRUE(number("E4", "-10.5"));
    EXPECT_TRUE(number("F2", "3")) << "whole numbers";
    EXPECT_TRUE(number("C2", "45718")) << "02/03/2025 as a date serial";
    EXPECT_FALSE(sheet.contains(u"r=\"E5\""_s)) << "no cell for a value the row lacks";
    EXPECT_TRUE(sheet.contains(u"ySplit=\"1\""_s)) << "the header row frozen";
    EXPECT_TRUE(sheet.contains(u"<autoFilter ref=\"A1:F5\"/>"_s));
    const QString styles = output(u"unzip"_s, {u"-p"_s, path(u"vendas.xlsx"_s), u"xl/styles.xml"_s});
    EXPECT_TRUE(styles.contains(u"formatCode=\"#,##0.00\""_s) && styles.contains(u"formatCode=\"dd/mm/yyyy\""_s));
    EXPECT_TRUE(styles.contains(u"<b/>"_s)) << "a bold header";
}

// A cancel midway, or a folder that is not there, leaves no file and an earlier file as it was.
TEST_F(ReportFilesTest, ASaveThatStopsMidwayLeavesNoFileAndTheEarlierOneIntact)
{
    exec(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 5000) "
         "INSERT INTO VENDA SELECT '01', '5102', printf('%06d', 100 + I), '2025-03-15', 'Item', I, 1 FROM N"_s);
    const auto layout = run(definition(SalesDefinition()));
    ASSERT_GT(layout->pageCount(), 2);
    for (const QString& type : {u"pdf"_s, u"csv"_s, u"xlsx"_s}) {
        SCOPED_TRACE(qPrintable(type));
        const QString fileName = path(u"vendas."_s + type);
        QFile earlier(fileName);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("o arquivo de ontem");
        earlier.close();
        const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

        CancelAt cancel(2);
        EXPECT_THROW(saveReport(*layout, fileName, cancel), EAbort);
        EXPECT_EQ(contents(fileName), "o arquivo de ontem");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before) << "no temporary file left";

        const QString nowhere = path(u"pasta-inexistente/vendas."_s + type);
        NoProgress progress;
        try {
            saveReport(*layout, nowhere, progress);
            ADD_FAILURE() << "saved into a folder that is not there";
        } catch (const EFileWriteError& e) {
            EXPECT_TRUE(e.message().contains(nowhere)) << qPrintable(e.message());
        }
        EXPECT_FALSE(QFile::exists(nowhere));
    }
}
