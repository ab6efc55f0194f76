#include "CheckResultServ.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "TClientDataSet.h"
#include "TNetConnection.h"
#include "TestServer.h"

#include <QDate>
#include <QElapsedTimer>
#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using protocol::FieldType;

namespace {

const QString kServerName = u"rlx58200.rdmConferenciaFiscal"_s;

// A loopback HTTP endpoint that misbehaves on purpose. It answers the connection's check (GET) with 200 and
// every call (POST) as told: with a fixed body, never, or by closing the connection.
class BoundaryServer {
public:
    enum class Call { AnswerWith, NeverAnswer, Drop };

    explicit BoundaryServer(Call behaviour, QByteArray body = {}) : m_behaviour(behaviour), m_body(std::move(body))
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_socket, 8);
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~BoundaryServer()
    {
        m_stop = true;
        m_thread.join();
        for (int held : m_held)
            ::close(held);
        ::close(m_socket);
    }

    int port() const { return m_port; }

private:
    bool readable(int socket)
    {
        pollfd entry{socket, POLLIN, 0};
        while (!m_stop)
            if (::poll(&entry, 1, 20) > 0)
                return true;
        return false;
    }

    // One request: its head, and as much body as Content-Length says. Empty when the client went away.
    std::string readRequest(int socket)
    {
        std::string data;
        char buffer[4096];
        std::size_t wanted = std::string::npos;
        while (data.size() < wanted && readable(socket)) {
            const ssize_t count = ::recv(socket, buffer, sizeof(buffer), 0);
            if (count <= 0)
                return {};
            data.append(buffer, static_cast<std::size_t>(count));
            const std::size_t headEnd = data.find("\r\n\r\n");
            if (headEnd != std::string::npos && wanted == std::string::npos) {
                const std::size_t length = data.find("Content-Length: ");
                wanted = headEnd + 4 + (length < headEnd ? std::stoul(data.substr(length + 16)) : 0);
            }
        }
        return data;
    }

    static void answer(int socket, const QByteArray& body)
    {
        const std::string response =
            "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
            "\r\n\r\n" + body.toStdString();
        ::send(socket, response.data(), response.size(), MSG_NOSIGNAL);
    }

    void serve()
    {
        while (readable(m_socket)) {
            const int client = ::accept(m_socket, nullptr, nullptr);
            for (std::string request = readRequest(client); !request.empty(); request = readRequest(client)) {
                if (request.starts_with("GET")) {
                    answer(client, "ok\n");
                    continue;
                }
                if (m_behaviour == Call::AnswerWith) {
                    answer(client, m_body);
                    continue;
                }
                break;
            }
            if (m_behaviour == Call::NeverAnswer)
                m_held.push_back(client);
            else
                ::close(client);
        }
    }

    Call m_behaviour;
    QByteArray m_body;
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::vector<int> m_held;
    std::thread m_thread;
};

// A port on which nothing listens.
int closedPort()
{
    TestServer server;
    const int port = server.port();
    server.stop();
    return port;
}

struct Connection : TNetConnection {
    explicit Connection(int port, int* connects = nullptr)
    {
        ServerName = kServerName;
        ThrowException = true;
        Host = u"servidor-que-nao-existe"_s;
        BeforeConnect = [port, connects](TNetConnection& sender) {
            sender.Host = u"127.0.0.1"_s;
            sender.Port = port;
            if (connects)
                ++*connects;
        };
    }
};

// The tax dataset as the screen declares it.
void declareTaxFields(TClientDataSet& cds)
{
    cds.AddField({u"CDIMPOSTONFE"_s, FieldType::String, 2, u"Codigo"_s});
    cds.AddField({u"SGIMPOSTONFE"_s, FieldType::String, 10, u"Sigla"_s});
    cds.AddField({u"IDORGARRECADNFE"_s, FieldType::String, 1, {}, false});
}

template <class E>
QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& error) {
        return error.message();
    }
    return u"(nada foi lançado)"_s;
}

