// host-app --batch: the real program, without a person or a display, against the real server on the sample data.
#include "TestServer.h"

#include <QFile>
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

Outcome HostAppBatch(int port, const QString& database, const QStringList& arguments)
{
    QProcess hostApp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.remove(u"DISPLAY"_s);
    hostApp.setProcessEnvironment(environment);
    hostApp.start(QString::fromUtf8(HOST_APP),
                  QStringList{u"--server"_s, u"127.0.0.1:%1"_s.arg(port), u"--db"_s, database, u"--reports"_s,
                              QString::fromUtf8(FISCAL_SOURCE_DIR "/reports"), u"--batch"_s, u"--open"_s,
                              u"RLX58200"_s} +
                      arguments);
    if (!hostApp.waitForFinished(60000))
        return {-1, {}, u"still running after a minute"_s};
    return {hostApp.exitCode(), QString::fromUtf8(hostApp.readAllStandardOutput()),
            QString::fromUtf8(hostApp.readAllStandardError())};
}

QString PdfText(const QString& fileName)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {fileName, u"-"_s});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
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
