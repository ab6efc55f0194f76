// fiscal-bench: runs the benchmarks, then prints each end-to-end median beside the median of its baseline.
#include <QCoreApplication>
#include <QLocale>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

// Each end-to-end benchmark and the baseline it is compared with.
const std::pair<const char*, const char*> comparisons[] = {
    {"GetImpoGrupIntoCdsImpo", "BareHttpRoundTrip"},
    {"GetDadosGiaIntoCdsDadosGiaSP", "GiaRowsStraightFromSqlite"},
};

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                m_medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                         benchmark::GetTimeUnitString(run.time_unit)};
    }

    void printRatios() const {
        for (const auto& [measured, baseline] : comparisons) {
            const auto a = m_medians.find(measured);
            const auto b = m_medians.find(baseline);
            if (a == m_medians.end() || b == m_medians.end())
                continue;
            std::printf("%s median %.3f %s, %s median %.3f %s: ratio %.2f\n", measured, a->second.first,
                        a->second.second.c_str(), baseline, b->second.first, b->second.second.c_str(),
                        a->second.first / b->second.first);
        }
    }

private:
    std::map<std::string, std::pair<double, std::string>> m_medians;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("TZ", "America/Sao_Paulo");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
