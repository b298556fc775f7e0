#pragma once

#include "store/AppState.h"

#include <array>
#include <vector>

namespace divelist {

// The order of the dive list, read from the records: numbers as numbers, dates as dates and
// then entry time with undated dives last, names through their rank in their list (computed
// once per list, not per comparison), ties in log order. The window's sort and
// `reefbook-cli list --sort` both ask this class.
class DiveOrder {
  public:
    explicit DiveOrder(const AppState& state);

    // A list's names changed: its ranks are worked out again.
    void listChanged(int which);

    // Whether dive `a` comes before dive `b` when sorting by `column` (undated dives stay last
    // and ties stay in log order in either direction).
    bool before(int a, int b, int column, bool descending) const;

    // The dives in that order.
    std::vector<int> sorted(std::vector<int> dives, int column, bool descending) const;

  private:
    int compare(int a, int b, int column) const;
    int listRank(int which, int16_t at) const;

    const AppState& state;
    std::array<std::vector<int>, 4> ranks;
};

} // namespace divelist