QVariantList gia(const QString& direction)
{
    return {u"01"_s, u"123456785119"_s, QDate(2025, 1, 1), QDate(2025, 12, 31), u"01"_s, direction, u""_s};
}

} // namespace

TEST(NetConnection, ConnectingFiresBeforeConnectWhichSetsHostAndPort)
{
    const TestServer server;
    int connects = 0;
    Connection connection(server.port(), &connects);

    connection.SetConnected(true);
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(connection.Host, u"127.0.0.1"_s);
    connection.SetConnected(true);
    EXPECT_EQ(connects, 1);

    connection.SetConnected(false);
    EXPECT_FALSE(connection.Connected());
    const RemoteResult result = connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s});
    EXPECT_FALSE(result.failed());
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connects, 2);
}

TEST(NetConnection, AFailedConnectRaisesOnlyWhenAskedTo)
{
    const TestServer server;
    const int refused = closedPort();
    struct Case {
        const char* name;
        int port;
        QString serverName;
        QString says;
    };
    const Case cases[] = {
        {"refused port", refused, kServerName, u"127.0.0.1:%1"_s.arg(refused)},
        {"unknown server name", server.port(), u"rlx58200.rdmOutroModulo"_s, u"rlx58200.rdmOutroModulo"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Connection connection(c.port);
        connection.ServerName = c.serverName;

        connection.ThrowException = false;
        EXPECT_NO_THROW(connection.SetConnected(true));
        EXPECT_FALSE(connection.Connected());

        connection.ThrowException = true;
        const QString message = messageOf<EConnectionError>([&] { connection.SetConnected(true); });
        EXPECT_TRUE(message.contains(c.says)) << message.toStdString();
        EXPECT_FALSE(connection.Connected());

        connection.ThrowException = false;
        EXPECT_THROW(connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s}), EConnectionError);
    }
}

TEST(NetConnection, APacketLoadsIntoItsClientDataSet)
{
    const TestServer server({}, TestServer::Data::SampleData);
    Connection connection(server.port());
    TClientDataSet cdsImpo(nullptr, u"cdsImpo"_s);
    declareTaxFields(cdsImpo);

    cdsImpo.SetData(CheckResultServ(connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s}), true, 0));
    EXPECT_EQ(cdsImpo.RecordCount(), 6);
    EXPECT_EQ(cdsImpo.FieldByName(u"SGIMPOSTONFE"_s)->AsString(), u"ICMS"_s);

    cdsImpo.SetData(CheckResultServ(connection.AppServer().call(u"GetImpoGrup"_s, {u"06"_s, u""_s}), true, 0));
    EXPECT_EQ(cdsImpo.RecordCount(), 1);
    EXPECT_EQ(cdsImpo.FieldByName(u"IDORGARRECADNFE"_s)->AsString(), u"M"_s);

    cdsImpo.SetData(CheckResultServ(connection.AppServer().call(u"GetImpoGrup"_s, {u"99"_s, u""_s}), true, 0));
    EXPECT_TRUE(cdsImpo.IsEmpty());
    EXPECT_EQ(cdsImpo.FieldByName(u"SGIMPOSTONFE"_s)->AsString(), QString());
}

TEST(NetConnection, DatesTravelAsDatesAndANullDateAsNull)
{
    const TestServer server({}, TestServer::Data::SampleData);
    Connection connection(server.port());
    const auto periods = [&](const QVariant& start) {
        return CheckResultServ(connection.AppServer().call(u"GetDtFim"_s, {u"02"_s, u""_s, start, u"03"_s}), true, 0)
            .rows.size();
    };
    EXPECT_EQ(periods(QDate()), 24);
    EXPECT_EQ(periods(QDate(2026, 10, 15)), 3);
    EXPECT_EQ(periods(QDate(2026, 10, 15).startOfDay()), 3);
}

