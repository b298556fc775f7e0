// Statistics over the largest log a file can hold: every grouping, and the data of every chart.
// Run from a Release build: build/bench/stats_bench
#include "stats/ChartData.h"
#include "stats/Statistics.h"
#include "stats/StatsTable.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kDives = 32767;
constexpr int kListSize = 50;

store::RefList makeList(const char* stem) {
    store::RefList list;
    for (int k = 0; k < kListSize; ++k)
        list.push_back({QStringLiteral("%1 %2").arg(QLatin1String(stem)).arg(k), {}, {}});
    return list;
}

// Varied dives over thirty years, one in fifty undated, one value in seven not entered.
const store::AppState& log() {
    static const store::AppState s = [] {
        store::AppState st;
        st.LocationList = makeList("Site");
        st.TypeList = makeList("Type");
        st.BuddyList = makeList("Buddy");
        st.GearList = makeList("Gear");
        st.Dives.resize(kDives + 1);
        for (int i = 1; i <= kDives; ++i) {
            store::DiveRecord& d = st.Dives[static_cast<size_t>(i)];
            d.TimeData = {static_cast<int16_t>(i % 50 == 0 ? 0 : i % 12 + 1),
                          static_cast<int16_t>(i % 28 + 1), static_cast<int16_t>(1990 + i % 30)};
            for (size_t f = 0; f < d.DiveData.size(); ++f)
                d.DiveData[f] = static_cast<int16_t>((i + f) % 7 == 0 ? 0 : (i * (f + 3)) % 3000);
            for (size_t k = 0; k < 4; ++k)
                d.ListData[k] = static_cast<int16_t>((i * (k + 1)) % kListSize);
        }
        return st;
    }();
    return s;
}

void BM_Summarize(benchmark::State& st) {
    const auto by = stats::Groupings[static_cast<size_t>(st.range(0))];
    const std::vector<int> dives = stats::everyDive(log());
    for (auto _ : st)
        benchmark::DoNotOptimize(stats::summarize(log(), dives, by));
    st.SetLabel(stats::groupingWord(by).toStdString());
}
BENCHMARK(BM_Summarize)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// What the window and the command line do after summing: the table of texts.
void BM_SummarizeAndTable(benchmark::State& st) {
    const auto by = stats::Groupings[static_cast<size_t>(st.range(0))];
    const std::vector<int> dives = stats::everyDive(log());
    for (auto _ : st)
        benchmark::DoNotOptimize(stats::textTable(stats::summarize(log(), dives, by)));
    st.SetLabel(stats::groupingWord(by).toStdString());
}
BENCHMARK(BM_SummarizeAndTable)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ChartData(benchmark::State& st) {
    const auto chart = static_cast<stats::Chart>(st.range(0));
    const std::vector<int> dives = stats::everyDive(log());
    for (auto _ : st)
        benchmark::DoNotOptimize(stats::chartData(log(), dives, chart));
}
BENCHMARK(BM_ChartData)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
