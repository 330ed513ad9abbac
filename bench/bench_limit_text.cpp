// The limit text per call, against a baseline doing only the raw work on the
// same inputs: from_chars, one multiply, nearbyint, to_chars. Prints the ratio
// of the two, measured in the same run.
#include "limit_text.h"
#include "limit_tier.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> Prices = {"3000", "150",    "1234.5", "12345", "-100",
                                         "550",  "133750", "75000",  "5",     "29788.75"};

void BM_Baseline(benchmark::State &state)
{
    const double multiplier = lumasio::limits::LimitTierTable[0].upMultiplier;
    char out[16];
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop idiom
        for (const std::string &price : Prices) {
            double value = 0;
            std::from_chars(price.data(), price.data() + price.size(), value);
            const auto rounded = static_cast<int>(std::nearbyint(value * multiplier));
            const auto result = std::to_chars(out, out + sizeof out, rounded);
            benchmark::DoNotOptimize(result.ptr);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Prices.size()));
}
BENCHMARK(BM_Baseline);

void BM_LimitText(benchmark::State &state)
{
    QList<QString> prices;
    for (const std::string &price : Prices) {
        prices.append(QString::fromStdString(price));
    }
    const double multiplier = lumasio::limits::LimitTierTable[0].upMultiplier;
    // The Calculate command takes the user's locale once per click.
    const QLocale locale;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop idiom
        for (const QString &price : prices) {
            const auto result = lumasio::limits::limitText(price, multiplier, locale);
            benchmark::DoNotOptimize(result);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Prices.size()));
}
BENCHMARK(BM_LimitText);

// Remembers each benchmark's time per iteration so the ratio can be printed.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            m_nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    [[nodiscard]] double time(const std::string &name) const
    {
        const auto it = m_nanoseconds.find(name);
        return it == m_nanoseconds.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_nanoseconds;
};

} // namespace

int main(int argc, char **argv)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double baseline = reporter.time("BM_Baseline");
    const double limitText = reporter.time("BM_LimitText");
    if (baseline > 0 && limitText > 0) {
        const double perCall = limitText / static_cast<double>(Prices.size());
        std::printf("\nlimit text: %.1f ns per call, %.2fx the baseline\n", perCall,
                    limitText / baseline);
    }
    benchmark::Shutdown();
    return 0;
}
