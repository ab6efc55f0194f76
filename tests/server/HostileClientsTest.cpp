#include "ServerCall.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A client socket that sends whatever a test says, at the pace it says.
class RawClient {
public:
    explicit RawClient(int port) : m_socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        ::connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    }
    ~RawClient() { ::close(m_socket); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    void send(std::string_view data) { ::send(m_socket, data.data(), data.size(), MSG_NOSIGNAL); }
    bool readable(int ms)
    {
        pollfd entry{m_socket, POLLIN, 0};
        return ::poll(&entry, 1, ms) > 0;
    }
    // What the server sends until it closes the connection, or nothing more comes for ms.
    std::string receive(int ms)
    {
        std::string data;
        char buffer[65536];
        while (readable(ms)) {
            const ssize_t count = ::recv(m_socket, buffer, sizeof(buffer), 0);
            if (count <= 0)
                break;
            data.append(buffer, static_cast<std::size_t>(count));
        }
        return data;
    }
    // Whether the server has closed the connection (by now, without a byte of answer).
    bool closedWithoutAnswer()
    {
        char byte = 0;
        return readable(0) && ::recv(m_socket, &byte, 1, MSG_DONTWAIT) <= 0;
    }

private:
    int m_socket;
};

struct Answer {
    int status = 0;
    std::string body;
};

// The HTTP answers in text, in order.
std::vector<Answer> answersIn(const std::string& text)
{
    std::vector<Answer> answers;
    for (std::size_t at = text.find("HTTP/1.1 "); at != std::string::npos; at = text.find("HTTP/1.1 ", at)) {
        const std::size_t headEnd = text.find("\r\n\r\n", at);
        const std::size_t length = text.find("Content-Length: ", at);
        if (headEnd == std::string::npos || length > headEnd)
            break;
        const std::size_t size = std::stoul(text.substr(length + 16));
        answers.push_back({std::stoi(text.substr(at + 9, 3)), text.substr(headEnd + 4, size)});
        at = headEnd + 4 + size;
    }
    return answers;
}

std::string callBody(const QString& method, const QJsonArray& params)
{
    return QJsonDocument(
               QJsonObject{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, 7}, {u"method"_s, method}, {u"params"_s, params}})
        .toJson(QJsonDocument::Compact)
        .toStdString();
}

std::string httpPost(const std::string& body, const std::string& headers = {}, bool close = true)
{
    return "POST /rlx58200.rdmConferenciaFiscal HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n" +
           std::string(close ? "Connection: close\r\n" : "") + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

const std::string lookup = callBody(u"GetImpoGrup"_s, {u""_s, u"T"_s});

// 5,000 different codes in fewer characters than a list may hold: one character each.
QString fiveThousandCodes()
{
    QStringList codes;
    for (char16_t code = 0; code < 5000; ++code)
        codes.append(QString(QChar(char16_t(0x4E00 + code))));
    return codes.join(u',');
}

// A lookup as the screen makes it, answered within a second whatever the other clients do.
void expectServed(const TestServer& server)
{
    QElapsedTimer timer;
    timer.start();
    const protocol::RpcResponse answer = call(server, u"GetImpoGrup"_s, {u""_s, u"T"_s});
    EXPECT_EQ(answer.data.rows.size(), 2);
    EXPECT_LT(timer.elapsed(), 1000);
}

// Connections that send the head of a request a byte at a time and never finish it: the server closes each
// at its request deadline, and serves the others meanwhile.
void expectTricklersClosed(const TestServer& server, std::chrono::milliseconds deadline)
{
    std::vector<std::unique_ptr<RawClient>> tricklers;
    for (int i = 0; i < 200; ++i)
        tricklers.push_back(std::make_unique<RawClient>(server.port()));
    const std::string head =
        "POST /rlx58200.rdmConferenciaFiscal HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Lento: " + std::string(200, 'a');
    std::thread trickle([&] {
        const auto end = std::chrono::steady_clock::now() + deadline + 1s;
        for (std::size_t i = 0; i < head.size() && std::chrono::steady_clock::now() < end; ++i) {
            for (const auto& trickler : tricklers)
                trickler->send(head.substr(i, 1));
            std::this_thread::sleep_for(50ms);
        }
    });
    std::this_thread::sleep_for(deadline / 2);
    expectServed(server);
    trickle.join();
    int open = 0;
    for (const auto& trickler : tricklers)
        open += trickler->closedWithoutAnswer() ? 0 : 1;
    EXPECT_EQ(open, 0);
}

} // namespace

