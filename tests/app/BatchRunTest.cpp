// host-app --batch: the real program, without a person or a display, against the real server on the sample data.
#include "PdfText.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

Outcome HostAppBatch(int port, const QString& database, const QStringList& arguments,
                     const QString& reports = QString::fromUtf8(FISCAL_SOURCE_DIR "/reports"))
{
    QProcess hostApp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.remove(u"DISPLAY"_s);
    hostApp.setProcessEnvironment(environment);
    hostApp.start(QString::fromUtf8(HOST_APP),
                  QStringList{u"--server"_s, u"127.0.0.1:%1"_s.arg(port), u"--db"_s, database, u"--reports"_s, reports,
                              u"--batch"_s} +
                      (arguments.contains(u"--open"_s) ? QStringList() : QStringList{u"--open"_s, u"RLX58200"_s}) +
                      arguments);
    if (!hostApp.waitForFinished(60000))
        return {-1, {}, u"still running after a minute"_s};
    return {hostApp.exitCode(), QString::fromUtf8(hostApp.readAllStandardOutput()),
            QString::fromUtf8(hostApp.readAllStandardError())};
}

} // namespace

TEST(BatchRun, SavesTheReportOrSaysWhichFieldTheScreenRefusedOrThatTheServerFailed)
{
    TestServer server({}, TestServer::Data::SampleData);
    QTemporaryDir out;
    const QStringList gia = {u"--report"_s, u"Listagem de Documentos - GIA SP"_s, u"--direction"_s, u"Todas"_s};
    const QString march = u"01;01;123456785119;01/03/2025;31/03/2025"_s;

    const QString pdf = out.filePath(u"gia.pdf"_s);
    Outcome run =
        HostAppBatch(server.port(), server.databasePath(), gia + QStringList{u"--preset"_s, march, u"--output"_s, pdf});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out, pdf + u"\n9 linhas\n"_s) << "the booked documents only";
    EXPECT_TRUE(PdfText(pdf).contains(u"Listagem de Documentos - GIA SP"_s));

    // Models and types chosen from their lists narrow the documents.
    const QString csv = out.filePath(u"gia.csv"_s);
    run = HostAppBatch(
        server.port(), server.databasePath(),
        gia + QStringList{u"--preset"_s, march, u"--models"_s, u"55"_s, u"--types"_s, u"SVD"_s, u"--output"_s, csv});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    QFile saved(csv);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count("\r\n"), 5) << "the captions and the four sales on model 55";

    const QString refused = out.filePath(u"refused.csv"_s);
    run = HostAppBatch(
        server.port(), server.databasePath(),
        gia + QStringList{u"--preset"_s, u"01;01;123456785119;01/04/2025;31/03/2025"_s, u"--output"_s, refused});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, u"Data inicial deve ser menor ou igual à data final.\nCampo: Data Inicial (depInicial)\n"_s);
    EXPECT_FALSE(QFile::exists(refused));

    const int port = server.port();
    server.stop();
    run = HostAppBatch(port, server.databasePath(), gia + QStringList{u"--preset"_s, march, u"--output"_s, refused});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_FALSE(QFile::exists(refused));
}

// A copy of the screen's reports with two added by "Salvar como novo": one of "Conferência GIA RS", and one of the GIA
// SP listing, whose documents the screen fetches only for the listing itself.
QString ReportsWithCopies(const QTemporaryDir& dir)
{
    const QDir source(QString::fromUtf8(FISCAL_SOURCE_DIR "/reports/RLX582"));
    const QDir target(dir.filePath(u"reports/RLX582"_s));
    QDir().mkpath(target.path());
    for (const QString& file : source.entryList({u"*.json"_s}, QDir::Files))
        QFile::copy(source.filePath(file), target.filePath(file));
    const auto copy = [&](const QString& from, const QString& to, const QString& title) {
        QFile original(source.filePath(from));
        original.open(QIODevice::ReadOnly);
        QJsonObject definition = QJsonDocument::fromJson(original.readAll()).object();
        definition[u"title"_s] = title;
        QFile added(target.filePath(to));
        added.open(QIODevice::WriteOnly);
        added.write(QJsonDocument(definition).toJson());
    };
    copy(u"04-conferencia-gia-rs.json"_s, u"10-conferencia-gia-rs-copia.json"_s, u"Conferência GIA RS (cópia)"_s);
    copy(u"02-listagem-documentos-gia-sp.json"_s, u"11-gia-sp-copia.json"_s, u"GIA SP (cópia)"_s);
    return dir.filePath(u"reports"_s);
}

