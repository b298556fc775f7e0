#pragma once

#include "store/AppState.h"

namespace lists {

// Reference list changes that touch the dives.

// After entry `deleted` of list `which` (0 loc, 1 type, 2 buddy, 3 gear) is removed: every
// dive naming it names entry 0 instead, every dive naming a later entry names the one below.
// A list or position that cannot exist changes nothing.
void renumberAfterDelete(store::AppState& state, int which, int deleted);

// Appends an entry with this name (other fields empty) to list `which`; returns its index,
// or -1 when the list already holds the most entries a file can count.
int AddListEntry(store::AppState& state, int which, const QString& name);
constexpr int MaxEntries = 32767;

// The name of entry `index` of list `which`, or an empty text for an index outside it.
QString entryName(const store::AppState& state, int which, int index);

// For a list other divers share: what in `after` would make their dives name another entry
// than in `before` (an entry removed, or another name in its place), as "entry 2 (\"Reef\")
// would be removed"; empty when every entry of `before` keeps its place (entries added after
// them and changed info are fine).
QString sharedListChange(const store::RefList& before, const store::RefList& after);

// ---- The list editors' working copy ----

// The list that ListKind (1 types, 2 buddies, 3 gear) picks for the type/buddy/gear editor;
// any other value falls back to the dive types.
int listForKind(int kind);
// That editor's window caption: "Dive Types", "Dive Buddies" or "Gear Records".
QString kindCaption(int kind);

// The copy of one list an editor works on while it is open, and the entry the user has
// selected in it: -1 when none is, for instance after typing over the shown name.
// The dives keep naming the list as it was until the draft is committed: a save while the
// editor is open then writes dives and list that still agree.
struct ListDraft {
    store::RefList entries;
    int selected = -1;
    std::vector<int> deleted; // positions removed, in the order they were removed

    bool hasSelection() const {
        return selected >= 0 && selected < static_cast<int>(entries.size());
    }
};

// The editor's starting copy of list `which`, with the entry that the shown dive names
// selected (none when the dive names an entry the list does not have).
ListDraft startDraft(const store::AppState& state, int which);

// Appends `name` as a new last entry with empty info and picture and selects it; returns its
// index. Refused (-1, nothing changes) while an entry is selected, for an empty name, or
// when the list is full. An existing name is not looked for: it may be added twice.
int addDraftEntry(ListDraft& draft, const QString& name);

enum class DeleteOutcome {
    Deleted,    // the entry is gone from the draft
    OnlyEntry,  // refused: a list keeps at least one entry
    NoSelection // nothing selected, nothing done
};
// Removes the selected entry from the draft; the dives follow when the draft is committed.
// Afterwards no entry is selected.
DeleteOutcome deleteDraftEntry(ListDraft& draft);

// Store typed info or a chosen picture path into the selected entry; false (and nothing
// stored) when no entry is selected.
bool setDraftInfo(ListDraft& draft, const QString& info);
bool setDraftPicture(ListDraft& draft, const QString& path);

// Makes the draft list `which` again, entry for entry in the draft's order, and in the same
// step renumbers every dive naming this list for the entries the draft removed. Committing
// twice changes nothing more.
void commitDraft(store::AppState& state, int which, ListDraft& draft);

// Whether a picture path survives the location file, whose text is Windows-1252: a path
// with letters outside it would come back with '?' in their place and name no file.
bool pathStorable(const QString& path);

// The file name at the end of a stored picture path, whether the path was written with
// '/' or with '\' (paths kept from a Windows machine).
QString pictureFileName(const QString& path);

} // namespace lists
