#pragma once

#include "JsonRpc.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>

namespace httplib {
class Server;
}

namespace fiscal {

// The application server: JSON-RPC 2.0 over HTTP for the remote data module RdmConferenciaFiscal.
//   POST /rlx58200.rdmConferenciaFiscal  runs one call (body at most 1 MiB); the answer is always a JSON-RPC
//                                        result or error, with HTTP 200;
//   GET  / and GET /rlx58200.rdmConferenciaFiscal  answer a short text (for scripts waiting for the server
//   and
//                                        for clients checking that the module is there);
//   anything else                        404 (413 for a body over 1 MiB), with a JSON-RPC error as body.
// A pool of threads serves requests at once, each thread with its own read-only connection to the database.
// One line per request goes to the log: method, milliseconds, rows or error.
class FiscalServer {
public:
    using LogSink = std::function<void(const QString& line)>;

    static constexpr std::size_t maxBodySize = 1024 * 1024;

    // Without a sink the log goes to stderr. The sink is called from the serving threads.
    explicit FiscalServer(const QString& databasePath, LogSink log = {});
    ~FiscalServer();
    FiscalServer(const FiscalServer&) = delete;
    FiscalServer& operator=(const FiscalServer&) = delete;

    // Binds to host:port (port 0: a free port, see port()); false when the address cannot be used.
    bool bind(const QString& host, int port);
    int port() const { return m_port; }

    // Serves until stop(); blocks. Needs a successful bind, and must run once bound: the listening socket
    // closes only when serving ends.
    void serve();
    // Makes serve() return once the requests in progress have been answered, and waits for that. Safe from
    // any thread but a serving one, also while serve() is only about to start.
    void stop();

    // The answer to one call's body, as POST gives it; methodName receives the method named in it ("?" when
    // none).
    protocol::RpcResponse answer(const QByteArray& body, QString& methodName) const;

private:
    void route();

    QString m_databasePath;
    LogSink m_log;
    std::unique_ptr<httplib::Server> m_http;
    int m_port = 0;
    std::atomic<bool> m_served{false};
};

} // namespace fiscal
