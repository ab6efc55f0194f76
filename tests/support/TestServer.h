#pragma once

#include "HttpServer.h"
#include "TestCertificates.h"
#include "TestDatabase.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

namespace fiscal {
class FiscalServer;
}

// The real application server, started in this process on a free loopback port over a TestDatabase made from
// data/schema.sql (and the sample data when asked) followed by the test's fixture statements:
//
//   TestServer server({"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"});
//   connection.Port = server.port();
//
// The server stops, and the database goes, with the object.
class TestServer {
public:
    using Data = TestDatabase::Data;

    explicit TestServer(const QStringList& fixtures = {}, Data data = Data::SchemaOnly,
                        const fiscal::HttpLimits& limits = {});
    // Another server on the database of a TestServer (its database()), as servers behind a load balancer; over
    // HTTPS with the certificate and key of tls when given.
    explicit TestServer(std::shared_ptr<TestDatabase> database, const TestCertificates* tls = nullptr);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    QString host() const { return u"127.0.0.1"_s; }
    int port() const { return m_port; }
    QString url() const; // http://127.0.0.1:PORT/rlx58200.rdmConferenciaFiscal
    // The --db value of its database.
    QString databasePath() const { return m_database->address(); }
    const std::shared_ptr<TestDatabase>& database() const { return m_database; }

    // The lines the server has logged so far, one per request.
    QStringList log() const;

    // Stops serving (after answering the requests in progress); the port then refuses connections.
    void stop();

private:
    void start(const fiscal::HttpLimits& limits, const TestCertificates* tls = nullptr);

    std::shared_ptr<TestDatabase> m_database;
    std::unique_ptr<fiscal::FiscalServer> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_logMutex;
    QStringList m_log;
};

// A client that takes one of a server's connections and sends nothing until it goes or is released: with a server
// whose HttpLimits allow one connection, every other client is turned away as busy (503) meanwhile.
class IdleClient {
public:
    explicit IdleClient(int port);
    ~IdleClient() { release(); }
    IdleClient(const IdleClient&) = delete;
    IdleClient& operator=(const IdleClient&) = delete;

    void release();

private:
    std::atomic<int> m_socket{-1};
};
