#pragma once

#include "store/AppState.h"

#include <QByteArray>
#include <QString>

namespace cli {

// Reads JSON of the shape dumpJson writes into the dives, the four lists and the profiles of
// `state` (its diver, offset and file names are left alone: the file set to write is the
// caller's). Returns an empty string on success, otherwise one sentence naming the field
// that is wrong, e.g. "dives[3].psiIn: 40000 is out of range (-32768 to 32767)"; on failure
// `state` is unchanged.
//
// A key missing inside a dive, entry or profile reads as 0 or empty text; a key that is not
// part of the format is refused, so a misspelt key cannot silently lose a value. "dives" and
// the four lists are required and may not be empty (a log always has a dive, a list always
// has an entry); "profiles" may be missing or empty, which stores record 0 only.
QString loadJson(const QByteArray& json, store::AppState& state);

} // namespace cli
