#pragma once

#include "store/AppState.h"

#include <QByteArray>

namespace cli {

// The whole open file set as UTF-8 JSON: one dive, list entry or profile per line, keys in a
// fixed order, numbers exactly as stored. Text is the Unicode of the Windows-1252 bytes, so
// loading the dump writes the same bytes back.
QByteArray dumpJson(const store::AppState& state);

// A JSON string literal, quotes included. Control characters (C0, DEL and C1) are escaped so
// every character of a stored text survives and nothing reaches the terminal raw.
QByteArray jsonString(const QString& s);

} // namespace cli
