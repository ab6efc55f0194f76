// fiscal-bench: runs the benchmarks, then prints each end-to-end median beside the median of its baseline.
#include <QGuiApplication>
#include <QLocale>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Each end-to-end benchmark and the baselines it is compared with (their medians added up).
const std::pair<const char*, std::vector<const char*>> comparisons[] = {
    {"GetImpoGrupIntoCdsImpo", {"BareHttpRoundTrip"}},
    {"GetDadosGiaIntoCdsDadosGiaSP", {"GiaRowsStraightFromSqlite"}},
    {"ReportToCsv", {"RawQuery"}},
    {"ReportToPdf", {"RawQuery", "BareDrawing"}},
    {"ReportToXlsx", {"RawQuery"}},
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
};

} // namespace

int main(int argc, char** argv) {
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
