#pragma once

#include "AppState.h"

// Reference list changes that touch the dives.
namespace lists {

// After entry `deleted` of list `which` (0 loc, 1 type, 2 buddy, 3 gear) is removed: every
// dive naming it names entry 0 instead, every dive naming a later entry names the one below.
void renumberAfterDelete(AppState& state, int which, int deleted);

// Appends an entry with this name (other fields empty) to list `which`; returns its index,
// or -1 when the list already holds the most entries a file can count.
int AddListEntry(AppState& state, int which, const QString& name);
constexpr int MaxEntries = 32767;

// The name of entry `index` of list `which`, or an empty text for an index outside it.
QString entryName(const AppState& state, int which, int index);

} // namespace lists
