#pragma once

#include "ImportReport.h"
#include "Units.h"
#include "store/AppState.h"

#include <QByteArray>

namespace interchange {

// Appends the dives of a UDDF document (3.0 to 3.3, read leniently: real files often fail
// their own schema) to `state`, converted from SI into the log's `units`. Sites, buddies and
// gear come from the file's link references and become list entries, matched to existing
// names without regard to case; samples become a profile of at most 150 points. A dive with
// the date and entry time of one already in the log is skipped and reported. On an error
// the state is left exactly as it was.
ImportReport importUddf(store::AppState& state, const QByteArray& bytes, Units units);

} // namespace interchange
