// fiscal-server --db PATH|postgresql://USER@HOST[:PORT]/DB [--listen HOST:PORT] [--init] [--tls-cert F --tls-key F]
#include "DatabaseError.h"
#include "FiscalDatabase.h"
#include "FiscalServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <optional>
#include <pthread.h>
#include <sqlite3.h>
#include <thread>

using namespace Qt::StringLiterals;

using namespace fiscal;

namespace {

struct Address {
    QString host;
    int port = 0;
};

// "HOST:PORT", port 0 to 65535 (0: any free port).
std::optional<Address> parseAddress(const QString& text)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon <= 0)
        return std::nullopt;
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 0 || port > 65535)
        return std::nullopt;
    return Address{text.left(colon), port};
}

void say(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

void prepareDatabase(const QString& path, bool init)
{
    if (!init) {
        checkDatabase(path);
        return;
    }
    switch (initDatabase(path)) {
    case InitOutcome::Created:
        say(u"Banco de dados fiscal criado em %1 com os dados de exemplo."_s.arg(path));
        break;
    case InitOutcome::Upgraded:
        say(u"Banco de dados fiscal %1 atualizado para a versão %2 do esquema; os dados foram mantidos."_s.arg(path)
                .arg(schemaVersion));
        break;
    case InitOutcome::AlreadyThere:
        say(u"O banco de dados fiscal %1 já existe; nada foi alterado."_s.arg(path));
        break;
    }
}

// Why the server may not listen where it is bound, or empty. Off loopback anyone on the network can call it: only
// with TLS, and on a PostgreSQL database, which authenticates every caller as a role of its own. An SQLite database
// has no users: it serves this machine only.
QString offLoopbackRefusal(const FiscalServer& server, const database::DatabaseAddress& database,
                           const Address& address)
{
    if (server.onLoopback())
        return {};
    const QString where = u"%1:%2"_s.arg(address.host).arg(address.port);
    if (database.engine() == database::Engine::SQLite)
        return u"Um banco SQLite é de um só usuário: o servidor só escuta neste computador (--listen 127.0.0.1:PORTA), "
               "não em %1. Para vários analistas, use um banco PostgreSQL, em que cada analista entra com o seu usuário."_s
                   .arg(where);
    if (!server.usesTls())
        return u"O servidor só escuta fora deste computador (%1) com TLS e autenticação: acrescente --tls-cert ARQUIVO "
               "--tls-key ARQUIVO (o certificado do servidor e a sua chave); cada chamada então entra com o usuário e "
               "a senha do analista no PostgreSQL."_s.arg(where);
    return {};
}

// Serves until SIGINT or SIGTERM. The signals are blocked in every thread (main() blocks them first) and
// taken by one waiting thread, which stops the server: the calls in progress are answered before serve()
// returns. Whatever the clients and the database do, the process ends within stopLimit of the signal.
void serveUntilSignalled(FiscalServer& server, const sigset_t& signals)
{
    constexpr auto stopLimit = std::chrono::milliseconds(4800);
    std::atomic<bool> signalled{false};
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&signals, &signal);
        signalled = true;
        std::thread([stopLimit] {
            std::this_thread::sleep_for(stopLimit);
            say(u"fiscal-server encerrado sem esperar as chamadas que ainda liam o banco de dados."_s);
            std::_Exit(1);
        }).detach();
        server.stop();
    });
    server.serve();
    if (!signalled)
        kill(getpid(), SIGTERM); // serve() ended by itself: wake the waiter
    waiter.join();
}

} // namespace

