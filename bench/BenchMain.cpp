// fiscal-bench: runs the benchmarks, then prints each paired ratio (PairedRatio.h) beside its aim, and the calls per
// second under load.
#include <QGuiApplication>
#include <QLocale>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The work measured in pairs with its floor, and the most the ratio may be (0: no aim, the ratio is shown).
const std::pair<const char*, double> pairedAims[] = {
    {"GetImpoGrupBesideBareHttp", 1.5},
    {"GetDadosGiaBesideSqlite", 2.0},
    {"GetImpoGrupOnPostgreSqlBesideSqlite", 2.0},
    {"GetImpoGrupOnPostgreSqlBesideDirectQuery", 2.0},
    {"GetDadosGiaOnPostgreSqlBesideSqlite", 2.0},
    {"GetDadosGiaOnPostgreSqlBesideDirectQuery", 2.0},
    {"ImportXmlsBesideParsing", 3.0},
    {"ImportEfdBesideSplitting", 2.0},
    {"ReportToCsvBesideRawQuery", 0},
    {"ReportToPdfBesideRawQueryAndBareDrawing", 0},
    {"ReportToXlsxBesideRawQuery", 0},
};

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && run.counters.count("ratio"))
                m_paired[run.run_name.function_name] = run;
            if (!run.error_occurred && run.counters.count("calls_per_s"))
                std::printf("%s: %.0f calls/s\n", run.run_name.function_name.c_str(),
                            double(run.counters.at("calls_per_s")));
        }
    }

    void printRatios() const
    {
        for (const auto& [name, aim] : pairedAims) {
            const auto run = m_paired.find(name);
            if (run == m_paired.end())
                continue;
            const double ratio = run->second.counters.at("ratio");
            char verdict[48] = "";
            if (aim > 0)
                std::snprintf(verdict, sizeof verdict, " (aim at most %.1f: %s)", aim, ratio <= aim ? "met" : "MISSED");
            std::printf("%s: median of %lld per-pair ratios %.2f%s; %.3f ms beside %.3f ms\n", name,
                        static_cast<long long>(run->second.iterations), ratio, verdict,
                        double(run->second.counters.at("measured_ms")), double(run->second.counters.at("floor_ms")));
        }
    }

private:
    std::map<std::string, Run> m_paired;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("TZ", "America/Sao_Paulo");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