TEST(NetConnection, ByReferenceListsReceiveWhatTheServerLeavesInThem)
{
    const TestServer server({}, TestServer::Data::SampleData);
    Connection connection(server.port());
    QString stListaMod = u" 65,55,55,"_s;
    QString stListaTp = u"SVD, SBN"_s;

    const RemoteResult result = connection.AppServer().call(u"getDadosGia"_s, gia(u"1"_s), {&stListaMod, &stListaTp});
    EXPECT_FALSE(CheckResultServ(result, true, 0).rows.isEmpty());
    EXPECT_EQ(stListaMod, u"55,65"_s);
    EXPECT_EQ(stListaTp, u"SBN,SVD"_s);

    stListaMod = u"65,55"_s;
    const RemoteResult refused = connection.AppServer().call(u"getDadosGia"_s, gia(u"7"_s), {&stListaMod, &stListaTp});
    EXPECT_THROW(CheckResultServ(refused, true, 0), EServerError);
    EXPECT_EQ(stListaMod, u"65,55"_s);
}

TEST(NetConnection, AFailureTheServerReportsIsRaisedByCheckResultServ)
{
    const TestServer server;
    Connection connection(server.port());
    const RemoteResult result = connection.AppServer().call(u"GetImpoGrup"_s, {u"01"_s});

    EXPECT_EQ(messageOf<EServerError>([&] { CheckResultServ(result, true, 0); }),
              u"GetImpoGrup recebe 2 argumentos, não 1."_s);
    const protocol::DataPacket quiet = CheckResultServ(result, false, 0);
    EXPECT_TRUE(quiet.fields.isEmpty() && quiet.rows.isEmpty());
    EXPECT_THROW(CheckResultServ(connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s}), true, 1),
                 EHostConfigError);

    const RemoteResult tooLarge = connection.AppServer().call(u"GetLivroMag"_s, {QString(1100 * 1024, u'9')});
    EXPECT_TRUE(messageOf<EServerError>([&] { CheckResultServ(tooLarge, true, 0); }).contains(u"1048576 bytes"_s));
}

TEST(NetConnection, AServerGoneBetweenCallsIsAConnectionErrorNamingIt)
{
    TestServer server;
    int connects = 0;
    Connection connection(server.port(), &connects);
    connection.AppServer().call(u"GetLivroMag"_s, {u""_s});
    server.stop();

    const QString message =
        messageOf<EConnectionError>([&] { connection.AppServer().call(u"GetLivroMag"_s, {u""_s}); });
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(server.port()))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"GetLivroMag"_s)) << message.toStdString();
    EXPECT_FALSE(connection.Connected());
    EXPECT_THROW(connection.AppServer().call(u"GetLivroMag"_s, {u""_s}), EConnectionError);
    EXPECT_EQ(connects, 2);
}

TEST(NetConnection, AServerThatNeverAnswersTimesOut)
{
    const BoundaryServer silent(BoundaryServer::Call::NeverAnswer);
    Connection connection(silent.port());
    connection.Timeout = std::chrono::milliseconds(1000);

    QElapsedTimer elapsed;
    elapsed.start();
    const QString message = messageOf<EConnectionError>([&] {
        connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s});
    });
    EXPECT_GE(elapsed.elapsed(), 900);
    EXPECT_LT(elapsed.elapsed(), 5000);
    EXPECT_TRUE(message.contains(u"não respondeu em 1000 ms"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(silent.port()))) << message.toStdString();
}

TEST(NetConnection, AConnectionDroppedDuringTheCallIsAConnectionError)
{
    const BoundaryServer dropping(BoundaryServer::Call::Drop);
    Connection connection(dropping.port());
    connection.SetConnected(true);
    ASSERT_TRUE(connection.Connected());

    const QString message = messageOf<EConnectionError>([&] {
        connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s});
    });
    EXPECT_TRUE(message.contains(u"caiu"_s)) << message.toStdString();
    EXPECT_FALSE(connection.Connected());
}

