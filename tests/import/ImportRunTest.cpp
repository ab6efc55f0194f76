// How an import goes over its files: a replacing EFD replaces its period, a cancel keeps the files finished, an
// XML-only import finds its company through --empresa; and fiscal-import's exit status.
#include "ImportFixture.h"
#include "Importer.h"

#include <QTemporaryDir>

namespace {

// Cancels when asked to step into the file named stopAt.
class CancelAt : public fiscalimport::ImportProgress {
public:
    explicit CancelAt(QString stopAt) : m_stopAt(std::move(stopAt)) {}
    bool step(const QString& file, qint64, qint64) override { return !file.endsWith(m_stopAt); }

private:
    QString m_stopAt;
};

fiscalimport::ImportSummary importPaths(const QString& db, const QStringList& paths, const QString& stopAt = {},
                                        const QString& company = {})
{
    CancelAt progress(stopAt.isEmpty() ? u"\n"_s : stopAt);
    return fiscalimport::Importer(db, company).run(paths, progress);
}

QByteArray sample(const QString& file) { return contentOf(sampleFiles() + u'/' + file); }

} // namespace

TEST(ImportRun, AReplacingFileReplacesThePeriodsBooksAndMapsOfItsCompany)
{
    const TestDatabase database({}, TestDatabase::Data::SchemaOnly);
    const QString db = database.address();
    ASSERT_TRUE(importPaths(db, {sampleFiles()}).refused.isEmpty());
    QTemporaryDir dir;

    // The RS company's book of December again, replacing (COD_FIN 1): the entry booked on its XML's base, the ICMS
    // due recomputed, the adjustment gone.
    QByteArray books = sample(u"efd/efd-icms-ipi-02-122024.txt"_s);
    books.replace("|0000|018|0|", "|0000|018|1|")
        .replace("|8400,00|12,00|1008,00|", "|8000,00|12,00|960,00|")
        .replace("|2101|12,00|8400,00|8400,00|1008,00|", "|2101|12,00|8400,00|8000,00|960,00|")
        .replace("|E110|1860,00|0,00|0,00|0,00|1008,00|0,00|150,00|0,00|0,00|702,00|0,00|702,00|",
                 "|E110|1860,00|0,00|0,00|0,00|960,00|0,00|0,00|0,00|0,00|900,00|0,00|900,00|");
    books.remove(books.indexOf("|E111|"), books.indexOf("\r\n", books.indexOf("|E111|")) + 2 - books.indexOf("|E111|"));
    const qsizetype closing = books.indexOf("\n|9999|") + 1;
    books.replace(closing, books.indexOf('|', closing + 6) - closing,
                  "|9999|" + QByteArray::number(books.left(closing).count('\n') + 1));
    writeFile(dir.filePath(u"retificadora.txt"_s), books);

    const fiscalimport::ImportSummary summary = importPaths(db, {dir.filePath(u"retificadora.txt"_s)});
    ASSERT_TRUE(summary.refused.isEmpty()) << qPrintable(summary.text());
    EXPECT_TRUE(summary.text().contains(
        u"EFD ICMS/IPI 12/2024, empresa 02, inscrição 0961234563: livros e mapas substituídos."_s))
        << qPrintable(summary.text());
    EXPECT_EQ(sqlRows(db, u"SELECT CDLIVROMAG, CDFISCOPER, VRCONTABIL, VRBASECALC, VRIMPOSTO FROM TOTALLIVRO "
                          "WHERE CDEMPRESA = '02' ORDER BY 1, 2"_s),
              (QStringList{u"0000000001|2101|8400.00|8000.00|960.00"_s, u"0000000002|5101|6600.00|6000.00|1020.00"_s,
                           u"0000000002|6101|7700.00|7000.00|840.00"_s}));
    EXPECT_EQ(sqlRows(db, u"SELECT CDIMPOSTO, VRCREDITOENTRADAS, VROUTROSCREDITOS, VRIMPOSTORECOLHER, "
                          "(SELECT COUNT(*) FROM AJUSTEAPUR A WHERE A.NRMAPAAPUR = M.NRMAPAAPUR) FROM MAPAAPUR M "
                          "WHERE CDEMPRESA = '02' ORDER BY 1"_s),
              (QStringList{u"01|960.00|0.00|900.00|0"_s, u"03|400.00|0.00|900.00|0"_s}));
    EXPECT_EQ(sqlRows(db, u"SELECT COUNT(*) FROM TOTALLIVRO WHERE CDEMPRESA = '01'"_s), QStringList{u"8"_s})
        << "the other company's books stay";
}

