#pragma once

#include "DiveValues.h"
#include "ExportDriver.h"

#include <QIODevice>

#include <vector>

namespace output {

// The plain-text logbook: a heading line, one block of lines per dive, two credit lines.
// Lines end in CR LF; text is Windows-1252.

// The text file's parts, for the export driver (exportDocument, exportToFile, ...).
extern const ExportFormat TextFormat;

// Writes the block of dive index i to an open device; false when the device refused it.
bool WriteTextDive(QIODevice& out, const store::AppState& state, int i, const RunningTotals& totals,
                   bool withComments);

// Writes the whole file to fileName (BaseName + ".txt" from the output dialog).
ExportResult WriteTextFile(const store::AppState& state, const QString& fileName,
                           const std::vector<int>& dives, bool withComments);

} // namespace output
