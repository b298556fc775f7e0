#pragma once

#include "search/DiveSearch.h"
#include "store/AppState.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace divelist {

// What the dive list's filter row asks for. All parts must hold for a dive to show.
struct QuickFilter {
    // Found, without regard to case, in the location, type, buddy or gear name or in the
    // comment; empty matches every dive.
    QString text;
    int rating = -1;     // 0 poor, 1 average, 2 good; -1 any
    int32_t fromDay = 0; // day numbers of the date range, inclusive; 0 leaves that end open
    int32_t toDay = 0;
};

// A filter prepared once per keystroke: the text is folded once and each list is searched
// once, so testing a dive looks at four numbers and its comment. Text matching is the
// comment search of Charting (search::containsFolded), so both find the same dives.
class FilterMatcher {
  public:
    FilterMatcher(const store::AppState& state, const QuickFilter& filter);
    bool accepts(int index) const;
    // Nothing asked: every dive shows.
    bool isOpen() const { return open; }

  private:
    const store::AppState& state;
    QuickFilter filter;
    search::FoldedNeedle needle;
    std::array<std::vector<char>, 4> nameHits; // by list position: the name holds the text
    bool open = true;
};

// The dives of the log that pass, in log order.
std::vector<int> filteredDives(const store::AppState& state, const QuickFilter& filter);

} // namespace divelist
