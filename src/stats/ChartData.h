#pragma once

#include "Statistics.h"

#include <QString>

#include <vector>

namespace stats {

// What the statistics window's charts show, worked out without a widget: the bars with their
// labels, and a sentence that says what the bars say for a reader who cannot see them.

struct Bar {
    QString label;
    int count = 0;
};

struct ChartData {
    QString title; // "Dives per Year"
    QString axis;  // what the bars stand on: "Year", "Max. depth (ft)"
    std::vector<Bar> bars;
};

enum class Chart { DivesPerYear, DivesPerMonthOfYear, DepthHistogram, TimeHistogram };
constexpr int ChartCount = 4;

// The chart over the dives at these log positions. The year chart has a bar per year that
// holds a dive; the month chart all twelve months; both end with "Undated" when some dive has
// no date. The histograms count the dives with a value in bins of one width (1, 2, 5, 10, 20,
// 25, 50, 100, ...) chosen so that at most twelve bins cover the values.
ChartData chartData(const store::AppState& state, const std::vector<int>& dives, Chart chart);

// The width of the bins that cover min..max in at most `most` bins.
int binWidth(int min, int max, int most);

// One line for a screen reader: what the chart counts, how many bars, the tallest.
QString chartDescription(const ChartData& chart);

} // namespace stats
