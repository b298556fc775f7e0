#pragma once

#include "interchange/Units.h"
#include "store/AppState.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace divelist {

// What "Edit Selected Dives" and `reefbook-cli edit` set on every chosen dive: only the
// fields given here; every other field of each dive stays as it is.
struct BulkEdit {
    std::array<std::optional<int16_t>, 4> list; // ListData: location, type, buddy, gear
    std::optional<int16_t> rating;
    std::array<std::optional<int16_t>, 8> conditions;
    std::optional<int16_t> tankSize;
    std::optional<int16_t> weight;
    std::optional<QString> comment;
    bool appendComment = false; // add to the end of each comment instead of replacing it

    bool isEmpty() const;
    void apply(store::DiveRecord& d) const;
};

// The figures of the selected dives: "12 dives · bottom time 9:45 · max depth 98 ft · avg
// depth 54 ft". Depths not entered (0) are left out of the maximum and the average.
QString selectionSummary(const store::AppState& state, const std::vector<int>& dives,
                         interchange::Units units);

} // namespace divelist