TEST(NetConnection, AnswersThatAreNotSoundJsonRpcAreRefused)
{
    struct Case {
        const char* name;
        QByteArray body;
        QList<QString*> byReference;
        bool packetError; // EDataPacketError rather than EConnectionError
    };
    QString list1, list2;
    const Case cases[] = {
        {"HTML", "<html><body>Manutenção</body></html>", {}, false},
        {"another call's answer",
         R"({"jsonrpc":"2.0","id":99,"result":{"data":{"fields":[],"rows":[]},"out":[]}})",
         {},
         false},
        {"out values missing",
         R"({"jsonrpc":"2.0","id":1,"result":{"data":{"fields":[],"rows":[]},"out":[]}})",
         {&list1, &list2},
         false},
        {"out value not a text",
         R"({"jsonrpc":"2.0","id":1,"result":{"data":{"fields":[],"rows":[]},"out":[1,2]}})",
         {&list1, &list2},
         false},
        {"a row that does not fit its fields",
         R"({"jsonrpc":"2.0","id":1,"result":{"data":{"fields":[{"name":"CDIMPOSTONFE","type":"string","size":2}],
            "rows":[["01","ICMS"]]},"out":[]}})",
         {},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BoundaryServer server(BoundaryServer::Call::AnswerWith, c.body);
        Connection connection(server.port());
        const auto callIt = [&] { connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s}, c.byReference); };
        if (c.packetError)
            EXPECT_THROW(callIt(), EDataPacketError);
        else
            EXPECT_TRUE(messageOf<EConnectionError>(callIt).contains(u"127.0.0.1:%1"_s.arg(server.port())));
    }
}

TEST(NetConnection, AnAnswerNestedTooDeepIsRefusedWithoutExhaustingTheStack)
{
    const QByteArray deep = QByteArray(500000, '[') + QByteArray(500000, ']');
    const BoundaryServer server(BoundaryServer::Call::AnswerWith, R"({"jsonrpc":"2.0","id":1,"extra":)" + deep + "}");
    Connection connection(server.port());
    const QString message = messageOf<EConnectionError>([&] {
        connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s});
    });
    EXPECT_TRUE(message.contains(u"níveis"_s)) << message.toStdString();
}

TEST(NetConnection, APacketThatDoesNotFitLeavesTheDataSetAsItWas)
{
    const TestServer real({}, TestServer::Data::SampleData);
    TClientDataSet cdsImpo(nullptr, u"cdsImpo"_s);
    declareTaxFields(cdsImpo);
    cdsImpo.SetData(
        CheckResultServ(Connection(real.port()).AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s}), true, 0));
    cdsImpo.SetRecNo(2);

    struct Case {
        const char* name;
        QByteArray packet;
    };
    const Case cases[] = {
        {"a field missing", R"({"fields":[{"name":"CDIMPOSTONFE","type":"string","size":2},
            {"name":"SGIMPOSTONFE","type":"string","size":10}],"rows":[["07","IOF"]]})"},
        {"a field of another type", R"({"fields":[{"name":"CDIMPOSTONFE","type":"string","size":2},
            {"name":"SGIMPOSTONFE","type":"float"},{"name":"IDORGARRECADNFE","type":"string","size":1}],
            "rows":[["07",1.5,"F"]]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BoundaryServer server(BoundaryServer::Call::AnswerWith,
                                    R"({"jsonrpc":"2.0","id":1,"result":{"data":)" + c.packet + R"(,"out":[]}})");
        const RemoteResult result = Connection(server.port()).AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s});
        EXPECT_THROW(cdsImpo.SetData(CheckResultServ(result, true, 0)), EDataPacketError);
        EXPECT_EQ(cdsImpo.RecordCount(), 6);
        EXPECT_EQ(cdsImpo.RecNo(), 2);
        EXPECT_EQ(cdsImpo.FieldByName(u"SGIMPOSTONFE"_s)->AsString(), u"IPI"_s);
    }
}