TEST(BatchRun, EveryValueTheScreenWouldNotTakeIsRefusedWithItsField)
{
    TestServer server({}, TestServer::Data::SampleData);
    QTemporaryDir out;
    const QString reports = ReportsWithCopies(out);
    const QString output = out.filePath(u"relatorio.csv"_s);
    const QString march = u"01;01;123456785119;01/03/2025;31/03/2025"_s;
    const QStringList gia = {u"--report"_s, u"Listagem de Documentos - GIA SP"_s, u"--preset"_s, march};
    const QStringList book = {u"--report"_s, u"Operações por CST - SPED Contribuições"_s, u"--preset"_s,
                              u"04;01;;01/05/2025;31/05/2025"_s};
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString error; // the start of the error output
    };
    const QList<Case> cases = {
        {"letters in the CFOP", gia + QStringList{u"--cfop"_s, u"abc"_s}, 2,
         u"O campo CFOp (medCfop) não aceita 'abc' (ficaria vazio).\nCampo: CFOp (medCfop)\n"_s},
        {"a letter O for a zero", gia + QStringList{u"--cfop"_s, u"51O2"_s}, 2,
         u"O campo CFOp (medCfop) não aceita '51O2' (ficaria '512')."_s},
        {"a list of no models", gia + QStringList{u"--models"_s, u" , "_s}, 2,
         u"Modelo de documento deve ser informado."_s},
        {"an unknown book", book.mid(0, 4) + QStringList{u"--book"_s, u"0000000099"_s}, 2,
         u"Livro Magnético não cadastrado.\nCampo: Livro Magnético (medLivro)\n"_s},
        {"a day February lacks", gia.mid(0, 3) + QStringList{u"01;01;123456785119;31/02/2025;31/03/2025"_s}, 2,
         u"'31/02/2025' não é uma data válida: use o formato dd/mm/aaaa.\nCampo: Data Inicial (depInicial)\n"_s},
        {"a short year", gia.mid(0, 3) + QStringList{u"01;01;123456785119;01/03/2025;1/1/25"_s}, 2,
         u"'1/1/25' não é uma data válida: use o formato dd/mm/aaaa.\nCampo: Data Final (depFinal)\n"_s},
        {"a preset without its tax", gia.mid(0, 3) + QStringList{u";01;123456785119;01/03/2025;31/03/2025"_s}, 2,
         u"Sem o imposto"_s},
        {"too few preset values", gia.mid(0, 3) + QStringList{u"01;01;01/03/2025;31/03/2025"_s}, 64,
         u"--preset deve ter cinco valores"_s},
        {"a book for the GIA SP listing", gia + QStringList{u"--book"_s, u"0000000010"_s}, 2,
         u"O campo Livro Magnético (medLivro) não se aplica ao relatório escolhido."_s},
        {"a CFOP for the apportionment",
         QStringList{u"--report"_s, u"Apuração de Impostos"_s, u"--preset"_s, u"01;02;;01/10/2025;31/10/2025"_s,
                     u"--cfop"_s, u"5101"_s},
         2, u"O campo CFOp (medCfop) não se aplica ao relatório escolhido."_s},
        {"an unknown report", QStringList{u"--report"_s, u"Listagem GIA"_s}, 2,
         u"'Listagem GIA' não é um relatório desta tela. Os relatórios são:\n  Nota Fiscal Pendente\n"_s},
        {"an unknown direction", gia + QStringList{u"--direction"_s, u"Ambas"_s}, 2, u"'Ambas' não é uma opção"_s},
        {"the copy of a listing fed by the screen",
         QStringList{u"--report"_s, u"GIA SP (cópia)"_s, u"--preset"_s, march}, 1,
         u"O relatório \"GIA SP (cópia)\" não foi gerado"_s},
        {"an unknown module", gia + QStringList{u"--open"_s, u"RLX99999"_s}, 64, u"Módulo desconhecido: 'RLX99999'"_s},
        {"no output file", QStringList{u"--report"_s, u"Conferência GIA RS"_s, u"--output"_s, u""_s}, 64,
         u"--output deve dar o arquivo"_s},
        {"an output of another type", gia + QStringList{u"--output"_s, out.filePath(u"gia.txt"_s)}, 64,
         u"--output deve ser um arquivo PDF, CSV ou XLSX"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList arguments = c.arguments;
        if (!arguments.contains(u"--output"_s))
            arguments << u"--output"_s << output;
        const Outcome run = HostAppBatch(server.port(), server.databasePath(), arguments, reports);
        EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(run.err);
        EXPECT_TRUE(run.err.startsWith(c.error)) << qPrintable(run.err);
        EXPECT_FALSE(run.err.contains(QString::fromUtf8(FISCAL_SOURCE_DIR))) << "no path of the installation";
        EXPECT_FALSE(QFile::exists(output));
    }

    // A report added by "Salvar como novo" runs like the others, the presets it needs kept on the way to it.
    const Outcome copy = HostAppBatch(server.port(), server.databasePath(),
                                      {u"--report"_s, u"Conferência GIA RS (cópia)"_s, u"--preset"_s,
                                       u"01;02;0961234563;01/01/2025;31/03/2025"_s, u"--output"_s, output},
                                      reports);
    EXPECT_EQ(copy.exitCode, 0) << qPrintable(copy.err);
    EXPECT_TRUE(QFile::exists(output));

    // A database file that does not exist is named, and nothing is created in its place.
    const QString missing = out.filePath(u"nao-existe.db"_s);
    const Outcome noDatabase = HostAppBatch(server.port(), missing, gia, reports);
    EXPECT_EQ(noDatabase.exitCode, 64);
    EXPECT_TRUE(noDatabase.err.contains(missing)) << qPrintable(noDatabase.err);
    EXPECT_FALSE(QFile::exists(missing));
}
