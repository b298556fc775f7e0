#pragma once

#include <QStringList>

#include <array>

namespace interchange {

// What an import did, or would do on a dry run.
struct ImportReport {
    QStringList errors;   // why nothing was imported; the log is unchanged when set
    QStringList warnings; // what was read but not kept exactly
    int added = 0;
    int firstIndex = 0;                  // index of the first added dive
    bool replacedBlank = false;          // the log's only dive was blank and made way for the new
    std::array<QStringList, 4> newNames; // names added to the location, type, buddy, gear list
    QStringList skipped;                 // one line per dive left out, with the reason
    QStringList columnsLeftOut;          // columns of a table no field of a dive takes
    QStringList details;                 // one line per dive added: number, date, depth, site
};

} // namespace interchange
