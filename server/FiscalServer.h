#pragma once

#include "DatabaseAddress.h"
#include "HttpServer.h"
#include "WorkerPool.h"

#include <QString>
#include <atomic>
#include <functional>

namespace protocol {
struct RpcResponse;
}

namespace fiscal {

struct RemoteCall;

// The application server: JSON-RPC 2.0 over HTTP for the remote data module RdmConferenciaFiscal.
//   POST /rlx58200.rdmConferenciaFiscal  runs one call; the answer is a JSON-RPC result or error, with HTTP
//                                        200, or 503 with an error when the server cannot take the call now;
//   GET  / and GET /rlx58200.rdmConferenciaFiscal  answer a short text (for scripts waiting for the server
//                                        and for clients checking that the module is there);
//   anything else                        404, with a JSON-RPC error as body; the transport's refusals
//                                        (HttpService) likewise carry a JSON-RPC error.
// Calls run off the network threads: lookups (milliseconds each) on a pool of their own, listings (seconds) on
// another, so that lookups never wait behind listings and a stalled database connection never stalls the network.
// A call waits for a thread up to a deadline (10 s for a lookup, 20 s for a listing), then gets 503. Each thread has
// its own read-only connection to the database, opened anew only when it is lost. A failure of the
// database reaches the caller as a message without paths or engine text; those go to the log, which has one
// line per request (method, milliseconds, rows or error), control characters escaped.
class FiscalServer : private HttpService {
public:
    using LogSink = std::function<void(const QString& line)>;

    // Without a sink the log goes to stderr. The sink is called from the serving threads.
    explicit FiscalServer(database::DatabaseAddress database, LogSink log = {}, HttpLimits limits = {});
    ~FiscalServer() override;
    FiscalServer(const FiscalServer&) = delete;
    FiscalServer& operator=(const FiscalServer&) = delete;

    // Binds to host:port (port 0: a free port, see port()); false when the address cannot be used.
    bool bind(const QString& host, int port);
    int port() const { return m_http.port(); }
    bool onLoopback() const { return m_http.onLoopback(); }
    // HTTPS with these PEM files (HttpServer::useTls); throws std::runtime_error.
    void useTls(const QString& certificateFile, const QString& keyFile);
    bool usesTls() const { return m_http.usesTls(); }

    // Serves until stop(); blocks. Needs a successful bind.
    void serve();
    // Stops taking calls, answers those in progress (HttpLimits::stopDeadline at most for their answers to
    // go out) and makes serve() return. Safe from any thread but a serving one, also while serve() is only
    // about to start.
    void stop();

private:
    void handle(HttpRequest request, HttpReply reply) override;
    HttpResponse refuse(int status, const std::string& method, const std::string& target) override;

    // Reads the call and runs it, or hands a listing to the listings' pool.
    void call(const std::string& body, const HttpReply& reply);
    // The call's result, or the error a caller can act on; detail receives what only the log shows.
    protocol::RpcResponse run(const RemoteCall& call, QString& detail) const;
    protocol::RpcResponse runMethod(const RemoteCall& call) const;
    void log(const QString& line) const;

    const HttpLimits m_limits;
    const database::DatabaseAddress m_database;
    LogSink m_log;
    std::atomic<bool> m_stopping{false};
    HttpServer m_http;
    // Declared after m_http, so that they finish first, while the network side can still take their answers.
    WorkerPool m_lookups;
    WorkerPool m_listings;
};

} // namespace fiscal
