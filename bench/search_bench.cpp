// The Charting search over the largest log a file can hold, beside one plain pass over the
// same comments. Run from a Release build: build/bench/search_bench
#include "search/DiveSearch.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kDives = 32767;
constexpr int kListSize = 20;
constexpr int kCommentChars = 200;

store::RefList makeList() {
    store::RefList list;
    for (int k = 0; k < kListSize; ++k)
        list.push_back({QStringLiteral("Entry %1").arg(k), {}, {}});
    return list;
}

// Varied dives; every comment 200 characters of mixed case, a few with "Ægir wreck" in them.
store::AppState& log() {
    static store::AppState s = [] {
        store::AppState st;
        st.LocationList = st.TypeList = st.BuddyList = st.GearList = makeList();
        st.Dives.resize(kDives + 1);
        for (int i = 1; i <= kDives; ++i) {
            store::DiveRecord& d = st.Dives[static_cast<size_t>(i)];
            d.TimeData = {static_cast<int16_t>(i % 12 + 1), static_cast<int16_t>(i % 28 + 1),
                          static_cast<int16_t>(1990 + i % 30)};
            d.DiveData[store::field::TankSize] = static_cast<int16_t>(60 + i % 50);
            d.DiveData[store::field::BottomTime] = static_cast<int16_t>(i % 120);
            d.DiveData[store::field::MaxDepth] = static_cast<int16_t>(i % 60);
            for (size_t k = 0; k < 4; ++k)
                d.ListData[k] = static_cast<int16_t>((i + static_cast<int>(k)) % kListSize);
            for (size_t k = 0; k < 8; ++k)
                d.CondData[k] = static_cast<int16_t>((i >> k) & 1);
            d.Rating = static_cast<int16_t>(i % 3);
            QString c = i % 1000 == 0 ? QStringLiteral("ÆGIR WRECK ") : QString();
            while (c.size() < kCommentChars)
                c += QStringLiteral("Reef, Turtle and a Ray at dusk; ");
            c.truncate(kCommentChars);
            d.Comments = c;
        }
        return st;
    }();
    return s;
}

search::ChartCriteria everyCriterion() {
    search::ChartCriteria c;
    c.Ratings = {true, true, true};
    c.UseRange = {true, true, true};
    c.RangeMin = {QStringLiteral("200"), QStringLiteral("200"), QStringLiteral("200")};
    c.Conds.fill(true);
    for (size_t k = 0; k < 4; ++k) {
        c.UseList[k] = true;
        for (int line = 0; line < kListSize; line += 2)
            c.ListLines[k].push_back(line);
    }
    c.UseComment = true;
    c.Comment = QStringLiteral("ægir");
    return c;
}

void BM_SearchEveryCriterion(benchmark::State& st) {
    store::AppState& s = log();
    std::vector<int16_t> flagged;
    for (auto _ : st) {
        search::ChartCriteria c = everyCriterion();
        search::RunSearch(c, s, flagged);
        benchmark::DoNotOptimize(flagged.data());
    }
    st.counters["matched"] = static_cast<double>(flagged.size() - 1);
}

// Only the comment ticked: every comment is searched to its end but in 32 dives.
void BM_SearchCommentOnly(benchmark::State& st) {
    store::AppState& s = log();
    std::vector<int16_t> flagged;
    for (auto _ : st) {
        search::ChartCriteria c;
        c.UseComment = true;
        c.Comment = QStringLiteral("ægir");
        search::RunSearch(c, s, flagged);
        benchmark::DoNotOptimize(flagged.data());
    }
    st.counters["matched"] = static_cast<double>(flagged.size() - 1);
}

// One plain pass reading every character of every comment.
void BM_PlainPassOverComments(benchmark::State& st) {
    const store::AppState& s = log();
    for (auto _ : st) {
        unsigned sum = 0;
        for (size_t i = 1; i < s.Dives.size(); ++i)
            for (QChar ch : s.Dives[i].Comments)
                sum += ch.unicode();
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

BENCHMARK(BM_SearchEveryCriterion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchCommentOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPassOverComments)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
