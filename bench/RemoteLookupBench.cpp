// One tax looked up on the server and loaded into cdsImpo, beside a bare HTTP round trip of the same library.
#include "CheckResultServ.h"
#include "TClientDataSet.h"
#include "TNetConnection.h"
#include "TestServer.h"

#include <benchmark/benchmark.h>
#include <httplib.h>
#include <thread>

using namespace Qt::StringLiterals;
using protocol::FieldType;

namespace {

void GetImpoGrupIntoCdsImpo(benchmark::State& state) {
    const TestServer server({u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s,
                             u"INSERT INTO IMPOSTONFE VALUES ('06', 'ISS', 'ISSQN', 'M')"_s});
    TNetConnection netConFisc;
    netConFisc.ServerName = u"rlx58200.rdmConferenciaFiscal"_s;
    netConFisc.Port = server.port();
    TClientDataSet cdsImpo(nullptr, u"cdsImpo"_s);
    cdsImpo.AddField({u"CDIMPOSTONFE"_s, FieldType::String, 2, u"Codigo"_s});
    cdsImpo.AddField({u"SGIMPOSTONFE"_s, FieldType::String, 10, u"Sigla"_s});
    cdsImpo.AddField({u"IDORGARRECADNFE"_s, FieldType::String, 1, {}, false});
    const QString code = u"06"_s;

    for (auto _ : state) {
        cdsImpo.SetData(
            CheckResultServ(netConFisc.AppServer().call(u"GetImpoGrup"_s, {code, u""_s}), true, 0));
        benchmark::DoNotOptimize(cdsImpo.RecordCount());
    }
    if (cdsImpo.FieldByName(u"SGIMPOSTONFE"_s)->AsString() != u"ISS"_s)
        state.SkipWithError("wrong tax");
}

void BareHttpRoundTrip(benchmark::State& state) {
    httplib::Server echo;
    echo.set_tcp_nodelay(true);
    echo.Post("/eco", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(R"({"ok":true})", "application/json");
    });
    const int port = echo.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { echo.listen_after_bind(); });
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);

    for (auto _ : state) {
        const httplib::Result answer = client.Post("/eco", R"({"x":1})", "application/json");
        benchmark::DoNotOptimize(answer->body.size());
    }
    echo.stop(); // serving by now: the client has had its answers
    serving.join();
}

} // namespace

BENCHMARK(GetImpoGrupIntoCdsImpo)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareHttpRoundTrip)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
