#pragma once

#include "store/AppState.h"
#include "store/FileIO.h"

#include <QStringList>

namespace divers {

// divers.dvl and the diver operations on AppState::DiverList (position p is DiverList[p - 1]).

inline const QString ListFileName = QStringLiteral("divers.dvl");

// divers.dvl as it stands, read and checked in the one way every part of the program reads it
// (size limit, regular files only): how the read went, the divers it holds and what was wrong
// inside it. Writes nothing.
struct DiverFile {
    store::fileio::ReadStatus status = store::fileio::ReadStatus::Failed;
    QString error;   // why it could not be read (status Failed or Unsafe)
    std::vector<store::DiverEntry> divers;
    QString problem; // what was wrong inside it (cut short, ...); the whole divers are kept
};
DiverFile readDiverFile();

// Reads divers.dvl into state.DiverList. A missing, empty or zero-count file gives the open
// diver alone (InitDiverList); a missing one is created empty. Returns what was wrong with
// the file.
store::FileProblems LoadDiverList(store::AppState& state);

// The open diver alone, DiverList of one.
void InitDiverList(store::AppState& state);

// Writes state.DiverList to divers.dvl; returns the failure, if any.
store::FileProblems SaveDiverList(const store::AppState& state);

// Appends a diver. shared[k] (0 locations, 1 types, 2 buddies, 3 gear) is 0 for a new file,
// or the position of the diver whose list file he shares. Log and profile files are always
// new. A generated name never reuses a file another diver's entry already names.
void AddDiver(store::AppState& state, const QString& name, const std::array<int, 4>& shared);

// Removes the six files named by the entry at `position` (log first), to the desktop's trash
// where there is one. A file that another entry also names stays: it is that diver's too.
// Returns failures.
store::FileProblems DeleteData(const store::AppState& state, int position);

// A name typed for a new diver. Blanks around it are dropped (`name` gets what is stored);
// names are compared without regard to case, since "ann" and "Ann" would also share the names
// of their exported files.
enum class NameCheck { Ok, Empty, Used, NotStorable };
NameCheck checkNewName(const store::AppState& state, const QString& typed, QString* name);

// The diver at `position` becomes the open diver (DiverName and Files); 0 or a position past
// the list means the default diver, and with no valid default the open diver stays. Then
// divers.dvl is written; returns the failure, if any.
store::FileProblems SelectDiver(store::AppState& state, int position);

// The names of the other divers in divers.dvl whose entry names the same file for list `which`
// (0 locations, 1 types, 2 buddies, 3 gear) as the open diver. Their dives name its entries by
// position, so an entry deleted from it would change their dives too.
QStringList sharedWith(const store::AppState& state, int which);

enum class DeleteCheck { Ok, NoSelection, IsDefault };
DeleteCheck checkDelete(const store::AppState& state, int position);

} // namespace divers
