// The files a report is saved as: what a reader of each finds in it, and that a save is whole or nothing.
#include "ReportFixture.h"

#include "Exceptions.h"
#include "ReportFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <optional>

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

void write(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString unzipped(const QString& fileName, const QString& entry)
{
    return output(u"unzip"_s, {u"-p"_s, fileName, entry});
}

// A cell of the sheet as "text:...", "number:..." or "formula:...", "" when the sheet has none there.
QString cellOf(const QString& sheet, const QString& reference)
{
    const QRegularExpressionMatch cell =
        QRegularExpression(u"<c r=\"%1\"([^>]*)>(.*?)</c>"_s.arg(reference)).match(sheet);
    if (!cell.hasMatch())
        return {};
    const QString inner = cell.captured(2);
    if (inner.contains(u"<f>"_s))
        return u"formula:"_s + inner;
    if (cell.captured(1).contains(u"t=\"inlineStr\""_s) || cell.captured(1).contains(u"t=\"str\""_s))
        return u"text:"_s + QRegularExpression(u"<t[^>]*>(.*)</t>"_s).match(inner).captured(1);
    return u"number:"_s + QRegularExpression(u"<v>(.*)</v>"_s).match(inner).captured(1);
}

} // namespace

// A PDF/A-1b document for the archive, which names its report, its company and its maker.
TEST_F(ReportFilesTest, ThePdfsTextHoldsTheTitleEveryParameterTheSubtotalsAndTheTotals)
{
    description = {{u"Empresa: 01 - Comercial Paulista"_s, u"Modelos: todos"_s}, u"01 - Comercial Paulista"_s};
    const auto layout = run(definition(SalesDefinition()));
    NoProgress progress;
    saveReport(layout->sharedData(), path(u"vendas.PDF"_s), progress);

    const QString info = output(u"pdfinfo"_s, {path(u"vendas.PDF"_s)});
    for (const QString& expected : {u"Title: +Vendas por CFOP\n"_s, u"Subject: +01 - Comercial Paulista\n"_s,
                                    u"Creator: +Conferência Fiscal\n"_s})
        EXPECT_TRUE(info.contains(QRegularExpression(expected))) << qPrintable(expected) << "\n" << qPrintable(info);
    const QString metadata = output(u"pdfinfo"_s, {u"-meta"_s, path(u"vendas.PDF"_s)});
    EXPECT_TRUE(metadata.contains(u"pdfaid:part=\"1\""_s) && metadata.contains(u"pdfaid:conformance=\"B\""_s) &&
                metadata.contains(u"01 - Comercial Paulista"_s))
        << qPrintable(metadata);

    const QString text = output(u"pdftotext"_s, {u"-layout"_s, path(u"vendas.PDF"_s), u"-"_s});
    for (const QString& expected :
         {u"Vendas por CFOP"_s, u"RLX582"_s, u"Empresa: 01, primeira nota 000010"_s,
          u"Período: 01/03/2025 a 31/03/2025"_s, u"Empresa: 01 - Comercial Paulista"_s, u"Modelos: todos"_s,
          u"P_EMPRESA = 01"_s, u"P_DTINICIO = 01/03/2025"_s, u"P_DTFINAL = 31/03/2025"_s, u"CFOP: 5.102"_s,
          u"Feijão \"carioca\"; 1 kg"_s, u"Subtotal CFOP 5.102"_s, u"1.334,96"_s, u"-10,50"_s, u"Total geral"_s,
          u"1.324,46"_s, u"Página 1 de 1"_s, u"Emitido em"_s})
        EXPECT_TRUE(text.contains(expected)) << qPrintable(expected) << "\n" << qPrintable(text);
}

TEST_F(ReportFilesTest, TheCsvIsUtf8WithSemicolonsDecimalCommasAndQuotedFields)
{
    const auto layout = run(definition(SalesDefinition()));
    NoProgress progress;
    saveReport(layout->sharedData(), path(u"vendas.csv"_s), progress);

    const QByteArray expected = "\xEF\xBB\xBF"
                                "CFOP;Número;Emissão;Produto;Valor;Itens\r\n"
                                "\"5102\";\"000010\";02/03/2025;\"Arroz tipo 1\";1234,56;3\r\n"
                                "\"5102\";\"000011\";05/03/2025;\"Feijão \"\"carioca\"\"; 1 kg\";100,40;1\r\n"
                                "\"5405\";\"000012\";09/03/2025;\"Óleo de soja\";-10,50;2\r\n"
                                "\"6102\";\"000013\";20/03/2025;\"Café\ntorrado\";;1\r\n";
    EXPECT_EQ(contents(path(u"vendas.csv"_s)), expected);
}

