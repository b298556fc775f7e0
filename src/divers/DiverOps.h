#pragma once

#include "store/AppState.h"
#include "store/FileIO.h"

#include <QString>

namespace divers {

// The diver operations that reach the settings store as well as the diver list, and the rule
// for the options dialog's offset box.

// The diver at `position` becomes the default diver: DefaultDiver and the eight "Multi" keys.
// divers.dvl is written too, so that the position stored counts in the list on disk. With no
// valid position nothing changes. The open diver stays. Returns a failure to write the list.
store::FileProblems SetDefault(store::AppState& state, int position);

// Deletes the diver at `position` once the user has confirmed (checkDelete allowed it): his
// files when his log file exists, then his entry. When he was listed before the default diver,
// the default diver moves up one position and the settings follow him, so they never point at
// someone else. divers.dvl is written at once. Returns the files that could not be removed or
// written.
store::FileProblems DeleteDiver(store::AppState& state, int position);

constexpr int MaxOffset = 30000;

struct OffsetCheck {
    enum Kind { Unchanged, OutOfRange, Accepted } kind = Unchanged;
    int16_t value = 0; // the new offset when Accepted
};

// Every change of the offset box: empty text changes nothing; anything but a whole number in
// 0..MaxOffset is out of range; otherwise the number is the new offset.
OffsetCheck checkOffset(const QString& text);

} // namespace divers
