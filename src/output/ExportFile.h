#pragma once

#include "store/FileIO.h"

#include <QByteArray>
#include <QString>

namespace output {

// What writing an output file came to. When `written` is false the file on disk is as it
// was before and `problems` names the file and the reason. When it is true, `problems` may
// still list pictures that could not be put beside an HTML page; the page itself is complete.
struct ExportResult {
    bool written = false;
    FileProblems problems;
};

// Writes the whole file through a temporary file and a rename, so a failure leaves the
// previous file intact. A bare name is written in the current folder; a path is allowed
// here because the file name comes from the user, not from a data file. Returns an empty
// text on success, otherwise the reason.
QString writeOutputFile(const QString& path, const QByteArray& bytes);

} // namespace output
