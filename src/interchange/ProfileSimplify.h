#pragma once

#include "Units.h"
#include "store/Records.h"

#include <vector>

namespace interchange {

// One sample of a dive computer's profile.
struct Sample {
    double seconds = 0;
    double depth = 0;
};

// At most `most` of the samples (in time order) that keep the profile's shape: the first, the
// last and the deepest always, then, again and again, the sample farthest from the line drawn
// through the samples kept around it (Douglas-Peucker, split where the error is greatest).
// Time and depth are measured against the dive's length and depth, so neither axis rules.
// Returns indexes into `samples`, ascending.
std::vector<size_t> simplifyProfile(const std::vector<Sample>& samples, size_t most);

// A dive computer's samples (seconds, metres) as a stored profile in the log's units: at most
// 150 points after the start, in whole minutes, strictly later one after the other and no
// later than `bottomTime` nor deeper than `maxDepth`. Samples that fall into one minute give
// one point: the deepest of the dive if it is among them, else the last of the dive, else
// the deepest of them; those are then simplified as simplifyProfile does. Empty (no point)
// when nothing lies after minute 0.
store::ProfileRecord profileFromSamples(const std::vector<Sample>& samples, Units units,
                                        int bottomTime, int maxDepth);

} // namespace interchange
