// One tax looked up on the server and loaded into cdsImpo, paired with a bare HTTP round trip of the same client
// library; and lookups from 32 clients at once, one connection each.
#include "CheckResultServ.h"
#include "PairedRatio.h"
#include "TClientDataSet.h"
#include "TNetConnection.h"
#include "TestServer.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <thread>

using namespace Qt::StringLiterals;
using protocol::FieldType;

namespace {

const QStringList taxes = {u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s,
                           u"INSERT INTO IMPOSTONFE VALUES ('06', 'ISS', 'ISSQN', 'M')"_s};

// An HTTP server answering every request at once with a fixed body: the floor of any remote call, the same
// yardstick as before the server had an HTTP layer of its own.
class Echo {
public:
    Echo()
    {
        m_http.set_tcp_nodelay(true);
        m_http.Post("/eco", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(R"({"ok":true})", "application/json");
        });
        m_port = m_http.bind_to_any_port("127.0.0.1");
        m_serving = std::thread([this] { m_http.listen_after_bind(); });
    }
    ~Echo()
    {
        m_http.stop(); // serving by now: the client has had its answers
        m_serving.join();
    }
    int port() const { return m_port; }

private:
    httplib::Server m_http;
    int m_port = 0;
    std::thread m_serving;
};

void connect(TNetConnection& connection, int port)
{
    connection.ServerName = u"rlx58200.rdmConferenciaFiscal"_s;
    connection.Port = port;
}

void GetImpoGrupBesideBareHttp(benchmark::State& state)
{
    const TestServer server(taxes);
    TNetConnection netConFisc;
    connect(netConFisc, server.port());
    TClientDataSet cdsImpo(nullptr, u"cdsImpo"_s);
    cdsImpo.AddField({u"CDIMPOSTONFE"_s, FieldType::String, 2, u"Codigo"_s});
    cdsImpo.AddField({u"SGIMPOSTONFE"_s, FieldType::String, 10, u"Sigla"_s});
    cdsImpo.AddField({u"IDORGARRECADNFE"_s, FieldType::String, 1, {}, false});
    const QString code = u"06"_s;

    const Echo echo;
    httplib::Client client("127.0.0.1", echo.port());
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);

    bench::measurePairs(
        state,
        [&] {
            cdsImpo.SetData(CheckResultServ(netConFisc.AppServer().call(u"GetImpoGrup"_s, {code, u""_s}), true, 0));
        },
        [&] {
            const httplib::Result answer = client.Post("/eco", R"({"x":1})", "application/json");
            benchmark::DoNotOptimize(answer->body.size());
        });
    if (cdsImpo.FieldByName(u"SGIMPOSTONFE"_s)->AsString() != u"ISS"_s)
        state.SkipWithError("wrong tax");
}

// Counter "calls_per_s": lookups answered per second to 32 clients calling without pause.
void GetImpoGrupFrom32Clients(benchmark::State& state)
{
    constexpr int clients = 32;
    const TestServer server(taxes);
    std::atomic<long> calls{0}, failures{0};
    double seconds = 0;
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::vector<std::thread> threads;
        for (int i = 0; i < clients; ++i)
            threads.emplace_back([&] {
                TNetConnection connection;
                connect(connection, server.port());
                while (!stop) {
                    const bool failed = connection.AppServer().call(u"GetImpoGrup"_s, {u"06"_s, u""_s}).failed();
                    ++(failed ? failures : calls);
                }
            });
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        stop = true;
        for (std::thread& thread : threads)
            thread.join();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["calls_per_s"] = double(calls) / seconds;
    if (failures > 0)
        state.SkipWithError("some calls failed");
}

} // namespace

BENCHMARK(GetImpoGrupBesideBareHttp)->Iterations(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GetImpoGrupFrom32Clients)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
