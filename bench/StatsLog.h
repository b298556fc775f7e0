#pragma once

// The log the statistics benchmarks work on: the largest a file can hold, varied dives over
// thirty years, one in fifty undated, one value in seven not entered, lists of 50 entries.
#include "store/AppState.h"

namespace benchlog {

constexpr int kDives = 32767;
constexpr int kListSize = 50;

inline store::RefList makeList(const char* stem) {
    store::RefList list;
    for (int k = 0; k < kListSize; ++k)
        list.push_back({QStringLiteral("%1 %2").arg(QLatin1String(stem)).arg(k), {}, {}});
    return list;
}

inline const store::AppState& statsLog() {
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

} // namespace benchlog
