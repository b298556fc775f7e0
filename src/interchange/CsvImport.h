#pragma once

#include "Units.h"
#include "store/AppState.h"

#include <QByteArray>
#include <QStringList>

#include <array>

namespace interchange {

struct ImportReport {
    QStringList errors;   // "line 4, column 6 (Max Depth): ..."; the log is unchanged when set
    QStringList warnings; // what was read but not kept exactly
    int added = 0;
    int firstIndex = 0;                  // index of the first added dive
    bool replacedBlank = false;          // the log's only dive was blank and made way for the rows
    std::array<QStringList, 4> newNames; // names added to the location, type, buddy, gear list
};

// Appends the dives of a CSV file shaped like the export (columns found by header name in any
// order, units taken from the headers, missing columns empty) to `state`, adding list entries
// for names the lists do not hold. `units` are the log's. Every value passes the rules of
// the entry boxes; a value the boxes would refuse or correct is an error. On any error the
// state is left exactly as it was.
ImportReport importCsv(AppState& state, const QByteArray& bytes, Units units);

} // namespace interchange
