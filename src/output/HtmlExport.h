#pragma once

#include "DiveValues.h"
#include "ExportDriver.h"

#include <QIODevice>
#include <QStringList>

#include <vector>

namespace output {

// The logbook as one HTML page: the diver's name as heading, then per dive a centred block
// with the location, the rating faces, a table of values and a table with the comments and
// the conditions as tick boxes. Lines end in CR LF; text is Windows-1252.

// "&", "<", ">" and the double quote as entities, so a name or comment cannot break the page.
QString htmlEscaped(const QString& s);

// The page's parts, for the export driver (exportDocument, exportToFile, ...); the pictures
// go beside a page written to a file.
extern const ExportFormat HtmlFormat;

// Writes the block of dive index i to an open device; false when the device refused it.
bool WriteHtmlDive(QIODevice& out, const store::AppState& state, int i, const RunningTotals& totals,
                   bool withComments);

// The pictures the page refers to by bare name.
QStringList pageImageNames();

// Puts each picture the page refers to into `folder` unless a file of that name is already
// there (the diver may have chosen his own). Returns the pictures that could not be written.
store::FileProblems writePageImages(const QString& folder);

// Writes the page to fileName (BaseName + ".htm" from the output dialog), then the pictures
// beside it. A picture that cannot be written is listed in the result's problems but does
// not make the page fail.
ExportResult WriteHtmlFile(const store::AppState& state, const QString& fileName,
                           const std::vector<int>& dives, bool withComments);

} // namespace output
