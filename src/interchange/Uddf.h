#pragma once

#include "Units.h"
#include "store/AppState.h"

#include <QByteArray>
#include <QDateTime>

#include <vector>

namespace interchange {

// The chosen dives (indexes into state.Dives, in this order) as a UDDF 3.2.0 document in
// UTF-8. `units` says how to read the log's bare numbers; everything is written in SI units.
// `written` is the moment the generator element records. UDDF requires what a log may lack (a
// date, a time, a tank's starting pressure); such a dive is still written, in the most faithful
// valid form, and `specialForms` (when given) gets one line per dive saying how.
QByteArray uddfDocument(const store::AppState& state, const std::vector<int>& dives, Units units,
                        const QDateTime& written, QStringList* specialForms = nullptr);

// The dive's entry as a valid xs:dateTime, and (in `how`) what had to be put in for a date or
// time the log does not hold: no date becomes 1900-01-01, a day the month lacks its last day,
// a month out of range January, a time out of range 00:00. `how` stays empty when none was.
QString uddfDateTime(const store::DiveRecord& dive, QString* how);

// The entry date and time of a dive in ISO 8601 ("1997-07-04T09:05:00"); the date alone when
// the time is not a time of day; empty when the date is not a real date (month 0, year 0,
// 31 February). An entry at 24:00 or at minute 60 is the next day or hour.
QString diveDateTime(const store::DiveRecord& dive);

} // namespace interchange
