#pragma once

#include "DatabaseAddress.h"
#include "HttpServer.h"
#include "JsonRpc.h"
#include "SignInThrottle.h"
#include "WorkerPool.h"

#include <QString>
#include <atomic>
#include <functional>

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
// its own read-only connections to the database, opened anew only when lost (database::readOnlyConnection).
// On PostgreSQL a call that brings a user and password (HTTP Basic) runs on a connection of that role, so that the
// database's row-level security answers it with that role's companies; the database itself checks the password. A
// refused sign-in gets a JSON-RPC error (HTTP 401), held back longer with each refusal from the same address
// (SignInThrottle). A call without them is refused, on loopback too: on a machine several people log into, it would
// otherwise answer any of them as the address's own user. Every call the database answered is recorded in its audit trail (PostgreSQL), in the
// caller's name, and the call fails when it cannot be recorded. A failure of the
// database reaches the caller as a message without paths or engine text; those go to the log, which has one
// line per request (method, milliseconds, rows or error, then the caller's role and address and the arguments),
// control characters escaped.
class FiscalServer : private HttpService {
public:
    using LogSink = std::function<void(const QString& line)>;

    // Who calls: from where, and as which role.
    struct Caller {
        QString peer;
        database::Credentials credentials;
    };
    // What goes back: the JSON-RPC answer, what only the log shows, and how.
    struct Answer {
        protocol::RpcResponse response;
        QString detail;
        int status = 200;
        std::chrono::milliseconds delay{0};
    };

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

    // Reads the call and hands it to the pool of its kind.
    void call(const HttpRequest& request, const HttpReply& reply);
    // The call's result, or the error a caller can act on.
    Answer run(const RemoteCall& call, const Caller& caller);
    protocol::RpcResponse runMethod(const RemoteCall& call, const Caller& caller) const;
    // Records the call in the database's audit trail; a call that cannot be recorded fails.
    void audit(const RemoteCall& call, const Caller& caller, Answer& answer) const;
    void log(const QString& line) const;

    const HttpLimits m_limits;
    const database::DatabaseAddress m_database;
    LogSink m_log;
    std::atomic<bool> m_stopping{false};
    SignInThrottle m_throttle;
    HttpServer m_http;
    // Declared after m_http, so that they finish first, while the network side can still take their answers.
    WorkerPool m_lookups;
    WorkerPool m_listings;
};

} // namespace fiscal
