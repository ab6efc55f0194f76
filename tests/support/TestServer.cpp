#include "TestServer.h"

#include "FiscalServer.h"
#include "RdmConferenciaFiscal.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

TestServer::TestServer(const QStringList& fixtures, Data data, const fiscal::HttpLimits& limits)
    : m_database(std::make_shared<TestDatabase>(fixtures, data))
{
    start(limits);
}

TestServer::TestServer(std::shared_ptr<TestDatabase> database, const TestCertificates* tls)
    : m_database(std::move(database))
{
    start({}, tls);
}

void TestServer::start(const fiscal::HttpLimits& limits, const TestCertificates* tls)
{
    m_server = std::make_unique<fiscal::FiscalServer>(
        database::DatabaseAddress::parse(m_database->address()),
        [this](const QString& line) {
            const std::lock_guard lock(m_logMutex);
            m_log.append(line);
        },
        limits);
    if (!m_server->bind(host(), 0))
        throw std::runtime_error("TestServer: no free loopback port");
    if (tls)
        m_server->useTls(tls->certificate(), tls->key());
    m_port = m_server->port();
    // The socket listens from bind() on: a client may connect before the thread starts accepting.
    m_thread = std::thread([this] { m_server->serve(); });
}

TestServer::~TestServer() { stop(); }

QString TestServer::url() const
{
    return u"http://%1:%2/%3"_s.arg(host()).arg(m_port).arg(fiscal::RdmConferenciaFiscal::serverName());
}

QStringList TestServer::log() const
{
    const std::lock_guard lock(m_logMutex);
    return m_log;
}

void TestServer::stop()
{
    if (!m_thread.joinable())
        return;
    m_server->stop();
    m_thread.join();
}

IdleClient::IdleClient(int port) : m_socket(::socket(AF_INET, SOCK_STREAM, 0))
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        release();
        throw std::runtime_error("IdleClient: the server does not accept connections");
    }
}

void IdleClient::release()
{
    if (const int socket = m_socket.exchange(-1); socket >= 0)
        ::close(socket);
}
