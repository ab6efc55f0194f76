#include "FiscalDatabase.h"
#include "ScopedConnection.h"
#include "ServerCall.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// fiscal-server as a user starts it, with its stderr collected. Unprivileged: when the tests run as root, root
// without the capabilities that pass over file permissions (setpriv), so that a folder without write permission
// holds for the server as it would for its service user; another user could not even reach a build folder that
// only root may enter.
class Program {
public:
    enum class User { Current, Unprivileged };

    explicit Program(const QStringList& arguments, User user = User::Current)
    {
        m_process.setReadChannel(QProcess::StandardError);
        const QString program = QString::fromUtf8(FISCAL_SERVER_BIN);
        if (user == User::Unprivileged && ::geteuid() == 0) {
            const QString overrides = u"-dac_override,-dac_read_search"_s;
            m_process.start(u"setpriv"_s, QStringList{u"--inh-caps=%1"_s.arg(overrides),
                                                      u"--bounding-set=%1"_s.arg(overrides), u"--"_s, program} +
                                              arguments);
        } else {
            m_process.start(program, arguments);
        }
        m_process.waitForStarted();
    }
    // Asked to stop first, then killed.
    ~Program()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // The port it listens on, once it says so; 0 when it ends or stays silent.
    int waitForPort()
    {
        const QRegularExpression listening(u"escutando em http://127\\.0\\.0\\.1:(\\d+)/"_s);
        while (m_process.waitForReadyRead(10000) || m_process.bytesAvailable() > 0) {
            m_stderr += QString::fromLocal8Bit(m_process.readAllStandardError());
            if (const auto match = listening.match(m_stderr); match.hasMatch())
                return match.captured(1).toInt();
        }
        return 0;
    }

    // The exit code, once it has ended by itself or after signal; -1 when it does not end in 10 s.
    int finish(int signal = 0)
    {
        if (signal)
            ::kill(static_cast<pid_t>(m_process.processId()), signal);
        if (!m_process.waitForFinished(10000))
            return -1;
        m_stderr += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    const QString& stderrText() const { return m_stderr; }

private:
    QProcess m_process;
    QString m_stderr;
};

QByteArray taxList(int port)
{
    httplib::Client client("127.0.0.1", port);
    const httplib::Result answer =
        client.Post("/rlx58200.rdmConferenciaFiscal",
                    R"({"jsonrpc":"2.0","id":1,"method":"GetImpoGrup","params":["","T"]})", "application/json");
    return answer ? QByteArray::fromStdString(answer->body) : QByteArray();
}

// The invoices in the database at path; -1 when it cannot be read.
int invoiceCount(const QString& path)
{
    database::ScopedConnection connection(database::DatabaseAddress::parse(path), database::Access::ReadOnly);
    QSqlQuery query(connection.database());
    return query.exec(u"SELECT COUNT(*) FROM NOTAFISCAL"_s) && query.next() ? query.value(0).toInt() : -1;
}

void removeDatabase(const QString& path)
{
    for (const QString& suffix : {u""_s, u"-wal"_s, u"-shm"_s})
        QFile::remove(path + suffix);
}

} // namespace

TEST(Program, AnInitKilledMidwayLeavesNoHalfMadeDatabase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"fiscal.db"_s);
    const auto initialise = [&] {
        return std::make_unique<Program>(QStringList{u"--db"_s, path, u"--init"_s, u"--listen"_s, u"127.0.0.1:0"_s});
    };
    QElapsedTimer timer;
    timer.start();
    ASSERT_GT(initialise()->waitForPort(), 0);
    const qint64 wholeInit = timer.elapsed();
    const int invoices = invoiceCount(path);
    ASSERT_GT(invoices, 0);
    removeDatabase(path);

    for (const double share : {0.2, 0.4, 0.6, 0.8, 0.95}) {
        SCOPED_TRACE(share);
        const auto server = initialise();
        std::this_thread::sleep_for(std::chrono::milliseconds(qint64(wholeInit * share)));
        server->finish(SIGKILL);
        if (QFile::exists(path)) {
            EXPECT_EQ(invoiceCount(path), invoices);
        }
        removeDatabase(path);
    }

    const auto server = initialise();
    const int port = server->waitForPort();
    ASSERT_GT(port, 0) << server->stderrText().toStdString();
    EXPECT_EQ(protocol::RpcResponse::fromJson(taxList(port)).data.rows.size(), 6);
}

