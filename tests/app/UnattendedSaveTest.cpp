// host-app saving a report without a person or a display: the real program against the real server on the sample
// data.
#include "TestServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(UnattendedSave, TheChosenReportIsSavedOrTheScreensMessageSaysWhyNot)
{
    const TestServer server({}, TestServer::Data::SampleData);
    QTemporaryDir out;
    const QStringList sped = {u"--report"_s, u"Operações por CST - SPED Contribuições"_s, u"--set"_s,
                              u"medLivro=0000000010"_s, u"--set"_s, u"cbbEntrSaid=Todas"_s, u"--set"_s,
                              u"depInicial=01/05/2025"_s, u"--set"_s, u"depFinal=31/05/2025"_s};
    const struct {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString message; // on the error output
        int lines;       // of the CSV written; 0: no file
    } cases[] = {
        {"a valid screen", sped + QStringList{u"--set"_s, u"medEmpresa=01"_s}, 0, {}, 28},
        {"no company", sped, 1, u"Empresa deve ser informada."_s, 0},
        {"a report the screen does not list", {u"--report"_s, u"Balancete"_s}, 1, u"'Balancete'"_s, 0},
        {"a field the screen does not have", sped + QStringList{u"--set"_s, u"medFilial=01"_s}, 1,
         u"'medFilial'"_s, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = out.filePath(QString::fromLatin1(c.name).replace(u' ', u'-') + u".csv"_s);
        QProcess hostApp;
        hostApp.setProcessChannelMode(QProcess::SeparateChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.remove(u"DISPLAY"_s);
        hostApp.setProcessEnvironment(environment);
        hostApp.start(QStringLiteral(HOST_APP),
                      QStringList{u"--server"_s, u"127.0.0.1:%1"_s.arg(server.port()), u"--db"_s,
                                  server.databasePath(), u"--reports"_s, QStringLiteral(FISCAL_SOURCE_DIR "/reports"),
                                  u"--open"_s, u"RLX58200"_s, u"--save"_s, file} +
                          c.arguments);
        ASSERT_TRUE(hostApp.waitForFinished(60000));
        EXPECT_EQ(hostApp.exitCode(), c.exitCode);
        EXPECT_TRUE(QString::fromUtf8(hostApp.readAllStandardError()).contains(c.message));
        QFile saved(file);
        EXPECT_EQ(saved.exists(), c.lines > 0);
        if (saved.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(saved.readAll().count("\r\n"), c.lines);
        }
    }
}
