#pragma once

#include "store/AppState.h"

#include <QString>

#include <vector>

namespace output {

// Which dives an output writes, and the name of the file it writes them to.

// The first 8 characters of the diver's name made into a file name: letters in lower case,
// everything else "_"; an empty name gives "default". "John Smith" gives "john_smi".
QString MakeBaseName(const QString& diverName);

enum class DiveChoice { All, Range, Displayed, Selected };

// The range fields as they open: the first and the last dive number of the log.
int rangeFirst(const store::AppState& state);
int rangeLast(const store::AppState& state);

// A start field that lies before the log or after the end field goes back to the first dive
// number; an end field after the log or before the start field goes to the last dive number.
int correctedRangeStart(const store::AppState& state, int start, int end);
int correctedRangeEnd(const store::AppState& state, int start, int end);

// The dive indexes an output walks, in the order it writes them:
//   All       1..DiveCount
//   Range     dive numbers rangeStart..rangeEnd, turned into indexes
//   Displayed CurrentDive
//   Selected  the dives handed over (`selected`), in their order
// An index that is not a dive of the log (a stale list, an uncorrected range) is skipped.
std::vector<int> divesFor(const store::AppState& state, DiveChoice choice, int rangeStart = 0,
                          int rangeEnd = 0, const std::vector<int>& selected = {});

} // namespace output
