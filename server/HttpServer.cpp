#include "HttpServer.h"

#include <utility> // before Boost 1.74's asio, which uses std::exchange without including it in C++20

#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace fiscal {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = net::ip::tcp;

namespace {

// What the server's list of live connections knows of each.
class Connection {
public:
    virtual ~Connection() = default;
    virtual void stop() = 0;
};

std::string text(beast::string_view view) { return std::string(view.data(), view.size()); }

// A request that breaks HTTP's syntax, as opposed to a client that went away in the middle of one.
bool isMalformed(beast::error_code error)
{
    return error.category() == http::make_error_code(http::error::bad_method).category() &&
           error != http::error::end_of_stream && error != http::error::partial_message;
}

std::vector<std::unique_ptr<net::io_context>> contexts(int count)
{
    std::vector<std::unique_ptr<net::io_context>> ios;
    for (int i = 0; i < std::max(count, 1); ++i)
        ios.push_back(std::make_unique<net::io_context>(1));
    return ios;
}

} // namespace

// What the connections share.
struct HttpServer::Shared {
    Shared(HttpService& service, HttpLimits limits) : service(service), limits(limits) {}

    // The context of the next connection, in turn.
    net::io_context& nextIo() { return *ios[nextConnection++ % ios.size()]; }

    HttpService& service;
    const HttpLimits limits;
    std::atomic<bool> stopping{false};
    // The live connections. Declared before the contexts: connections still queued in one leave it when it
    // goes.
    std::mutex sessionsMutex;
    std::map<Connection*, std::weak_ptr<Connection>> sessions;
    // Set when serving HTTPS.
    std::optional<net::ssl::context> tls;
    // One context per network thread: a connection's every step runs on its thread, with no hand-over
    // between threads. The first one also accepts.
    std::vector<std::unique_ptr<net::io_context>> ios = contexts(limits.threads);
    std::size_t nextConnection = 0; // first context only
    tcp::acceptor acceptor{*ios.front()};
    net::steady_timer acceptPause{*ios.front()};
    // Keep every thread serving while it has no connection; dropped when stopping.
    std::vector<net::executor_work_guard<net::io_context::executor_type>> idleGuards;

    std::mutex mutex;
    std::condition_variable served;
    bool ended = false;
};

namespace {

using PlainStream = beast::tcp_stream;
using TlsStream = beast::ssl_stream<beast::tcp_stream>;

// One connection: reads a request, hands it to the service, writes its answer, and again while the client
// keeps the connection; pipelined requests wait in the buffer for their turn. Over TLS the handshake comes first,
// within the request deadline.
template <class Stream>
class Session : public Connection, public std::enable_shared_from_this<Session<Stream>> {
public:
    template <class... Tls>
    Session(tcp::socket socket, HttpServer::Shared& shared, Tls&... tls)
        : m_stream(std::move(socket), tls...), m_shared(shared), m_peer(peerOf(lowest().socket()))
    {}
    ~Session()
    {
        const std::lock_guard lock(m_shared.sessionsMutex);
        m_shared.sessions.erase(this);
    }

    // Counts the connection among the live ones; false when there are too many already.
    bool enrol()
    {
        const std::lock_guard lock(m_shared.sessionsMutex);
        m_shared.sessions.emplace(this, this->weak_from_this());
        return m_shared.sessions.size() <= m_shared.limits.maxConnections;
    }

    void start()
    {
        handshakeThen([](Session& self) { self.readRequest(); });
    }

    // Answers the connection with status before reading anything, then closes it.
    void turnAway(int status)
    {
        handshakeThen([status](Session& self) { self.refuse(status); });
    }

    // The server stops: a connection waiting for a request ends now; one with a call in progress ends once
    // its answer is out.
    void stop() override
    {
        net::dispatch(m_stream.get_executor(), [self = this->shared_from_this()] {
            if (self->m_state == State::Reading)
                self->lowest().close();
        });
    }

private:
    enum class State { Reading, Working, Writing, Closing };