TEST(HostileClients, EachGetsItsAnswerAtOnceAndANormalCallIsServedMeanwhile)
{
    fiscal::HttpLimits limits;
    limits.requestDeadline = 2s;
    const TestServer server({u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s,
                             u"INSERT INTO IMPOSTONFE VALUES ('04', 'PIS', 'PIS', 'F')"_s},
                            TestServer::Data::SchemaOnly, limits);
    enum class Pace { AtOnce, HeaderFlood };
    struct Case {
        const char* name;
        std::string request;
        std::vector<int> statuses; // the answers, in order
        int code;                  // the JSON-RPC error of the first answer; 0: a result
        Pace pace = Pace::AtOnce;
    };
    const QString codes = fiveThousandCodes();
    const Case cases[] = {
        {"an encoded body",
         httpPost(lookup, "Content-Encoding: gzip\r\n"),
         {415},
         protocol::RpcErrorCode::InvalidRequest},
        {"a header flood", httpPost(lookup), {431}, protocol::RpcErrorCode::InvalidRequest, Pace::HeaderFlood},
        {"a list of 5,000 codes",
         httpPost(callBody(u"getDadosGia"_s,
                           {u"01"_s, u""_s, QJsonValue::Null, QJsonValue::Null, u"01"_s, u"2"_s, u""_s, codes, codes})),
         {200},
         0},
        {"a byte-order mark",
         httpPost(callBody(u"GetImpoGrup"_s, {u"\ufffe\u3000\u3100"_s, u""_s})),
         {200},
         protocol::RpcErrorCode::InvalidParams},
        {"a byte-order mark before a code",
         httpPost(callBody(u"GetImpoGrup"_s, {u"\ufeff01"_s, u""_s})),
         {200},
         protocol::RpcErrorCode::InvalidParams},
        {"an unknown transfer coding",
         "POST /rlx58200.rdmConferenciaFiscal HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: gzip, chunked\r\n\r\n",
         {501},
         protocol::RpcErrorCode::InvalidRequest},
        {"a scalar body", httpPost("1"), {200}, protocol::RpcErrorCode::InvalidRequest},
        {"a body nested 100,000 deep",
         httpPost(std::string(100000, '[') + std::string(100000, ']')),
         {200},
         protocol::RpcErrorCode::ParseError},
        {"a POST without length",
         "POST /rlx58200.rdmConferenciaFiscal HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n" + lookup,
         {411},
         protocol::RpcErrorCode::InvalidRequest},
        {"a range", httpPost(lookup, "Range: bytes=0-9\r\n"), {200}, 0},
        {"two pipelined calls", httpPost(lookup, {}, false) + httpPost(lookup), {200, 200}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawClient client(server.port());
        QElapsedTimer timer;
        timer.start();
        if (c.pace == Pace::HeaderFlood) {
            client.send(c.request.substr(0, c.request.find("\r\n") + 2));
            expectServed(server);
            const std::string line = "X-Enchimento: " + std::string(1000, 'a') + "\r\n";
            for (std::size_t sent = 0; sent < 50 * 1024 * 1024 && !client.readable(0); sent += line.size())
                client.send(line);
        } else {
            client.send(c.request);
            expectServed(server);
        }
        const std::vector<Answer> answers = answersIn(client.receive(2000));
        EXPECT_LT(timer.elapsed(), 2000);
        std::vector<int> statuses;
        for (const Answer& answer : answers)
            statuses.push_back(answer.status);
        EXPECT_EQ(statuses, c.statuses);
        if (answers.empty())
            continue;
        const protocol::RpcResponse first = protocol::RpcResponse::fromJson(QByteArray::fromStdString(answers[0].body));
        EXPECT_EQ(first.failed() ? first.error->code : 0, c.code)
            << (first.failed() ? first.error->message.toStdString() : std::string());
    }

    SCOPED_TRACE("200 slow clients");
    expectTricklersClosed(server, limits.requestDeadline);
}
