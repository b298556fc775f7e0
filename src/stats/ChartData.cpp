#include "ChartData.h"

#include "StatsTable.h"

#include <algorithm>

namespace stats {

namespace {

constexpr int MostBins = 12;

std::vector<Bar> groupBars(const Summary& s) {
    std::vector<Bar> bars;
    bars.reserve(s.groups.size());
    for (const Group& g : s.groups)
        bars.push_back({keyText(s.by, g), g.dives});
    return bars;
}

std::vector<Bar> monthBars(const Summary& s) {
    std::vector<Bar> bars(12);
    for (int m = 1; m <= 12; ++m)
        bars[static_cast<size_t>(m - 1)].label = monthName(m).left(3);
    for (const Group& g : s.groups) {
        if (g.hasKey)
            bars[static_cast<size_t>(g.key - 1)].count = g.dives;
        else
            bars.push_back({keyText(s.by, g), g.dives});
    }
    return bars;
}

// Floor division: the bin of -3 in bins of 10 starts at -10.
int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::vector<Bar> histogram(const store::AppState& state, const std::vector<int>& dives,
                           Quantity q) {
    std::vector<int> values;
    values.reserve(dives.size());
    const int count = state.DiveCount();
    std::vector<bool> seen(static_cast<size_t>(std::max(count, 0)) + 1);
    for (int index : dives) {
        if (index < 1 || index > count || seen[static_cast<size_t>(index)]) continue;
        seen[static_cast<size_t>(index)] = true;
        if (const std::optional<int> v = valueOf(state.Dives[static_cast<size_t>(index)], q))
            values.push_back(*v);
    }
    if (values.empty()) return {};
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const int width = binWidth(*lo, *hi, MostBins);
    const int64_t first = floorDiv(*lo, width);
    const int64_t last = floorDiv(*hi, width);
    std::vector<Bar> bars(static_cast<size_t>(last - first + 1));
    for (size_t b = 0; b < bars.size(); ++b) {
        const int64_t from = (first + static_cast<int64_t>(b)) * width;
        bars[b].label = width == 1 ? QString::number(from)
                                   : QStringLiteral("%1–%2").arg(from).arg(from + width - 1);
    }
    for (int v : values)
        ++bars[static_cast<size_t>(floorDiv(v, width) - first)].count;
    return bars;
}

} // namespace

int binWidth(int min, int max, int most) {
    // 1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, ...: round numbers a diver reads at a glance.
    static constexpr int steps[] = {10, 20, 25, 50};
    for (int64_t width : {int64_t(1), int64_t(2), int64_t(5)})
        if (floorDiv(max, width) - floorDiv(min, width) < most) return static_cast<int>(width);
    for (int64_t scale = 1;; scale *= 10)
        for (int step : steps) {
            const int64_t width = step * scale;
            if (floorDiv(max, width) - floorDiv(min, width) < most) return static_cast<int>(width);
        }
}

ChartData chartData(const store::AppState& state, const std::vector<int>& dives, Chart chart) {
    ChartData c;
    switch (chart) {
    case Chart::DivesPerYear:
        c.title = QStringLiteral("Dives per Year");
        c.axis = QStringLiteral("Year");
        c.bars = groupBars(summarize(state, dives, GroupBy::Year));
        break;
    case Chart::DivesPerMonthOfYear:
        c.title = QStringLiteral("Dives per Month of Year");
        c.axis = QStringLiteral("Month");
        c.bars = monthBars(summarize(state, dives, GroupBy::MonthOfYear));
        break;
    case Chart::DepthHistogram:
        c.title = QStringLiteral("Dives by Maximum Depth");
        c.axis = QStringLiteral("Max. depth (%1)").arg(unitOf(Depth));
        c.bars = histogram(state, dives, Depth);
        break;
    case Chart::TimeHistogram:
        c.title = QStringLiteral("Dives by Bottom Time");
        c.axis = QStringLiteral("Bottom time (%1)").arg(unitOf(BottomTime));
        c.bars = histogram(state, dives, BottomTime);
        break;
    }
    return c;
}

QString chartDescription(const ChartData& c) {
    if (c.bars.empty()) return QStringLiteral("%1: no dives to show.").arg(c.title);
    const auto top = std::max_element(c.bars.begin(), c.bars.end(),
                                      [](const Bar& a, const Bar& b) { return a.count < b.count; });
    int total = 0;
    for (const Bar& b : c.bars)
        total += b.count;
    return QStringLiteral("%1: %2 dives in %3 bars from %4 to %5; the most, %6, at %7. "
                          "The table beside the chart lists every bar.")
        .arg(c.title)
        .arg(total)
        .arg(c.bars.size())
        .arg(c.bars.front().label, c.bars.back().label)
        .arg(top->count)
        .arg(top->label);
}

} // namespace stats