    static std::string peerOf(const tcp::socket& socket)
    {
        beast::error_code error;
        const tcp::endpoint endpoint = socket.remote_endpoint(error);
        return error ? std::string() : endpoint.address().to_string();
    }

    beast::tcp_stream& lowest() { return beast::get_lowest_layer(m_stream); }

    template <class Next>
    void handshakeThen(Next next)
    {
        net::dispatch(m_stream.get_executor(), [self = this->shared_from_this(), next] {
            if constexpr (std::is_same_v<Stream, PlainStream>) {
                next(*self);
            } else {
                self->lowest().expires_after(self->limits().requestDeadline);
                self->m_stream.async_handshake(net::ssl::stream_base::server, [self, next](beast::error_code error) {
                    if (error)
                        return self->lowest().close();
                    next(*self);
                });
            }
        });
    }

    const HttpLimits& limits() const { return m_shared.limits; }

    void readRequest()
    {
        m_state = State::Reading;
        m_parser.emplace();
        m_parser->header_limit(static_cast<std::uint32_t>(limits().maxHeaderBytes));
        m_parser->body_limit(limits().maxBodyBytes);
        lowest().expires_after(limits().requestDeadline);
        http::async_read_header(
            m_stream, m_buffer, *m_parser,
            [self = this->shared_from_this()](beast::error_code error, std::size_t) { self->onHeader(error); });
    }

    void onHeader(beast::error_code error)
    {
        if (error)
            return failed(error);
        if (const int status = refusedHead())
            return refuse(status);
        if (beast::iequals(m_parser->get()[http::field::expect], "100-continue"))
            return sendContinue();
        readBody();
    }

    // The status that turns the request down from its head alone; 0 to read its body.
    int refusedHead() const
    {
        const auto& head = m_parser->get();
        const beast::string_view encoding = head[http::field::content_encoding];
        if (!encoding.empty() && !beast::iequals(encoding, "identity"))
            return 415;
        const beast::string_view transfer = head[http::field::transfer_encoding];
        if (!transfer.empty() && !beast::iequals(transfer, "chunked"))
            return 501;
        const auto length = m_parser->content_length();
        if (head.method() == http::verb::post && !length && !m_parser->chunked())
            return 411;
        if (length && *length > limits().maxBodyBytes)
            return 413;
        return 0;
    }

    void sendContinue()
    {
        auto interim = std::make_shared<http::response<http::empty_body>>(http::status::continue_, 11);
        http::async_write(m_stream, *interim,
                          [self = this->shared_from_this(), interim](beast::error_code error, std::size_t) {
                              if (error)
                                  return self->failed(error);
                              self->readBody();
                          });
    }

    void readBody()
    {
        http::async_read(
            m_stream, m_buffer, *m_parser,
            [self = this->shared_from_this()](beast::error_code error, std::size_t) { self->onRequest(error); });
    }

    void onRequest(beast::error_code error)
    {
        if (error)
            return failed(error);
        lowest().expires_never();
        m_state = State::Working;
        auto& message = m_parser->get();
        m_keepAlive = message.keep_alive();
        HttpRequest request{text(message.method_string()), text(message.target()), std::move(message.body()), m_peer,
                            text(message[http::field::authorization])};
        // The guard keeps the network threads running until the answer has been handed over.
        m_shared.service.handle(
            std::move(request), [self = this->shared_from_this(),
                                 guard = net::make_work_guard(m_stream.get_executor())](HttpResponse response) {
                net::dispatch(self->m_stream.get_executor(),
                              [self, response = std::move(response)]() mutable { self->write(std::move(response)); });
            });
    }

    void failed(beast::error_code error)
    {
        if (error == http::error::header_limit)
            return refuse(431);
        if (error == http::error::body_limit)
            return refuse(413);
        if (error == beast::error::timeout) {
            if (m_parser->got_some() || m_buffer.size() > 0)
                m_shared.service.refuse(408, method(), target());
            return;
        }
        if (isMalformed(error))
            return refuse(400);
        lowest().close();
    }

