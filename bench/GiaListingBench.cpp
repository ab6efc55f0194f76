// 100,000 GIA documents from the server into cdsDadosGiaSP, paired with reading the same rows with the same SQL
// straight from the same SQLite file.
#include "CheckResultServ.h"
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

constexpr int documents = 100000;
const QString registration = u"123456785119"_s;

// One year of invoices of company 01, one item each, with ICMS and, on every third, IPI.
QStringList generatedInvoices()
{
    return {u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E'), ('02', 'ICMSST', 'ICMS ST', "
            u"'E'), "
            "('03', 'IPI', 'IPI', 'F')"_s,
            uR"(WITH RECURSIVE N (I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1)
                INSERT INTO NOTAFISCAL (NRSEQNOTAFISC, CDEMPRESA, CDINSCRICAO, IDENTRSAIDOP, CDTIPOOPER, CDMODDOCFISC,
                                        NRSERIE, NRNOTAFISC, DTEMISSAO, DTENTRSAID, DTESCRITURACAO, NMPARTICIPANTE,
                                        NRCNPJPARTIC, SGUFPARTIC)
                SELECT I, '01', '%2', CASE WHEN I % 2 = 0 THEN 'S' ELSE 'E' END,
                       CASE WHEN I % 2 = 0 THEN 'VD' ELSE 'CO' END, '55', '1', printf('%09d', I),
                       date('2025-01-01', '+' || (I % 365) || ' days'), date('2025-01-01', '+' || (I % 365) || ' days'),
                       date('2025-01-01', '+' || (I % 365) || ' days'), 'Participante', '11222333000181', 'SP'
                  FROM N)"_s.arg(documents)
                .arg(registration),
            u"INSERT INTO ITEMNOTAFISCAL SELECT NRSEQNOTAFISC, 1, 'Produto', "
            "CASE IDENTRSAIDOP WHEN 'S' THEN '5102' ELSE '1102' END, 1, 100 + NRSEQNOTAFISC % 900, "
            "100 + NRSEQNOTAFISC % 900, 0, 100 + NRSEQNOTAFISC % 900 FROM NOTAFISCAL"_s,
            u"INSERT INTO ITEMNFIMPOSTO SELECT NRSEQNOTAFISC, 1, '01', '000', VRTOTALITEM, 18, "
            "round(VRTOTALITEM * 0.18, 2), 0, 0 FROM ITEMNOTAFISCAL"_s,
            u"INSERT INTO ITEMNFIMPOSTO SELECT NRSEQNOTAFISC, 1, '03', '50', VRTOTALITEM, 10, "
            "round(VRTOTALITEM * 0.1, 2), 0, 0 FROM ITEMNOTAFISCAL WHERE NRSEQNOTAFISC % 3 = 0"_s};
}

QVariantList giaArguments()
{
    return {u"01"_s, registration, QDate(2025, 1, 1), QDate(2025, 12, 31), u"01"_s, u"2"_s, u""_s, u""_s, u""_s};
}

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
    const TestServer server(generatedInvoices());
    TNetConnection netConFisc;
    netConFisc.ServerName = u"rlx58200.rdmConferenciaFiscal"_s;
    netConFisc.Port = server.port();
    TClientDataSet cdsDadosGiaSP(nullptr, u"cdsDadosGiaSP"_s);
    declareGiaFields(cdsDadosGiaSP);
    const QVariantList byValue = giaArguments().mid(0, 7);
    QString stListaMod, stListaTp;

    fiscal::ScopedConnection connection(database::DatabaseAddress::parse(server.databasePath()),
                                        database::Access::ReadOnly);
    const fiscal::GiaFilter filter = fiscal::GiaFilter::fromArguments(giaArguments());
    QList<QVariantList> rows;

    bench::measurePairs(
        state,
        [&] {
            const RemoteResult result =
                netConFisc.AppServer().call(u"getDadosGia"_s, byValue, {&stListaMod, &stListaTp});
            cdsDadosGiaSP.SetData(CheckResultServ(result, true, 0));
        },
        [&] {
            QSqlQuery& query = fiscal::giaDocumentsQuery(connection, filter);
            query.exec();
            rows.clear();
            while (query.next()) {
                QVariantList row;
                row.reserve(12);
                for (int i = 0; i < 12; ++i)
                    row.append(query.value(i));
                rows.append(std::move(row));
            }
            query.finish();
        });
    if (cdsDadosGiaSP.RecordCount() != documents || rows.size() != documents)
        state.SkipWithError("wrong number of documents");
}

} // namespace

BENCHMARK(GetDadosGiaBesideSqlite)->Iterations(9)->Unit(benchmark::kMillisecond);
