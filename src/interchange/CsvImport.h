#pragma once

#include "CsvValues.h"
#include "ImportReport.h"
#include "Units.h"
#include "store/AppState.h"

#include <QByteArray>

namespace interchange {

// Appends the dives of a table of dives to `state`: our own CSV export, another logbook's
// CSV or TSV, or a spreadsheet's re-save of either. The separator (, ; tab) and the text's
// encoding (UTF-8 with or without byte order mark, else Windows-1252) are found from the
// file; columns are found by header name, the names other logbooks use included, and a unit
// in the header ("Depth [m]", "Temp (°F)", "Pressure bar") or in a cell ("8.0 m / 26 ft")
// is converted into the log's `units`, which are also the units of a number given without.
// Values the entry boxes would not take are clamped as the boxes would, with a warning; a
// column no field takes is listed in columnsLeftOut. A file without a date, a depth and an
// entry time or duration column, or whose dates can be read in two orders when `order` does
// not say which, is refused. On any error the state is left exactly as it was.
ImportReport importCsv(store::AppState& state, const QByteArray& bytes, Units units,
                       DateOrder order = DateOrder::Unknown);

} // namespace interchange
