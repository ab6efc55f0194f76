// fiscal-bench: runs the benchmarks, then prints each paired ratio (PairedRatio.h) beside its aim, the calls per
// second under load, and each report's median beside the median of its baseline.
#include <QGuiApplication>
#include <QLocale>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The remote calls measured in pairs with their floor, and the most their ratio may be.
const std::pair<const char*, double> pairedAims[] = {
    {"GetImpoGrupBesideBareHttp", 1.5},
    {"GetDadosGiaBesideSqlite", 2.0},
    {"GetImpoGrupOnPostgreSqlBesideSqlite", 2.0},
    {"GetImpoGrupOnPostgreSqlBesideDirectQuery", 2.0},
    {"GetDadosGiaOnPostgreSqlBesideSqlite", 2.0},
    {"GetDadosGiaOnPostgreSqlBesideDirectQuery", 2.0},
    {"ImportXmlsBesideParsing", 3.0},
    {"ImportEfdBesideSplitting", 2.0},
};

// Each report benchmark and the baselines it is compared with (their medians added up).
const std::pair<const char*, std::vector<const char*>> comparisons[] = {
    {"ReportToCsv", {"RawQuery"}},
    {"ReportToPdf", {"RawQuery", "BareDrawing"}},
    {"ReportToXlsx", {"RawQuery"}},
};

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                m_medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                         benchmark::GetTimeUnitString(run.time_unit)};
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
            std::printf("%s: median of %lld per-pair ratios %.2f (aim at most %.1f: %s); %.3f ms beside %.3f ms\n",
                        name, static_cast<long long>(run->second.iterations), ratio, aim,
                        ratio <= aim ? "met" : "MISSED", double(run->second.counters.at("measured_ms")),
                        double(run->second.counters.at("floor_ms")));
        }
        for (const auto& [measured, baselines] : comparisons) {
            const auto a = m_medians.find(measured);
            if (a == m_medians.end())
                continue;
            double floor = 0;
            std::string names;
            for (const char* baseline : baselines) {
                const auto b = m_medians.find(baseline);
                if (b == m_medians.end() || b->second.second != a->second.second)
                    floor = -1;
                else if (floor >= 0)
                    floor += b->second.first;
                names += (names.empty() ? "" : " + ") + std::string(baseline);
            }
            if (floor <= 0)
                continue;
            std::printf("%s median %.3f %s, %s median %.3f %s: ratio %.2f\n", measured, a->second.first,
                        a->second.second.c_str(), names.c_str(), floor, a->second.second.c_str(),
                        a->second.first / floor);
        }
    }

private:
    std::map<std::string, std::pair<double, std::string>> m_medians;
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
