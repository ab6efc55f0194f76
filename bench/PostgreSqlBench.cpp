// The remote calls on a PostgreSQL database, each paired with the same call on SQLite and with the same SQL run in
// this process on PostgreSQL. Needs FISCAL_TEST_POSTGRESQL (scripts/bench starts a private server and sets it).
#include "CheckResultServ.h"
#include "GiaBenchData.h"
#include "GiaDocuments.h"
#include "HostSettings.h"
#include "PairedRatio.h"
#include "RdmConferenciaFiscal.h"
#include "ScopedConnection.h"
#include "TNetConnection.h"
#include "TestServer.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList taxes = {u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s,
                           u"INSERT INTO IMPOSTONFE VALUES ('06', 'ISS', 'ISSQN', 'M')"_s};

bool postgreSqlAvailable(benchmark::State& state)
{
    if (!qEnvironmentVariableIsEmpty("FISCAL_TEST_POSTGRESQL"))
        return true;
    state.SkipWithError("sem FISCAL_TEST_POSTGRESQL: rode scripts/bench");
    return false;
}

RemoteResult callOn(TNetConnection& connection, const QString& method, const QVariantList& arguments)
{
    QString models, types;
    return method == u"getDadosGia"_s ? connection.AppServer().call(method, arguments, {&models, &types})
                                      : connection.AppServer().call(method, arguments);
}

// Both servers, the SQLite one and the PostgreSQL one on a copy of its rows, and a client of each, signed in as the
// database's owner (SQLite has no users and takes no notice).
struct TwoEngines {
    explicit TwoEngines(const QStringList& fixtures)
        : sqlite(fixtures), postgreSql(TestDatabase::postgreSqlCopyOf(sqlite.databasePath()))
    {
        HostSettings::current().databaseUser = postgreSql.database()->ownerUser();
        sqliteClient.ServerName = postgreSqlClient.ServerName = fiscal::RdmConferenciaFiscal::serverName();
        sqliteClient.Port = sqlite.port();
        postgreSqlClient.Port = postgreSql.port();
    }
    TestServer sqlite;
    TestServer postgreSql;
    TNetConnection sqliteClient, postgreSqlClient;
};

// One call on the PostgreSQL server paired with the same call on the SQLite one.
void besideSqlite(benchmark::State& state, const QStringList& fixtures, const QString& method,
                  const QVariantList& arguments)
{
    if (!postgreSqlAvailable(state))
        return;
    TwoEngines engines(fixtures);
    bench::measurePairs(
        state, [&] { CheckResultServ(callOn(engines.postgreSqlClient, method, arguments), true, 0); },
        [&] { CheckResultServ(callOn(engines.sqliteClient, method, arguments), true, 0); });
}

void GetImpoGrupOnPostgreSqlBesideSqlite(benchmark::State& state)
{
    besideSqlite(state, taxes, u"GetImpoGrup"_s, {u"06"_s, u""_s});
}

void GetImpoGrupOnPostgreSqlBesideDirectQuery(benchmark::State& state)
{
    if (!postgreSqlAvailable(state))
        return;
    TwoEngines engines(taxes);
    const database::DatabaseAddress address = database::DatabaseAddress::parse(engines.postgreSql.databasePath());
    const fiscal::RdmConferenciaFiscal direct(address);
    bench::measurePairs(
        state,
        [&] {
            CheckResultServ(callOn(engines.postgreSqlClient, u"GetImpoGrup"_s, {u"06"_s, u""_s}), true, 0);
        },
        [&] { benchmark::DoNotOptimize(direct.GetImpoGrup(u"06"_s, u""_s).rows.size()); });
}

void GetDadosGiaOnPostgreSqlBesideSqlite(benchmark::State& state)
{
    besideSqlite(state, bench::generatedInvoices(), u"getDadosGia"_s, bench::giaArguments().mid(0, 7));
}

void GetDadosGiaOnPostgreSqlBesideDirectQuery(benchmark::State& state)
{
    if (!postgreSqlAvailable(state))
        return;
    TwoEngines engines(bench::generatedInvoices());
    const QVariantList arguments = bench::giaArguments().mid(0, 7);
    database::ScopedConnection connection(database::DatabaseAddress::parse(engines.postgreSql.databasePath()),
                                          database::Access::ReadOnly);
    const fiscal::GiaFilter filter = fiscal::GiaFilter::fromArguments(bench::giaArguments());
    long rows = 0;
    bench::measurePairs(
        state, [&] { CheckResultServ(callOn(engines.postgreSqlClient, u"getDadosGia"_s, arguments), true, 0); },
        [&] { rows = bench::readAll(fiscal::giaDocumentsQuery(connection, filter)).size(); });
    if (rows != bench::documents)
        state.SkipWithError("wrong number of documents");
}

} // namespace

BENCHMARK(GetImpoGrupOnPostgreSqlBesideSqlite)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GetImpoGrupOnPostgreSqlBesideDirectQuery)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GetDadosGiaOnPostgreSqlBesideSqlite)->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(GetDadosGiaOnPostgreSqlBesideDirectQuery)->Iterations(7)->Unit(benchmark::kMillisecond);