int main(int argc, char** argv)
{
    // Request bodies of up to 1 MiB come and go by the hundred in a burst. Fixing the threshold (glibc raises
    // it by itself otherwise) keeps them out of the heap, so that they go back to the system when freed
    // instead of staying with the process.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // SQLite counts every allocation under one process-wide lock unless told not to, before its first use; the
    // serving threads, and the two halves of a listing, would queue on it.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);

    // Block the signals before any thread starts, so that every thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"fiscal-server"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Servidor de aplicação da Conferência Fiscal (JSON-RPC sobre HTTP)."_s);
    parser.addHelpOption();
    const QCommandLineOption dbOption(
        u"db"_s,
        u"Banco de dados fiscal: arquivo SQLite, ou postgresql://USUARIO@SERVIDOR[:PORTA]/"
        "BANCO (senha em PGPASSWORD ou ~/.pgpass)."_s,
        u"PATH|URL"_s);
    const QCommandLineOption listenOption(
        u"listen"_s, u"Endereço de escuta (padrão 127.0.0.1:8211; porta 0: qualquer porta livre)."_s, u"HOST:PORT"_s,
        u"127.0.0.1:8211"_s);
    const QCommandLineOption initOption(
        u"init"_s, u"Cria as tabelas com os dados de exemplo se o arquivo for novo ou o banco PostgreSQL não as tiver; "
                   "atualiza o esquema de um banco de versão anterior, mantendo os dados."_s);
    const QCommandLineOption tlsCertOption(
        u"tls-cert"_s, u"Certificado do servidor (PEM, com a cadeia até a autoridade): serve HTTPS."_s, u"FILE"_s);
    const QCommandLineOption tlsKeyOption(u"tls-key"_s, u"Chave privada do certificado (PEM)."_s, u"FILE"_s);
    parser.addOptions({dbOption, listenOption, initOption, tlsCertOption, tlsKeyOption});
    parser.process(app);

    if (!parser.isSet(dbOption)) {
        say(u"Informe o banco de dados fiscal: fiscal-server --db PATH|postgresql://USUARIO@SERVIDOR[:PORTA]/BANCO "
            "[--listen HOST:PORT] [--init]"_s);
        return 2;
    }
    const std::optional<Address> address = parseAddress(parser.value(listenOption));
    if (!address) {
        say(u"Endereço de escuta inválido: \"%1\" (use HOST:PORT)."_s.arg(parser.value(listenOption)));
        return 2;
    }

    if (parser.isSet(tlsCertOption) != parser.isSet(tlsKeyOption)) {
        say(u"--tls-cert e --tls-key andam juntos: informe o certificado e a sua chave."_s);
        return 2;
    }

    const QString path = parser.value(dbOption);
    std::optional<database::DatabaseAddress> databaseAddress;
    try {
        databaseAddress = database::DatabaseAddress::parse(path);
    } catch (const database::DatabaseError& error) {
        say(error.message());
        return 2;
    }

    // Where it may listen is settled before the database is touched.
    FiscalServer server(*databaseAddress);
    if (!server.bind(address->host, address->port)) {
        say(u"Não foi possível escutar em %1:%2 (endereço em uso ou inválido)."_s.arg(address->host)
                .arg(address->port));
        return 1;
    }
    if (parser.isSet(tlsCertOption)) {
        try {
            server.useTls(parser.value(tlsCertOption), parser.value(tlsKeyOption));
        } catch (const std::runtime_error& error) {
            say(u"O certificado TLS não pôde ser usado: %1"_s.arg(QString::fromLocal8Bit(error.what())));
            return 1;
        }
    }
    if (const QString refusal = offLoopbackRefusal(server, *databaseAddress, *address); !refusal.isEmpty()) {
        say(refusal);
        return 2;
    }
    try {
        prepareDatabase(path, parser.isSet(initOption));
    } catch (const database::DatabaseError& error) {
        say(error.message());
        return 1;
    }

    say(u"fiscal-server escutando em %1://%2:%3/ (banco %4)"_s.arg(server.usesTls() ? u"https"_s : u"http"_s)
            .arg(address->host)
            .arg(server.port())
            .arg(path));
    serveUntilSignalled(server, signals);
    say(u"fiscal-server encerrado."_s);
    return 0;
}
