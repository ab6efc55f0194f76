#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace fiscal {

struct HttpRequest {
    std::string method; // "GET", "POST", ...
    std::string target; // as sent: path and query
    std::string body;
    std::string peer;          // the client's IP address
    std::string authorization; // the Authorization header, as sent
};

struct HttpResponse {
    int status = 200;
    std::string contentType;
    std::string body;
    // Held back this long before it goes out, without holding up anything else (a refused sign-in).
    std::chrono::milliseconds delay{0};
    bool asksForCredentials = false; // WWW-Authenticate: Basic
};

// Answers one request, once, from any thread.
using HttpReply = std::function<void(HttpResponse)>;

// What a server does with what arrives. handle() gets each complete request on one of the network threads,
// which serve every connection: it may do quick work there, and hands slow work to threads of its own. It is
// called for several connections at once. refuse() gives the
// answer to a request that the transport turns down by itself (400 malformed, 408 incomplete in time (the
// connection is gone: it is only heard of), 411 a POST without length, 413 a body too large, 415 an encoded
// body, 431 headers too large, 501 a transfer coding other than chunked, 503 too many connections); method and
// target are empty when not yet read.
class HttpService {
public:
    virtual ~HttpService() = default;
    virtual void handle(HttpRequest request, HttpReply reply) = 0;
    virtual HttpResponse refuse(int status, const std::string& method, const std::string& target) = 0;
};

struct HttpLimits {
    std::size_t maxHeaderBytes = 64 * 1024;
    std::size_t maxBodyBytes = 1024 * 1024;
    // From the wait for a request to its last byte, whatever pace the bytes come at: a connection that trickles
    // is closed then. It is also how long an idle kept-alive connection stays open.
    std::chrono::milliseconds requestDeadline{10000};
    std::chrono::milliseconds writeDeadline{30000};
    std::size_t maxConnections = 512; // beyond: 503, then closed
    int threads = 2;                  // network threads
    int backlog = 1024;
    // stop() waits this long for the calls in progress to be answered, then cuts every connection.
    std::chrono::milliseconds stopDeadline{4000};
};

// HTTP/1.1, or HTTPS, on a few network threads (Boost.Beast, OpenSSL): keep-alive and pipelined requests answered in order, bodies
// taken as sent (Content-Encoding other than identity is refused, Range is ignored), every limit above
// enforced per connection.
class HttpServer {
public:
    explicit HttpServer(HttpService& service, HttpLimits limits = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds to host:port and listens (port 0: a free port, see port()); false when the address cannot be used.
    bool bind(const std::string& host, int port);
    int port() const { return m_port; }
    // Whether the bound address is a loopback one (127.0.0.0/8, ::1): only this machine can reach it.
    bool onLoopback() const;

    // Serves HTTPS (TLS 1.2 at least) with the certificate chain and private key of these PEM files. Call before
    // serve(). Throws std::runtime_error saying which file cannot be used and why.
    void useTls(const std::string& certificateFile, const std::string& keyFile);
    bool usesTls() const;

    // Serves on the calling thread and threads - 1 more until stop(). Needs a successful bind.
    void serve();
    // Stops taking connections, closes those that wait for a request, lets the answers in progress go out,
    // and returns once serve() has returned (stopDeadline at most). Safe from any thread but the network ones,
    // also while serve() is only about to start.
    void stop();

    struct Shared; // the network side, known to HttpServer.cpp only

private:
    std::unique_ptr<Shared> m_shared;
    int m_port = 0;
};

} // namespace fiscal
