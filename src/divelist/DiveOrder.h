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
    explicit DiveOrder(const store::AppState& state);

    // A list's names changed: its ranks are worked out again.
    void listChanged(int which);
    // Dives were edited, added or removed: what was cached of their comments goes.
    void divesChanged() { foldedValid = false; }

    // Whether dive `a` comes before dive `b` when sorting by `column` (undated dives stay last
    // and ties stay in log order in either direction).
    bool before(int a, int b, int column, bool descending) const;

    // The dives in that order.
    std::vector<int> sorted(std::vector<int> dives, int column, bool descending) const;

  private:
    int compare(int a, int b, int column) const;
    int listRank(int which, int16_t at) const;

    const QString& foldedFirstLine(int dive) const;

    const store::AppState& state;
    std::array<std::vector<int>, 4> ranks;
    // Each comment's first line case-folded, made when the comment column is first compared:
    // comparing them as they are is comparing the comments without regard to case, without
    // folding every character again in every comparison.
    mutable std::vector<QString> folded;
    mutable bool foldedValid = false;
};

} // namespace divelist
