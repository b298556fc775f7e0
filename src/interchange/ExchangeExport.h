#pragma once

#include "Units.h"
#include "output/ExportCommand.h"
#include "store/AppState.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

#include <vector>

namespace interchange {

enum class Format { Uddf, Csv };

// The whole file for the chosen dives. `specialForms` gets a line for each dive UDDF could
// take only in a special form (see uddfDocument); `bom` starts a CSV with a byte order mark.
QByteArray exchangeDocument(const store::AppState& state, const std::vector<int>& dives,
                            Format format, Units units, QStringList* specialForms = nullptr,
                            bool bom = false);
// BaseName + ".uddf" / ".csv".
QString exchangeFileName(const store::AppState& state, Format format);

// reefbook-cli export uddf|csv: the request's dives, units (the diver's unit setting when
// empty), byte order mark and output. A dive written in a special form is named on err as a
// note. Writes BaseName + ".uddf"/".csv" in the current folder, outName, or with "-" the
// bytes to stdOut. Returns 0 when written; 2 with one line on err when the request cannot be
// used or the file cannot be written (nothing written).
int exportExchange(const store::AppState& state, const output::ExportRequest& request,
                   QIODevice& stdOut, QTextStream& err);

} // namespace interchange
