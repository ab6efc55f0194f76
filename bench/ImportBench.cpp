// fiscal-import's two paths beside what they cannot beat: 100,000 NF-e XMLs into a new SQLite database beside reading
// and parsing the same files with the same parser; an EFD ICMS/IPI of 1,000,000 lines beside reading and splitting its
// lines with the same reader, and the most memory the process held while importing it (against a file a quarter the
// size, to show it flat).
#include "EfdReader.h"
#include "ImportBenchData.h"
#include "Importer.h"
#include "NfeReader.h"
#include "PairedRatio.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// The resident memory of the process, in MB.
double residentMb()
{
    QFile status(u"/proc/self/status"_s);
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// Never cancels; keeps the most resident memory it saw.
class WatchMemory : public fiscalimport::ImportProgress {
public:
    double peakMb = 0;
    bool step(const QString&, qint64, qint64) override
    {
        peakMb = std::max(peakMb, residentMb());
        return true;
    }
};

// Imports paths into a new SQLite database, then removes it.
fiscalimport::ImportSummary importIntoNewDatabase(const QStringList& paths, WatchMemory& progress)
{
    const QTemporaryDir dir;
    return fiscalimport::Importer(dir.filePath(u"fiscal.db"_s), u"12345678000195"_s).run(paths, progress);
}

void ImportXmlsBesideParsing(benchmark::State& state)
{
    const QString folder = bench::generatedInvoiceFolder();
    fiscalimport::ImportSummary summary;
    int parsed = 0;
    bench::measurePairs(
        state,
        [&] {
            WatchMemory progress;
            summary = importIntoNewDatabase({folder}, progress);
        },
        [&] {
            parsed = 0;
            for (QDirIterator it(folder, QDir::Files); it.hasNext();) {
                QFile file(it.next());
                file.open(QIODevice::ReadOnly);
                fiscalimport::readNfe(file.readAll());
                ++parsed;
            }
        });
    if (summary.documentsThatAre(fiscalimport::StoreOutcome::New) != bench::importedInvoices ||
        parsed != bench::importedInvoices)
        state.SkipWithError("not every invoice was imported and parsed");
}

void importBooks(benchmark::State& state, int lines)
{
    const QString books = bench::generatedBooks(lines);
    fiscalimport::ImportSummary summary;
    double peakMb = 0;
    int read = 0;
    bench::measurePairs(
        state,
        [&] {
            WatchMemory progress;
            summary = importIntoNewDatabase({books}, progress);
            peakMb = std::max(peakMb, progress.peakMb);
        },
        [&] {
            QFile file(books);
            file.open(QIODevice::ReadOnly);
            fiscalimport::EfdReader reader(file, u"0BCDEGHK19"_s, u"EFD ICMS/IPI"_s);
            for (read = 0; reader.next(); ++read) {
            }
        });
    state.counters["lines"] = read;
    state.counters["peak_rss_mb"] = peakMb;
    if (!summary.refused.isEmpty() || summary.documents.isEmpty())
        state.SkipWithError("the books were not imported");
}

void ImportEfdBesideSplitting(benchmark::State& state) { importBooks(state, bench::bookLines); }

void ImportEfdOfAQuarterBesideSplitting(benchmark::State& state) { importBooks(state, bench::bookLines / 4); }

} // namespace

BENCHMARK(ImportXmlsBesideParsing)->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(ImportEfdOfAQuarterBesideSplitting)->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(ImportEfdBesideSplitting)->Iterations(3)->Unit(benchmark::kSecond);
