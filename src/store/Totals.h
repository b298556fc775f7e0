#pragma once

#include "AppState.h"

#include <QString>

namespace store {

// The running figures of a log: sums of bottom time and maximum depth over dives 1..last.
// Sums are 64-bit: 32767 dives of 32767 minutes do not fit in 16 or even comfortably in 32 bits.
struct LogTotals {
    long long minutes = 0; // sum of bottom times
    long long depth = 0;   // sum of maximum depths
    int dives = 0;         // number of dives summed (the divisor of the averages)

    long long avgTime() const { return dives > 0 ? minutes / dives : 0; }
    long long avgDepth() const { return dives > 0 ? depth / dives : 0; }
};

// Totals over dive indexes 1..last (clamped to the log).
LogTotals totalsUpTo(const AppState& state, int last);

// "Time to Date": whole hours, ":", minutes with a leading zero below 10 (125 gives "2:05").
QString timeToDateText(long long minutes);

} // namespace store
