#pragma once

#include "AppState.h"
#include "FileIO.h"

#include <vector>

namespace store {

// References from the dives into the lists and the profiles that point nowhere. Files written
// by hand, by older copies of the program or cut short can leave a dive naming an entry the
// list no longer holds; the windows show such a dive as it is, so these checks only report.
namespace consistency {

// What a dive refers to: ListData 0..3 (location, type, buddy, gear), or its profile.
enum class Target { Location = 0, Type = 1, Buddy = 2, Gear = 3, Profile = 4 };

struct BadReference {
    int dive = 0;  // index in Dives
    Target target = Target::Location;
    int value = 0; // the index the dive holds
    bool operator==(const BadReference& o) const {
        return dive == o.dive && target == o.target && value == o.value;
    }
};

// Every list index outside its list and every ProfileNum that is neither 0 (no profile) nor
// a stored profile (1..highest index of Profiles), dive by dive, in ListData order then profile.
std::vector<BadReference> badReferences(const AppState& state);

// One sentence for a bad reference, naming the dive by the number the user sees.
QString describe(const AppState& state, const BadReference& bad);

// badReferences as problems of the log file.
FileProblems checkReferences(const AppState& state);

// Every text (comments, list entries, profile notes) holding characters the files cannot hold,
// which a save stores as '?': one problem per text, naming it and the characters, in the file
// that would hold it. For readers of outside text (JSON, imports) to say what they replaced.
FileProblems unstorableTexts(const AppState& state);

} // namespace consistency

} // namespace store
