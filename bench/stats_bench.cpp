// Statistics over the largest log a file can hold: every grouping, and the data of every chart.
// Run from a Release build: build/bench/stats_bench
#include "stats/ChartData.h"
#include "stats/Statistics.h"
#include "stats/StatsTable.h"

#include "StatsLog.h"

#include <benchmark/benchmark.h>

namespace {

void BM_Summarize(benchmark::State& st) {
    const auto by = stats::Groupings[static_cast<size_t>(st.range(0))];
    const std::vector<int> dives = stats::everyDive(benchlog::statsLog());
    for (auto _ : st)
        benchmark::DoNotOptimize(stats::summarize(benchlog::statsLog(), dives, by));
    st.SetLabel(stats::groupingWord(by).toStdString());
}
BENCHMARK(BM_Summarize)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// What the window and the command line do after summing: the table of texts.
void BM_SummarizeAndTable(benchmark::State& st) {
    const auto by = stats::Groupings[static_cast<size_t>(st.range(0))];
    const std::vector<int> dives = stats::everyDive(benchlog::statsLog());
    for (auto _ : st)
        benchmark::DoNotOptimize(
            stats::textTable(stats::summarize(benchlog::statsLog(), dives, by)));
    st.SetLabel(stats::groupingWord(by).toStdString());
}
BENCHMARK(BM_SummarizeAndTable)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ChartData(benchmark::State& st) {
    const auto chart = static_cast<stats::Chart>(st.range(0));
    const std::vector<int> dives = stats::everyDive(benchlog::statsLog());
    for (auto _ : st)
        benchmark::DoNotOptimize(stats::chartData(benchlog::statsLog(), dives, chart));
}
BENCHMARK(BM_ChartData)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