    std::string method() const { return m_parser ? text(m_parser->get().method_string()) : std::string(); }
    std::string target() const { return m_parser ? text(m_parser->get().target()) : std::string(); }

    void refuse(int status)
    {
        m_keepAlive = false;
        write(m_shared.service.refuse(status, method(), target()));
    }

    void write(HttpResponse response)
    {
        m_state = State::Writing;
        if (response.delay.count() > 0) {
            auto timer = std::make_shared<net::steady_timer>(m_stream.get_executor(), response.delay);
            response.delay = {};
            timer->async_wait([self = this->shared_from_this(), timer, response](beast::error_code) mutable {
                self->write(std::move(response));
            });
            return;
        }
        auto message =
            std::make_shared<http::response<http::string_body>>(static_cast<http::status>(response.status), 11);
        message->set(http::field::server, "fiscal-server");
        message->set(http::field::content_type, response.contentType);
        if (response.status == 503)
            message->set(http::field::retry_after, "1");
        if (response.asksForCredentials)
            message->set(http::field::www_authenticate, R"(Basic realm="fiscal-server", charset="UTF-8")");
        message->body() = std::move(response.body);
        message->keep_alive(m_keepAlive && !m_shared.stopping);
        message->prepare_payload();
        lowest().expires_after(limits().writeDeadline);
        http::async_write(m_stream, *message,
                          [self = this->shared_from_this(), message](beast::error_code error, std::size_t) {
                              if (error)
                                  return self->lowest().close();
                              if (!message->keep_alive() || self->m_shared.stopping)
                                  return self->closeGracefully();
                              self->readRequest();
                          });
    }

    // Closing at once while the client still sends would reset the connection and lose the answer: stop
    // sending, take what still comes for a moment (as much as a refused body, at most), then close.
    void closeGracefully()
    {
        m_state = State::Closing;
        beast::error_code ignored;
        lowest().socket().shutdown(tcp::socket::shutdown_send, ignored);
        lowest().expires_after(std::chrono::seconds(1));
        drain(limits().maxBodyBytes + limits().maxHeaderBytes);
    }

    void drain(std::size_t left)
    {
        m_buffer.clear();
        m_stream.async_read_some(m_buffer.prepare(16 * 1024),
                                 [self = this->shared_from_this(), left](beast::error_code error, std::size_t count) {
                                     if (error || count >= left)
                                         return self->lowest().close();
                                     self->drain(left - count);
                                 });
    }

    Stream m_stream;
    HttpServer::Shared& m_shared;
    const std::string m_peer;
    beast::flat_buffer m_buffer;
    std::optional<http::request_parser<http::string_body>> m_parser;
    State m_state = State::Reading;
    bool m_keepAlive = false;
};

template <class Stream>
void admit(const std::shared_ptr<Session<Stream>>& session)
{
    if (session->enrol())
        session->start();
    else
        session->turnAway(503);
}

void accept(HttpServer::Shared& shared)
{
    shared.acceptor.async_accept(shared.nextIo(), [&shared](beast::error_code error, tcp::socket socket) {
        if (!shared.acceptor.is_open() || shared.stopping)
            return;
        if (error) {
            // Out of descriptors, say: wait a moment rather than spin.
            shared.acceptPause.expires_after(std::chrono::milliseconds(50));
            shared.acceptPause.async_wait([&shared](beast::error_code) {
                if (shared.acceptor.is_open())
                    accept(shared);
            });
            return;
        }
        beast::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        if (shared.tls)
            admit(std::make_shared<Session<TlsStream>>(std::move(socket), shared, *shared.tls));
        else
            admit(std::make_shared<Session<PlainStream>>(std::move(socket), shared));
        accept(shared);
    });
}

} // namespace

