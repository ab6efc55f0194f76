// A report of 100,000 detail rows to CSV, PDF and XLSX, and its preview's first page, each paired with the floors
// no report can beat (PairedRatio.h): the same query read raw from SQLite, and the same cells drawn by a bare loop of
// drawText on a PDF writer at fixed positions.
#include "PagePainter.h"
#include "PairedRatio.h"
#include "ReportFiles.h"
#include "ReportFormat.h"
#include "ReportLayout.h"
#include "ReportProgress.h"
#include "ReportRunner.h"
#include "TDBConnection.h"
#include "TParams.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int rows = 100000;

const QString detailSql = u"SELECT CDFISCOPER, NRNOTA, DTEMISSAO, NMPARTICIPANTE, VRCONTABIL, VRBASECALC, VRIMPOSTO, "
                          "QTITENS FROM ITEM WHERE DTEMISSAO BETWEEN :P_DTINICIO AND :P_DTFINAL "
                          "ORDER BY CDFISCOPER, NRNOTA"_s;

// A database of 100,000 items in four CFOPs over a year, and the definition of their report, in a folder that
// lives as long as the process.
struct Fixture {
    QTemporaryDir dir;
    // An empty file, which SQLite takes for a new database (the host opens no file that does not exist).
    TDBConnection connection{nullptr, u"bench"_s, [this] {
                                 QFile(dir.filePath(u"bench.db"_s)).open(QIODevice::WriteOnly);
                                 return dir.filePath(u"bench.db"_s);
                             }()};
    ReportDefinition definition;

    Fixture()
    {
        QSqlQuery create(connection.Database());
        create.exec(u"CREATE TABLE ITEM (CDFISCOPER TEXT, NRNOTA TEXT, DTEMISSAO TEXT, NMPARTICIPANTE TEXT, "
                    "VRCONTABIL REAL, VRBASECALC REAL, VRIMPOSTO REAL, QTITENS INTEGER)"_s);
        create.exec(uR"(WITH RECURSIVE N (I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1)
                        INSERT INTO ITEM SELECT CASE I % 4 WHEN 0 THEN '1102' WHEN 1 THEN '5102' WHEN 2 THEN '5405'
                                                           ELSE '6102' END,
                               printf('%09d', I), date('2025-01-01', '+' || (I % 365) || ' days'),
                               'Participante ' || (I % 500), 100 + I % 9000 / 7.0, 90 + I % 9000 / 7.0,
                               (90 + I % 9000 / 7.0) * 0.18, 1 + I % 9 FROM N)"_s.arg(rows));
        definition.fileName = dir.filePath(u"bench.json"_s);
        definition.code = u"RLX582"_s;
        definition.title = u"Itens por CFOP"_s;
        definition.orientation = QPageLayout::Landscape;
        definition.header = {u"Período: {P_DTINICIO} a {P_DTFINAL}"_s};
        definition.queries = {{u"qryItens"_s, {detailSql}}};
        definition.detail = u"qryItens"_s;
        definition.columns = {
            {u"CDFISCOPER"_s, u"CFOP"_s, 15, Qt::AlignHCenter, ColumnFormat::Cfop},
            {u"NRNOTA"_s, u"Número"_s, 25, Qt::AlignRight, ColumnFormat::Text},
            {u"DTEMISSAO"_s, u"Emissão"_s, 22, Qt::AlignHCenter, ColumnFormat::Date},
            {u"NMPARTICIPANTE"_s, u"Participante"_s, 70, Qt::AlignLeft, ColumnFormat::Text},
            {u"VRCONTABIL"_s, u"Valor Contábil"_s, 35, Qt::AlignRight, ColumnFormat::Amount},
            {u"VRBASECALC"_s, u"Base de Cálculo"_s, 35, Qt::AlignRight, ColumnFormat::Amount},
            {u"VRIMPOSTO"_s, u"Imposto"_s, 35, Qt::AlignRight, ColumnFormat::Amount},
            {u"QTITENS"_s, u"Itens"_s, 15, Qt::AlignRight, ColumnFormat::Integer},
        };
        const QStringList sums = {u"VRCONTABIL"_s, u"VRBASECALC"_s, u"VRIMPOSTO"_s, u"QTITENS"_s};
        definition.groups = {{u"CDFISCOPER"_s, u"CFOP"_s, ColumnFormat::Cfop, sums}};
        definition.totals = sums;
    }