TEST(Program, InitCreatesTheDatabaseServesAndEndsCleanlyOnEitherSignal)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"var/fiscal.db"_s);
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"var"_s)));
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
        Program server({u"--db"_s, path, u"--init"_s, u"--listen"_s, u"127.0.0.1:0"_s});
        const int port = server.waitForPort();
        ASSERT_GT(port, 0) << server.stderrText().toStdString();
        const protocol::RpcResponse answer = protocol::RpcResponse::fromJson(taxList(port));
        EXPECT_EQ(answer.data.rows.size(), 6);
        EXPECT_EQ(server.finish(signal), 0);
        EXPECT_TRUE(server.stderrText().contains(u"GetImpoGrup"_s)) << server.stderrText().toStdString();
        EXPECT_TRUE(server.stderrText().contains(u"encerrado"_s));
    }
}

TEST(Program, RefusesToStartWithAClearMessage)
{
    QTemporaryDir dir;
    const QString notADatabase = dir.filePath(u"notas.csv"_s);
    QFile file(notADatabase);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("NRNOTAFISC;VRTOTALNF\n000101;150,00\n");
    file.close();
    const TestServer busy;

    struct Case {
        const char* name;
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {"a file that is not a database",
         {u"--db"_s, notADatabase, u"--init"_s, u"--listen"_s, u"127.0.0.1:0"_s},
         u"não é um banco de dados"_s},
        {"a missing database without --init",
         {u"--db"_s, dir.filePath(u"falta.db"_s), u"--listen"_s, u"127.0.0.1:0"_s},
         u"--init"_s},
        {"no database", {}, u"--db"_s},
        {"a bad address", {u"--db"_s, busy.databasePath(), u"--listen"_s, u"8211"_s}, u"HOST:PORT"_s},
        {"SQLite off loopback", {u"--db"_s, busy.databasePath(), u"--listen"_s, u"0.0.0.0:0"_s}, u"um só usuário"_s},
        {"PostgreSQL off loopback without TLS",
         {u"--db"_s, u"postgresql://fiscal@127.0.0.1:1/fiscal"_s, u"--listen"_s, u"0.0.0.0:0"_s},
         u"acrescente --tls-cert ARQUIVO --tls-key ARQUIVO"_s},
        {"a certificate without its key",
         {u"--db"_s, busy.databasePath(), u"--tls-cert"_s, dir.filePath(u"servidor.pem"_s)},
         u"--tls-cert e --tls-key"_s},
        {"a certificate that cannot be read",
         {u"--db"_s, busy.databasePath(), u"--listen"_s, u"127.0.0.1:0"_s, u"--tls-cert"_s,
          dir.filePath(u"servidor.pem"_s), u"--tls-key"_s, dir.filePath(u"servidor.key"_s)},
         u"servidor.pem"_s},
        {"a port that is served already",
         {u"--db"_s, busy.databasePath(), u"--listen"_s, u"127.0.0.1:%1"_s.arg(busy.port())},
         u"Não foi possível escutar"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program server(c.arguments);
        EXPECT_GT(server.finish(), 0);
        EXPECT_TRUE(server.stderrText().contains(c.message)) << server.stderrText().toStdString();
    }
}

// A folder the server's user cannot write: refused at start when the database is in WAL mode, whose reads need to
// create files beside it; served in DELETE mode.
TEST(Program, AWalDatabaseInAFolderTheServerCannotWriteIsRefusedSayingWhatToChange)
{
    QTemporaryDir dir;
    const QString wal = dir.filePath(u"wal.db"_s), rollback = dir.filePath(u"delete.db"_s);
    ASSERT_EQ(fiscal::initDatabase(wal), fiscal::InitOutcome::Created);
    ASSERT_TRUE(QFile::copy(wal, rollback));
    {
        database::ScopedConnection connection(database::DatabaseAddress::parse(rollback), database::Access::ReadWrite);
        ASSERT_TRUE(QSqlQuery(connection.database()).exec(u"PRAGMA journal_mode=DELETE"_s));
    }
    const QFile::Permissions readOnly =
        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), readOnly));
    const auto writableAgain = qScopeGuard([&] { QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner); });

    Program refused({u"--db"_s, wal, u"--listen"_s, u"127.0.0.1:0"_s}, Program::User::Unprivileged);
    EXPECT_EQ(refused.finish(), 1);
    for (const QString& says : {u"modo WAL"_s, u"wal.db-shm na pasta %1, onde o usuário"_s.arg(dir.path()),
                                u"sqlite3 %1 \"PRAGMA journal_mode=DELETE\""_s.arg(wal)})
        EXPECT_TRUE(refused.stderrText().contains(says)) << refused.stderrText().toStdString();

    Program served({u"--db"_s, rollback, u"--listen"_s, u"127.0.0.1:0"_s}, Program::User::Unprivileged);
    const int port = served.waitForPort();
    ASSERT_GT(port, 0) << served.stderrText().toStdString();
    EXPECT_EQ(protocol::RpcResponse::fromJson(taxList(port)).data.rows.size(), 6);
}