TEST(ImportRun, ACancelKeepsTheFilesFinishedAndNothingOfTheFileInProgress)
{
    const TestDatabase database({}, TestDatabase::Data::SchemaOnly);
    const QString db = database.address();
    const QString efd = sampleFiles() + u"/efd/"_s;

    // The files go in name order within their kind: 01's book, then 02's, where the cancel comes.
    const fiscalimport::ImportSummary cancelled = importPaths(
        db, {efd + u"efd-icms-ipi-01-122024.txt"_s, efd + u"efd-icms-ipi-02-122024.txt"_s}, u"-02-122024.txt"_s);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.filesImported, 1);
    EXPECT_TRUE(cancelled.text().contains(u"Importação cancelada"_s));
    EXPECT_EQ(sqlRows(db, u"SELECT CDEMPRESA, COUNT(*) FROM NOTAFISCAL GROUP BY CDEMPRESA"_s), QStringList{u"01|5"_s});
    EXPECT_EQ(sqlRows(db, u"SELECT DISTINCT CDEMPRESA FROM MAPAAPUR"_s), QStringList{u"01"_s});
    EXPECT_EQ(sqlRows(db, u"SELECT CDEMPRESA FROM EMPRESA"_s), QStringList{u"01"_s});
}

TEST(ImportRun, AnXmlOnlyImportFindsItsCompanyThroughTheCnpjGiven)
{
    const TestDatabase database({}, TestDatabase::Data::SchemaOnly);
    const QString db = database.address();
    const QString xml = sampleFiles() + u"/nfe/01-entrada-55120-gama-nao-escriturada.xml"_s;

    const fiscalimport::ImportSummary unknown = importPaths(db, {xml});
    ASSERT_EQ(unknown.refused.size(), 1);
    EXPECT_TRUE(unknown.refused.first().reason.contains(u"informe-a com --empresa"_s));

    const fiscalimport::ImportSummary declared = importPaths(db, {xml}, {}, u"12345678000195"_s);
    EXPECT_TRUE(declared.refused.isEmpty()) << qPrintable(declared.text());
    EXPECT_EQ(sqlRows(db, u"SELECT E.CDEMPRESA, E.NMEMPRESA, E.SGUF, I.CDINSCESTA FROM EMPRESA E "
                          "JOIN INSCRESTAD I ON I.CDEMPRESA = E.CDEMPRESA"_s),
              QStringList{u"01|Comercial Paulista de Alimentos Ltda|SP|123456785119"_s});
    EXPECT_EQ(sqlRows(db, u"SELECT CDEMPRESA, IDENTRSAIDOP, CDTIPOOPER, NMPARTICIPANTE FROM NOTAFISCAL"_s),
              QStringList{u"01|E|CO|Indústria Gama Ltda"_s});
}

TEST(ImportRun, TheExitStatusSaysWhetherEverythingWasImported)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(u"fiscal.db"_s);
    const QString mixed = dir.filePath(u"lote"_s);
    QDir().mkpath(mixed);
    QFile::copy(sampleFiles() + u"/efd/efd-icms-ipi-02-122024.txt"_s, mixed + u"/efd.txt"_s);
    writeFile(mixed + u"/quebrada.xml"_s, "<nfeProc><NFe>");

    struct Case {
        const char* what;
        QStringList arguments;
        int exitCode;
        QString says; // on the output, or the error output
    };
    const Case cases[] = {
        {"no database", {mixed}, 64, u"Informe o banco de dados fiscal com --db."_s},
        {"no files", {u"--db"_s, db}, 64, u"Informe os arquivos ou pastas a importar."_s},
        {"unknown option", {u"--db"_s, db, u"--depressa"_s, mixed}, 64, u"depressa"_s},
        {"company that is not a CNPJ",
         {u"--db"_s, db, u"--empresa"_s, u"12.345.678/0001-95"_s, mixed},
         64,
         u"não é um CNPJ de 14 dígitos"_s},
        {"database that cannot be opened", {u"--db"_s, dir.path(), mixed}, 1, dir.path()},
        {"a file refused, the others imported",
         {u"--db"_s, db, mixed},
         2,
         u"Arquivos recusados: 1 (nada deles foi gravado).\n  %1/quebrada.xml, linha 1, coluna 14: o XML termina antes "
         "de fechar os seus elementos (arquivo truncado?)."_s.arg(mixed)},
        {"all imported", {u"--db"_s, db, mixed + u"/efd.txt"_s}, 0, u"Arquivos importados: 1."_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = fiscalImport(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(run.out + run.err);
        EXPECT_TRUE((run.out + run.err).contains(c.says)) << qPrintable(run.out + run.err);
    }
    EXPECT_EQ(sqlRows(db, u"SELECT COUNT(*) FROM NOTAFISCAL"_s), QStringList{u"3"_s});
}