TEST(NetConnection, ManyCallsOnOneConnectionOutliveTheServersKeepAliveLimit)
{
    const TestServer server({u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s});
    int connects = 0;
    Connection connection(server.port(), &connects);
    int answered = 0;
    for (int i = 0; i < 150; ++i)
        answered +=
            CheckResultServ(connection.AppServer().call(u"GetImpoGrup"_s, {u"01"_s, u""_s}), true, 0).rows.size();
    EXPECT_EQ(answered, 150);
    EXPECT_EQ(connects, 1);
}

TEST(NetConnection, AConnectionTheServerClosedWhileIdleIsReopenedQuietly)
{
    const TestServer server({u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s});
    Connection connection(server.port());
    connection.AppServer().call(u"GetImpoGrup"_s, {u"01"_s, u""_s});
    std::this_thread::sleep_for(std::chrono::milliseconds(2500)); // longer than the server keeps an idle connection
    EXPECT_EQ(CheckResultServ(connection.AppServer().call(u"GetImpoGrup"_s, {u"01"_s, u""_s}), true, 0).rows.size(), 1);
}

// The real server, allowed one connection, which an idle client holds: it turns the call away as busy (503) until the
// idle client goes.
TEST(NetConnection, ACallTheServerTurnsAwayAsBusyIsMadeAgainWithinItsTimeout)
{
    struct Case {
        const char* name;
        std::optional<std::chrono::milliseconds> freedAfter;
    };
    const Case cases[] = {
        {"a place frees after 0.8 s", std::chrono::milliseconds(800)},
        {"the server stays busy past the timeout", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fiscal::HttpLimits oneConnection;
        oneConnection.maxConnections = 1;
        const TestServer server({u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s},
                                TestServer::Data::SchemaOnly, oneConnection);
        IdleClient idle(server.port());
        std::jthread freeing([&] {
            if (c.freedAfter) {
                std::this_thread::sleep_for(*c.freedAfter);
                idle.release();
            }
        });
        Connection connection(server.port());
        connection.Timeout = std::chrono::milliseconds(2500);
        QElapsedTimer elapsed;
        elapsed.start();
        const auto call = [&] { return connection.AppServer().call(u"GetImpoGrup"_s, {u"01"_s, u""_s}); };

        if (c.freedAfter) {
            EXPECT_EQ(CheckResultServ(call(), true, 0).rows.size(), 1);
            EXPECT_GE(elapsed.elapsed(), c.freedAfter->count());
        } else {
            const QString message = messageOf<EConnectionError>(call);
            EXPECT_TRUE(message.contains(u"127.0.0.1:%1 continua ocupado"_s.arg(server.port())))
                << message.toStdString();
            EXPECT_TRUE(message.contains(u"GetImpoGrup"_s)) << message.toStdString();
            EXPECT_GE(elapsed.elapsed(), 2000);
        }
        EXPECT_LT(elapsed.elapsed(), 2600);
    }
}

TEST(NetConnection, OverTlsTheServerMustProveItselfByTheGivenAuthority)
{
    const TestCertificates certificates;
    const TestCertificates stranger; // another authority, whose server certificate the client must not take
    const TestServer plain({}, TestServer::Data::SampleData);
    const TestServer server(plain.database(), &certificates);
    struct Case {
        const char* name;
        bool tls;
        QString authority;
        bool answers;
    } cases[] = {
        {"TLS, the server's authority given by --ca", true, certificates.authority(), true},
        {"TLS, the system's authorities only", true, {}, false},
        {"TLS, another authority", true, stranger.authority(), false},
        {"plain HTTP to the TLS server", false, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostSettings::current().serverTls = c.tls;
        HostSettings::current().serverCaFile = c.authority;
        Connection connection(server.port());
        try {
            const RemoteResult result = connection.AppServer().call(u"GetImpoGrup"_s, {u""_s, u"T"_s});
            EXPECT_TRUE(c.answers) << "a call went through";
            EXPECT_FALSE(CheckResultServ(result, true, 0).rows.isEmpty());
        } catch (const EConnectionError& error) {
            EXPECT_FALSE(c.answers) << qPrintable(error.message());
        }
    }
    HostSettings::current() = HostSettings();
}
