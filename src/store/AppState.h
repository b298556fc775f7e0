#pragma once

#include "Records.h"

#include <array>
#include <cstdint>
#include <vector>

namespace store {

// Everything the program holds while it runs: the open diver's log, lists and profiles,
// the last selection and the dives handed to the output dialog. One instance is made in
// main() and passed by reference to every window; tests make their own.
struct AppState {
    // Dives[0] holds no dive and stays all zero; the dives are Dives[1..DiveCount()].
    std::vector<DiveRecord> Dives{1};
    int CurrentDive = 0;    // index of the shown dive
    int16_t DiveOffset = 0; // dive number shown = index + DiveOffset

    QString DiverName = QStringLiteral("Default");
    FileSet Files;
    int16_t DefaultDiver = 1;
    uint8_t MultiFlag = 0;
    bool Loaded = false; // the open diver's files have been read (OpenLog ran); saves need it

    RefList LocationList;
    RefList TypeList;
    RefList BuddyList;
    RefList GearList;

    // Profiles[0] is never referenced by a dive.
    std::vector<ProfileRecord> Profiles{1};


    std::vector<DiverEntry> DiverList; // position p is DiverList[p - 1]

    // Files of the open set that exist but could not be read whole when the log was opened.
    // The next save sets each one aside under a new name before writing it, so what could not
    // be read is never overwritten. Mutable because saving takes the state as const: a file
    // once set aside and written anew is whole again and leaves the list.
    mutable std::vector<QString> DamagedFiles;

    // What each of the six files (in FileSet::names() order) held when it was last read or
    // written, as a digest (empty: the file was not there), so that a save can tell whether
    // another program changed one since. Mutable for the same reason as DamagedFiles.
    mutable std::array<QByteArray, 6> FileDigests{};

    int DiveCount() const { return static_cast<int>(Dives.size()) - 1; }
    DiveRecord& current() { return Dives[static_cast<size_t>(CurrentDive)]; }
    const DiveRecord& current() const { return Dives[static_cast<size_t>(CurrentDive)]; }

    // The reference list that ListData element `which` (field::Location .. field::Gear) indexes.
    // Any other index throws std::out_of_range.
    RefList& list(int which);
    const RefList& list(int which) const;
};

} // namespace store