TEST_F(ReportFilesTest, TheXlsxSheetHoldsNumbersAndDatesUnderAFrozenFilteredHeader)
{
    description.subject = u"01 - Comercial Paulista"_s;
    const auto layout = run(definition(SalesDefinition()));
    NoProgress progress;
    saveReport(layout->sharedData(), path(u"vendas.xlsx"_s), progress);

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

    const QString properties = unzipped(path(u"vendas.xlsx"_s), u"docProps/core.xml"_s) +
                               unzipped(path(u"vendas.xlsx"_s), u"docProps/app.xml"_s);
    for (const QString& expected :
         {u"<dc:title>Vendas por CFOP</dc:title>"_s, u"<dc:subject>01 - Comercial Paulista</dc:subject>"_s,
          u"<dc:creator>Conferência Fiscal</dc:creator>"_s, u"<Application>Conferência Fiscal</Application>"_s})
        EXPECT_TRUE(properties.contains(expected)) << qPrintable(expected) << "\n" << qPrintable(properties);
    EXPECT_FALSE(properties.contains(u"AppVersion"_s)) << "no other program's version";
}

// Each exported row tells its groups apart, keeps its codes as texts and runs no formula; amounts stay numbers.
TEST_F(ReportFilesTest, CodesFormulasAndGroupsReadAlikeInCsvAndXlsx)
{
    exec(u"CREATE TABLE ITEM (CDEMPRESA TEXT, CDINSC TEXT, CDFISCOPER TEXT, CDSITUTRIB TEXT, NRNOTA TEXT, "
         "DSITEM TEXT, VRITEM REAL)"_s);
    const struct {
        const char* name;
        QString values; // of ITEM, in the report's order
        QByteArray csv;
        QStringList xlsx; // columns C (CFOP) to G (value)
    } cases[] = {
        {"codes keep their zeros",
         u"'01', '111', '5102', '060', '006245', 'Arroz', 10"_s,
         "\"01\";\"111\";\"5102\";\"060\";\"006245\";\"Arroz\";10,00",
         {u"text:5102"_s, u"text:060"_s, u"text:006245"_s, u"text:Arroz"_s, u"number:10"_s}},
        {"a formula is a text",
         u"'01', '111', '5102', '000', '000001', '=1+2', 1"_s,
         "\"01\";\"111\";\"5102\";\"000\";\"000001\";\"'=1+2\";1,00",
         {u"text:5102"_s, u"text:000"_s, u"text:000001"_s, u"text:=1+2"_s, u"number:1"_s}},
        {"plus, minus and at are texts",
         u"'01', '111', '5102', '+10', '-5', '@SOMA(A1)', 2"_s,
         "\"01\";\"111\";\"5102\";\"'+10\";\"'-5\";\"'@SOMA(A1)\";2,00",
         {u"text:5102"_s, u"text:+10"_s, u"text:-5"_s, u"text:@SOMA(A1)"_s, u"number:2"_s}},
        {"a negative amount is a number",
         u"'01', '222', '5405', '010', '000002', 'Estorno', -10.5"_s,
         "\"01\";\"222\";\"5405\";\"010\";\"000002\";\"Estorno\";-10,50",
         {u"text:5405"_s, u"text:010"_s, u"text:000002"_s, u"text:Estorno"_s, u"number:-10.5"_s}},
        {"the same row under another company",
         u"'02', '222', '5405', '010', '000002', 'Estorno', -10.5"_s,
         "\"02\";\"222\";\"5405\";\"010\";\"000002\";\"Estorno\";-10,50",
         {u"text:5405"_s, u"text:010"_s, u"text:000002"_s, u"text:Estorno"_s, u"number:-10.5"_s}},
    };
    for (const auto& c : cases)
        exec(u"INSERT INTO ITEM VALUES (%1)"_s.arg(c.values));
    const auto layout = run(definition(uR"({
      "code": "RLX582", "title": "Itens", "orientation": "portrait",
      "queries": [{"name": "qryItens", "sql": ["SELECT * FROM ITEM WHERE :P_EMPRESA <> '' ORDER BY rowid"]}],
      "detail": "qryItens",
      "columns": [
        {"field": "CDFISCOPER", "caption": "CFOP", "format": "cfop"}, {"field": "CDSITUTRIB", "caption": "CST"},
        {"field": "NRNOTA", "caption": "Número"}, {"field": "DSITEM", "caption": "Item"},
        {"field": "VRITEM", "caption": "Valor", "format": "amount"}
      ],
      "groups": [{"field": "CDEMPRESA", "caption": "Empresa"}, {"field": "CDINSC", "caption": "Inscrição"}]
    })"_s));
    NoProgress progress;
    saveReport(layout->sharedData(), path(u"itens.csv"_s), progress);
    saveReport(layout->sharedData(), path(u"itens.xlsx"_s), progress);

    const QList<QByteArray> csv = contents(path(u"itens.csv"_s)).split('\n');
    EXPECT_EQ(csv.value(0), "\xEF\xBB\xBF"
                            "Empresa;Inscrição;CFOP;CST;Número;Item;Valor\r");
    const QString sheet = unzipped(path(u"itens.xlsx"_s), u"xl/worksheets/sheet1.xml"_s);
    EXPECT_EQ(cellOf(sheet, u"A1"_s) + cellOf(sheet, u"B1"_s), u"text:Empresatext:Inscrição"_s);
    for (int row = 0; row < int(std::size(cases)); ++row) {
        SCOPED_TRACE(cases[row].name);
        EXPECT_EQ(csv.value(row + 1), cases[row].csv + '\r');
        QStringList cells;
        for (const char column : {'C', 'D', 'E', 'F', 'G'})
            cells.append(cellOf(sheet, u"%1%2"_s.arg(QLatin1Char(column)).arg(row + 2)));
        EXPECT_EQ(cells, cases[row].xlsx) << qPrintable(sheet);
    }
}

