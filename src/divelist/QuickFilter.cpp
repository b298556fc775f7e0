#include "QuickFilter.h"

#include "DiveColumns.h"

namespace divelist {

FilterMatcher::FilterMatcher(const store::AppState& s, const QuickFilter& f)
    : state(s), filter(f), needle(search::foldNeedle(f.text)) {
    open = f.text.isEmpty() && f.rating < 0 && f.fromDay == 0 && f.toDay == 0;
    if (f.text.isEmpty()) return;
    for (size_t which = 0; which < 4; ++which) {
        const store::RefList& list = state.list(static_cast<int>(which));
        nameHits[which].resize(list.size());
        for (size_t i = 0; i < list.size(); ++i)
            nameHits[which][i] = search::containsFolded(list[i].Name, needle) ? 1 : 0;
    }
}

bool FilterMatcher::accepts(int index) const {
    if (open) return true;
    const store::DiveRecord& d = state.Dives[static_cast<size_t>(index)];
    if (filter.rating >= 0 && d.Rating != filter.rating) return false;
    if (filter.fromDay != 0 || filter.toDay != 0) {
        if (isUndated(d)) return false;
        const int32_t day =
            search::DayNumber(d.TimeData[store::field::Month], d.TimeData[store::field::Day],
                              d.TimeData[store::field::Year]);
        if (filter.fromDay != 0 && day < filter.fromDay) return false;
        if (filter.toDay != 0 && day > filter.toDay) return false;
    }
    if (filter.text.isEmpty()) return true;
    for (size_t which = 0; which < 4; ++which) {
        const int at = d.ListData[which];
        if (at >= 0 && static_cast<size_t>(at) < nameHits[which].size() &&
            nameHits[which][static_cast<size_t>(at)])
            return true;
    }
    return search::containsFolded(d.Comments, needle);
}

std::vector<int> filteredDives(const store::AppState& state, const QuickFilter& filter) {
    const FilterMatcher m(state, filter);
    std::vector<int> dives;
    for (int i = 1; i <= state.DiveCount(); ++i)
        if (m.accepts(i)) dives.push_back(i);
    return dives;
}

} // namespace divelist