    std::shared_ptr<const ReportData> run()
    {
        NoProgress progress;
        const ReportRunner runner(connection,
                                  [](TParams& params, bool&) {
                                      params.ParamByName(u"P_DTINICIO"_s)->SetAsVariant(QDate(2025, 1, 1));
                                      params.ParamByName(u"P_DTFINAL"_s)->SetAsVariant(QDate(2025, 12, 31));
                                  },
                                  {});
        return std::make_shared<ReportData>(runner.run(definition, progress));
    }

    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void checkRows(benchmark::State& state, qsizetype count)
{
    if (count != rows)
        state.SkipWithError("wrong number of rows");
}

// Gives freed memory back to the system and resets the process's peak resident size, so that the next reading of
// the peak shows what follows.
void resetPeak()
{
    malloc_trim(0);
    QFile clear(u"/proc/self/clear_refs"_s);
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// VmRSS or VmHWM of this process, in MB.
double memoryMb(const char* key)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// The report's query read raw, every row into memory.
qsizetype rawQuery(Fixture& f)
{
    QSqlQuery query(f.connection.Database());
    query.setForwardOnly(true);
    query.prepare(QString(detailSql).replace(u":P_DTINICIO"_s, u"?"_s).replace(u":P_DTFINAL"_s, u"?"_s));
    query.addBindValue(QDate(2025, 1, 1));
    query.addBindValue(QDate(2025, 12, 31));
    query.exec();
    QList<QVariantList> read;
    while (query.next()) {
        QVariantList row;
        row.reserve(8);
        for (int i = 0; i < 8; ++i)
            row.append(query.value(i));
        read.append(std::move(row));
    }
    return read.size();
}

// The cells as the report shows them, drawn at fixed positions, 40 rows a page, by a bare loop of drawText.
class BareDrawing {
public:
    explicit BareDrawing(Fixture& f) : m_file(f.file("bare.pdf"))
    {
        const auto data = f.run();
        m_pageLayout = ReportLayout(data).pageLayout();
        for (const QVariantList& row : data->detail.rows) {
            QStringList texts;
            for (qsizetype c = 0; c < row.size(); ++c)
                texts.append(cellText(row[c], f.definition.columns[c].format));
            m_cells.append(texts);
        }
    }

    qsizetype draw() const
    {
        QFile out(m_file);
        out.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&out);
        pdf.setPageLayout(m_pageLayout);
        QPainter painter(&pdf);
        painter.setFont(QFont(u"Liberation Sans"_s, 7));
        const double dotsPerMm = pdf.logicalDpiX() / 25.4;
        for (qsizetype r = 0; r < m_cells.size(); ++r) {
            if (r > 0 && r % 40 == 0)
                pdf.newPage();
            for (qsizetype c = 0; c < m_cells[r].size(); ++c)
                painter.drawText(QPointF((10 + c * 33) * dotsPerMm, (30 + (r % 40) * 4.2) * dotsPerMm), m_cells[r][c]);
        }
        return m_cells.size();
    }

private:
    QString m_file;
    QPageLayout m_pageLayout;
    QList<QStringList> m_cells;
};

// The report run and saved in a file of the given type; its rows.
qsizetype saved(Fixture& f, const char* fileName)
{
    const std::shared_ptr<const ReportData> data = f.run();
    NoProgress progress;
    saveReport(data, f.file(fileName), progress);
    return data->detail.rows.size();
}

// Each report paired with its floor, run in turn: the raw query for CSV and XLSX, the raw query and the bare drawing
// for PDF.
void ReportToCsvBesideRawQuery(benchmark::State& state)
{
    Fixture& f = fixture();
    qsizetype written = 0, read = 0;
    bench::measurePairs(
        state, [&] { written = saved(f, "itens.csv"); }, [&] { read = rawQuery(f); });
    checkRows(state, std::min(written, read));
}

void ReportToXlsxBesideRawQuery(benchmark::State& state)
{
    Fixture& f = fixture();
    qsizetype written = 0, read = 0;
    bench::measurePairs(
        state, [&] { written = saved(f, "itens.xlsx"); }, [&] { read = rawQuery(f); });
    checkRows(state, std::min(written, read));
}

void ReportToPdfBesideRawQueryAndBareDrawing(benchmark::State& state)
{
    Fixture& f = fixture();
    const BareDrawing bare(f);
    qsizetype written = 0, read = 0, drawn = 0;
    double growth = 0;
    bench::measurePairs(
        state,
        [&] {
            resetPeak();
            const double before = memoryMb("VmRSS:");
            written = saved(f, "itens.pdf");
            growth = std::max(growth, memoryMb("VmHWM:") - before);
        },
        [&] {
            read = rawQuery(f);
            drawn = bare.draw();
        });
    state.counters["peak_growth_MB"] = growth;
    checkRows(state, std::min({written, read, drawn}));
}

// From the rows read to the first page on screen: the pages broken, the first one laid out and drawn.
void PreviewFirstPageAfterTheQuery(benchmark::State& state)
{
    const auto data = fixture().run();
    for (auto _ : state) {
        const ReportLayout layout(data);
        benchmark::DoNotOptimize(renderPage(layout, 0, 110));
    }
}

} // namespace

BENCHMARK(ReportToCsvBesideRawQuery)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(ReportToPdfBesideRawQueryAndBareDrawing)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ReportToXlsxBesideRawQuery)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewFirstPageAfterTheQuery)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