// Whatever stops a save, nothing is left half-made: the earlier file as it was, no temporary file beside it or in the
// temporary folder; a file replaced keeps its permissions.
TEST_F(ReportFilesTest, ASaveThatStopsMidwayLeavesNoFileAndTheEarlierOneIntact)
{
    exec(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 5000) "
         "INSERT INTO VENDA SELECT '01', '5102', printf('%06d', 100 + I), '2025-03-15', 'Item', I, 1 FROM N"_s);
    const auto layout = run(definition(SalesDefinition()));
    ASSERT_GT(layout->pageCount(), 2);
    QTemporaryDir temporary;
    const std::optional<QByteArray> temporaryFolder =
        qEnvironmentVariableIsSet("TMPDIR") ? std::optional(qgetenv("TMPDIR")) : std::nullopt;
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions ownerAndGroup = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    const struct {
        const char* name;
        QFile::Permissions earlier;
        int cancelAt; // 0: never
        QString refusal;
    } cases[] = {
        {"cancelled midway", ownerAndGroup, 2, {}},
        {"a write-protected file", readOnly, 0, u"protegido contra gravação"_s},
        {"saved over a file of the owner and the group", ownerAndGroup, 0, {}},
    };
    for (const QString& type : {u"pdf"_s, u"csv"_s, u"xlsx"_s})
        for (const auto& c : cases) {
            SCOPED_TRACE(qPrintable(type + u": "_s + QLatin1StringView(c.name)));
            const QString fileName = path(u"vendas."_s + type);
            QFile::remove(fileName);
            write(fileName, "o arquivo de ontem");
            ASSERT_TRUE(QFile::setPermissions(fileName, c.earlier));
            const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

            CancelAt cancel(c.cancelAt);
            try {
                saveReport(layout->sharedData(), fileName, cancel);
                EXPECT_TRUE(c.refusal.isEmpty() && c.cancelAt == 0) << "saved";
                EXPECT_NE(contents(fileName), "o arquivo de ontem");
            } catch (const EAbort&) {
                EXPECT_NE(c.cancelAt, 0) << "cancelled";
                EXPECT_EQ(contents(fileName), "o arquivo de ontem");
            } catch (const EFileWriteError& e) {
                EXPECT_TRUE(e.message().contains(fileName) && e.message().contains(c.refusal))
                    << qPrintable(e.message());
                EXPECT_EQ(contents(fileName), "o arquivo de ontem");
            }
            EXPECT_EQ(QFile::permissions(fileName) & 0x7077, c.earlier) << "owner, group and others as they were";
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before) << "no temporary file left";
            EXPECT_TRUE(QDir(temporary.path()).isEmpty()) << "no temporary folder left";
            QFile::setPermissions(fileName, ownerAndGroup);
        }
    if (temporaryFolder)
        qputenv("TMPDIR", *temporaryFolder);
    else
        qunsetenv("TMPDIR");

    for (const QString& type : {u"pdf"_s, u"csv"_s, u"xlsx"_s}) {
        const QString nowhere = path(u"pasta-inexistente/vendas."_s + type);
        NoProgress progress;
        try {
            saveReport(layout->sharedData(), nowhere, progress);
            ADD_FAILURE() << "saved into a folder that is not there";
        } catch (const EFileWriteError& e) {
            EXPECT_TRUE(e.message().contains(nowhere)) << qPrintable(e.message());
        }
        EXPECT_FALSE(QFile::exists(nowhere));
    }
}