HttpServer::HttpServer(HttpService& service, HttpLimits limits) : m_shared(std::make_unique<Shared>(service, limits)) {}

HttpServer::~HttpServer() = default;

bool HttpServer::bind(const std::string& host, int port)
{
    beast::error_code error;
    tcp::resolver resolver(*m_shared->ios.front());
    const auto endpoints = resolver.resolve(host, std::to_string(port), error);
    if (error || endpoints.empty())
        return false;
    const tcp::endpoint endpoint = endpoints.begin()->endpoint();
    tcp::acceptor& acceptor = m_shared->acceptor;
    acceptor.open(endpoint.protocol(), error);
    if (!error)
        acceptor.set_option(net::socket_base::reuse_address(true), error);
    if (!error)
        acceptor.bind(endpoint, error);
    if (!error)
        acceptor.listen(m_shared->limits.backlog, error);
    if (error) {
        acceptor.close(error);
        return false;
    }
    m_port = acceptor.local_endpoint().port();
    return true;
}

bool HttpServer::onLoopback() const
{
    beast::error_code error;
    const tcp::endpoint endpoint = m_shared->acceptor.local_endpoint(error);
    return !error && endpoint.address().is_loopback();
}

void HttpServer::useTls(const std::string& certificateFile, const std::string& keyFile)
{
    net::ssl::context tls(net::ssl::context::tls_server);
    tls.set_options(net::ssl::context::default_workarounds | net::ssl::context::no_sslv2 | net::ssl::context::no_sslv3 |
                    net::ssl::context::single_dh_use);
    SSL_CTX_set_min_proto_version(tls.native_handle(), TLS1_2_VERSION);
    const auto load = [](const std::string& file, auto&& use) {
        try {
            use(file);
        } catch (const boost::system::system_error& error) {
            throw std::runtime_error(file + ": " + error.code().message());
        }
    };
    load(certificateFile, [&](const std::string& file) { tls.use_certificate_chain_file(file); });
    load(keyFile, [&](const std::string& file) { tls.use_private_key_file(file, net::ssl::context::pem); });
    if (SSL_CTX_check_private_key(tls.native_handle()) != 1)
        throw std::runtime_error(keyFile + ": a chave não é a do certificado " + certificateFile);
    m_shared->tls.emplace(std::move(tls));
}

bool HttpServer::usesTls() const { return m_shared->tls.has_value(); }

void HttpServer::serve()
{
    Shared& shared = *m_shared;
    for (const auto& io : shared.ios)
        shared.idleGuards.push_back(net::make_work_guard(*io));
    net::post(*shared.ios.front(), [&shared] { accept(shared); });
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < shared.ios.size(); ++i)
        helpers.emplace_back([&shared, i] { shared.ios[i]->run(); });
    shared.ios.front()->run();
    for (std::thread& helper : helpers)
        helper.join();
    const std::lock_guard lock(shared.mutex);
    shared.ended = true;
    shared.served.notify_all();
}

void HttpServer::stop()
{
    Shared& shared = *m_shared;
    shared.stopping = true;
    net::post(*shared.ios.front(), [&shared] {
        beast::error_code ignored;
        shared.acceptor.close(ignored);
        shared.acceptPause.cancel();
        shared.idleGuards.clear();
    });
    std::vector<std::shared_ptr<Connection>> live;
    {
        const std::lock_guard lock(shared.sessionsMutex);
        for (const auto& [address, session] : shared.sessions)
            if (auto alive = session.lock())
                live.push_back(std::move(alive));
    }
    for (const auto& session : live)
        session->stop();
    live.clear(); // outside the lock: the last owner of a session takes the lock to leave the list
    std::unique_lock lock(shared.mutex);
    if (!shared.served.wait_for(lock, shared.limits.stopDeadline, [&] { return shared.ended; })) {
        for (const auto& io : shared.ios)
            io->stop();
        shared.served.wait(lock, [&] { return shared.ended; });
    }
}

} // namespace fiscal
