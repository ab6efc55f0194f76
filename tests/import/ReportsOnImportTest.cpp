// The nine reports, saved by host-app --batch against the real server, on a database holding only what fiscal-import
// read from the sample files: each shows what the files hold, the planted findings among it.
#include "ImportFixture.h"
#include "TestServer.h"

#include <QTemporaryDir>

namespace {

using Rows = QList<QStringList>;

// The report saved as CSV: its captions, then its rows.
struct Report {
    int exitCode = -1;
    QString err;
    QStringList captions;
    Rows rows;

    // The values of the columns whose caption starts with "Dif." (book less invoices) that are not zero.
    QStringList differences(const QStringList& row) const
    {
        QStringList found;
        for (int i = 0; i < captions.size() && i < row.size(); ++i)
            if (captions[i].startsWith(u"Dif."_s) && row[i] != u"0,00"_s)
                found.append(row[i]);
        return found;
    }
};

Report saveReport(const TestServer& server, const QString& title, const QStringList& arguments)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(u"relatorio.csv"_s);
    QProcess hostApp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.remove(u"DISPLAY"_s);
    hostApp.setProcessEnvironment(environment);
    hostApp.start(QString::fromUtf8(HOST_APP),
                  QStringList{u"--server"_s, u"127.0.0.1:%1"_s.arg(server.port()), u"--db"_s, server.databasePath(),
                              u"--reports"_s, QString::fromUtf8(FISCAL_SOURCE_DIR "/reports"), u"--batch"_s,
                              u"--open"_s, u"RLX58200"_s, u"--report"_s, title, u"--output"_s, csv} +
                      arguments);
    Report report;
    if (!hostApp.waitForFinished(60000))
        return report;
    report.exitCode = hostApp.exitCode();
    report.err = QString::fromUtf8(hostApp.readAllStandardError());
    QString text = QString::fromUtf8(contentOf(csv));
    text.remove(QChar(0xFEFF));
    for (const QString& line : text.split(u"\r\n"_s, Qt::SkipEmptyParts)) {
        QStringList cells = line.split(u';');
        for (QString& cell : cells) // codes come quoted, so that a spreadsheet keeps their zeros
            if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"'))
                cell = cell.mid(1, cell.size() - 2).replace(u"\"\""_s, u"\""_s);
        report.rows.append(cells);
    }
    if (!report.rows.isEmpty())
        report.captions = report.rows.takeFirst();
    return report;
}

// The rows that hold value in some column.
Rows rowsWith(const Report& report, const QString& value)
{
    Rows found;
    for (const QStringList& row : report.rows)
        if (row.contains(value))
            found.append(row);
    return found;
}

} // namespace

