#pragma once

#include "AppState.h"
#include "FileIO.h"

namespace store {

// Opening, saving and changing the open diver's log as a whole.

// Reads the log, then the location, type, buddy and gear lists and the profiles of
// state.Files. CurrentDive becomes the last dive. A log without dives starts a new
// one-entry log; a list or profile file that exists and holds entries is still read, so a
// list shared with another diver is never replaced by the default. Returns what was wrong.
FileProblems OpenLog(AppState& state);

// Writes the log, the four lists and the profiles as one: each goes to a temporary file, and
// only when all six were written completely are they renamed over the old files. Otherwise no
// file is replaced, and every file that could not be written is returned with the system's
// reason; nothing in memory changes. A file that could not be read whole when the log was
// opened (cut short, or with bytes after its counted records) is first copied to
// "<name>.damaged" (or "<name>.damaged2", ...), so the bytes that were not understood are kept.
// A rename that fails while the files are replaced puts the ones already replaced back;
// `leftMixed` is set when even that failed (the problems then name the copies kept).
FileProblems SaveLog(const AppState& state, bool* leftMixed = nullptr);

// The files of the set that another program changed (or made) since OpenLog read them or
// SaveLog last wrote them: a save would write over that program's work.
std::vector<QString> ChangedOnDisk(const AppState& state);

// Names for keeping both: the six names of the set with "-kept" (or "-kept2", ...) before
// ".dvl", chosen so that none of the six exists yet.
FileSet KeepBothNames(const FileSet& files);

// Writes the log, lists and profiles under other names (KeepBothNames), all or nothing, and
// leaves the files of the set as they are.
FileProblems SaveLogAs(const AppState& state, const FileSet& names);

// One empty dive, CurrentDive 1, and each list with its default entry.
void StartNewLog(AppState& state);

// The lists a new diver starts with, and an empty profile list (record 0 only).
void StartDefaultLists(AppState& state);
RefList defaultList(int which); // 0 "Pool", 1 "Pleasure", 2 "None", 3 "Standard"

// Appends an all-zero dive and shows it. False (and no change) when the log already holds
// the most dives a file can count.
bool AppendEntry(AppState& state);
constexpr int MaxDives = 32767;

// Removes the dive at CurrentDive (needs at least two dives). Removing the last dive shows
// the new last dive; otherwise the dive that followed takes the removed dive's place.
void RemoveEntry(AppState& state);

} // namespace store
