// 100,000 GIA documents from the server into cdsDadosGiaSP, paired with reading the same rows with the same SQL
// straight from the same SQLite file.
#include "CheckResultServ.h"
#include "GiaBenchData.h"
#include "GiaDocuments.h"
#include "PairedRatio.h"
#include "ScopedConnection.h"
#include "TClientDataSet.h"
#include "TNetConnection.h"
#include "TestServer.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using protocol::FieldType;

namespace {

void declareGiaFields(TClientDataSet& cds)
{
    for (const char* name : {"CDFISCOPERNF", "NRNOTAFISC", "IDENTRSAIDOP"})
        cds.AddField({QString::fromLatin1(name), FieldType::String, name[0] == 'C' ? 6 : name[0] == 'N' ? 20 : 1});
    for (const char* name : {"DTEMISSAO", "DTENTRSAID"})
        cds.AddField({QString::fromLatin1(name), FieldType::DateTime});
    for (const char* name :
         {"VRCONTABILNF", "VRBASECALCNF", "VRIMPOSTONF", "VRISENTO", "VROUTROS", "VRIMPST", "VRIMPIPI"})
        cds.AddField({QString::fromLatin1(name), FieldType::Float});
}

void GetDadosGiaBesideSqlite(benchmark::State& state)
{
    const TestServer server(bench::generatedInvoices());
    TNetConnection netConFisc;
    netConFisc.ServerName = u"rlx58200.rdmConferenciaFiscal"_s;
    netConFisc.Port = server.port();
    TClientDataSet cdsDadosGiaSP(nullptr, u"cdsDadosGiaSP"_s);
    declareGiaFields(cdsDadosGiaSP);
    const QVariantList byValue = bench::giaArguments().mid(0, 7);
    QString stListaMod, stListaTp;

    database::ScopedConnection connection(database::DatabaseAddress::parse(server.databasePath()),
                                          database::Access::ReadOnly);
    const fiscal::GiaFilter filter = fiscal::GiaFilter::fromArguments(bench::giaArguments());
    QList<QVariantList> rows;

    bench::measurePairs(
        state,
        [&] {
            const RemoteResult result =
                netConFisc.AppServer().call(u"getDadosGia"_s, byValue, {&stListaMod, &stListaTp});
            cdsDadosGiaSP.SetData(CheckResultServ(result, true, 0));
        },
        [&] { rows = bench::readAll(fiscal::giaDocumentsQuery(connection, filter)); });
    if (cdsDadosGiaSP.RecordCount() != bench::documents || rows.size() != bench::documents)
        state.SkipWithError("wrong number of documents");
}

} // namespace

BENCHMARK(GetDadosGiaBesideSqlite)->Iterations(9)->Unit(benchmark::kMillisecond);