TEST(ReportsOnImport, EachReportShowsWhatTheImportedFilesHold)
{
    const TestServer server({}, TestServer::Data::SchemaOnly);
    const ProgramRun imported = fiscalImport({u"--db"_s, server.databasePath(), sampleFiles()});
    ASSERT_EQ(imported.exitCode, 0) << qPrintable(imported.out + imported.err);
    const QString december01 = u"01;01;123456785119;01/12/2024;31/12/2024"_s;
    const QString december02 = u"01;02;0961234563;01/12/2024;31/12/2024"_s;
    const QString pisCofins01 = u"04;01;;01/12/2024;31/12/2024"_s;
    const QStringList all = {u"--direction"_s, u"Todas"_s};
    const QStringList book = {u"--book"_s, u"0000000010"_s, u"--direction"_s, u"Todas"_s};

    {
        SCOPED_TRACE("Nota Fiscal Pendente: the entry received and never booked, and nothing booked or cancelled");
        const Report report =
            saveReport(server, u"Nota Fiscal Pendente"_s, QStringList{u"--preset"_s, december01} + all);
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        EXPECT_EQ(rowsWith(report, u"55120"_s).size(), 1);
        for (const QString& number : {u"1001"_s, u"1003"_s, u"34567"_s, u"8812"_s})
            EXPECT_TRUE(rowsWith(report, number).isEmpty()) << qPrintable(number);
    }
    {
        SCOPED_TRACE("Listagem de Documentos - GIA SP: the company's documents, not the cancelled one");
        const Report report =
            saveReport(server, u"Listagem de Documentos - GIA SP"_s, QStringList{u"--preset"_s, december01} + all);
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        for (const QString& number : {u"1001"_s, u"1002"_s, u"501"_s, u"34567"_s, u"8812"_s})
            EXPECT_EQ(rowsWith(report, number).size(), 1) << qPrintable(number);
        EXPECT_TRUE(rowsWith(report, u"1003"_s).isEmpty());
    }
    {
        SCOPED_TRACE("Apuração de Impostos: the ICMS map of E110 with its E111 adjustment, the IPI map of E520");
        const Report report = saveReport(server, u"Apuração de Impostos"_s, {u"--preset"_s, december02});
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        ASSERT_EQ(rowsWith(report, u"Apuração ICMS 12/2024"_s).size(), 1);
        EXPECT_TRUE(rowsWith(report, u"Apuração ICMS 12/2024"_s).first().contains(u"702,00"_s));
        ASSERT_EQ(rowsWith(report, u"Apuração IPI 12/2024"_s).size(), 1);
        EXPECT_TRUE(rowsWith(report, u"Apuração IPI 12/2024"_s).first().contains(u"900,00"_s));
        const auto adjustment = std::find_if(report.rows.begin(), report.rows.end(), [](const QStringList& row) {
            return std::any_of(row.begin(), row.end(), [](const QString& cell) {
                return cell.trimmed() == u"RS020015 - Crédito presumido - indústria"_s;
            });
        });
        ASSERT_NE(adjustment, report.rows.end());
        EXPECT_TRUE(adjustment->contains(u"150,00"_s));
    }
    {
        SCOPED_TRACE("Conferência GIA RS: the entry booked on a base 400,00 above its XML, and nothing else");
        const Report report = saveReport(server, u"Conferência GIA RS"_s, {u"--preset"_s, december02});
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        ASSERT_EQ(rowsWith(report, u"2101"_s).size(), 1);
        EXPECT_EQ(report.differences(rowsWith(report, u"2101"_s).first()), (QStringList{u"400,00"_s, u"48,00"_s}));
        for (const QString& cfop : {u"5101"_s, u"6101"_s}) {
            ASSERT_EQ(rowsWith(report, cfop).size(), 1) << qPrintable(cfop);
            EXPECT_EQ(report.differences(rowsWith(report, cfop).first()), QStringList()) << qPrintable(cfop);
        }
    }
    {
        SCOPED_TRACE("Consolidação: the COFINS the EFD-Contribuições declares 10,00 above the XMLs, on CST 50");
        const Report report = saveReport(server, u"Consolidação das Operações por CST - SPED Contribuições"_s,
                                         QStringList{u"--preset"_s, pisCofins01} + book);
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        Rows diverging;
        for (const QStringList& row : report.rows)
            if (!report.differences(row).isEmpty())
                diverging.append(row);
        ASSERT_EQ(diverging.size(), 1);
        EXPECT_TRUE(diverging.first().contains(u"50"_s) && diverging.first().contains(u"7,60"_s));
        EXPECT_EQ(report.differences(diverging.first()), QStringList{u"10,00"_s});
    }
    {
        SCOPED_TRACE("Divergência BC: the sale whose PIS/COFINS base keeps the ICMS");
        const Report report = saveReport(server, u"Divergência BC - SPED Contribuições"_s,
                                         QStringList{u"--preset"_s, pisCofins01} + book);
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        EXPECT_FALSE(report.rows.isEmpty());
        EXPECT_EQ(rowsWith(report, u"1002"_s).size(), report.rows.size());
    }
    {
        SCOPED_TRACE("Operações por CST: the booked items, not the pending nor the cancelled");
        const Report report = saveReport(server, u"Operações por CST - SPED Contribuições"_s,
                                         QStringList{u"--preset"_s, pisCofins01} + book);
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        for (const QString& number : {u"1001"_s, u"1002"_s, u"501"_s, u"34567"_s, u"8812"_s})
            EXPECT_FALSE(rowsWith(report, number).isEmpty()) << qPrintable(number);
        for (const QString& number : {u"55120"_s, u"1003"_s})
            EXPECT_TRUE(rowsWith(report, number).isEmpty()) << qPrintable(number);
    }
    {
        SCOPED_TRACE("Operações por CFOP: the booked items under their booked CFOPs");
        const Report report = saveReport(server, u"Operações por CFOP - SPED Contribuições"_s,
                                         QStringList{u"--preset"_s, pisCofins01} + book);
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        for (const QString& cfop : {u"1102"_s, u"2102"_s, u"5102"_s, u"6102"_s}) // a row for PIS, one for COFINS
            EXPECT_EQ(rowsWith(report, cfop).size(), 2) << qPrintable(cfop);
    }
    {
        SCOPED_TRACE("Pré-validação PIS/COFINS: no rule broken by the sample");
        const Report report =
            saveReport(server, u"Pré-validação PIS/COFINS"_s, QStringList{u"--preset"_s, pisCofins01} + book);
        ASSERT_EQ(report.exitCode, 0) << qPrintable(report.err);
        EXPECT_TRUE(report.rows.isEmpty());
    }
}
