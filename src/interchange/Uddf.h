#pragma once

#include "Units.h"
#include "store/AppState.h"

#include <QByteArray>
#include <QDateTime>

#include <vector>

namespace interchange {

// The chosen dives (indexes into state.Dives, in this order) as a UDDF 3.2.0 document in
// UTF-8. `units` says how to read the log's bare numbers; everything is written in SI units.
// `written` is the moment the generator element records.
QByteArray uddfDocument(const AppState& state, const std::vector<int>& dives, Units units,
                        const QDateTime& written);

// The entry date and time of a dive in ISO 8601 ("1997-07-04T09:05:00"); the date alone when
// the time is not a time of day; empty when the date is not a real date (month 0, year 0,
// 31 February). An entry at 24:00 or at minute 60 is the next day or hour.
QString diveDateTime(const DiveRecord& dive);

} // namespace interchange
