#pragma once

#include "store/AppState.h"
#include "store/FileIO.h"

#include <QByteArray>
#include <QString>

namespace output {

// What writing an output file came to. When `written` is false the file on disk is as it
// was before and `problems` names the file and the reason. When it is true, `problems` may
// still list pictures that could not be put beside an HTML page; the page itself is complete.
struct ExportResult {
    bool written = false;
    store::FileProblems problems;
    // Set when the name is one of the data files (dataFileInTheWay): nothing was tried.
    QString refusal;
};

// Writes the whole file through a temporary file and a rename, so a failure leaves the
// previous file intact. A bare name is written in the current folder; a path is allowed
// here because the file name comes from the user, not from a data file. A symbolic link is
// written through (the file it points at is replaced, the link stays); a device or a pipe is
// written to straight, never replaced. Returns an empty text on success, otherwise the
// reason in the system's words.
QString writeOutputFile(const QString& path, const QByteArray& bytes);

// Why an export must not write `path`: it is one of the open diver's six files, "divers.dvl",
// a file of a diver that list names, the settings, or a file the program keeps beside them
// (".damaged", ".recovery" and its set-aside copies, the folder's lock), under any name (a
// path, a symbolic or hard link).
// Empty when it may be written.
QString dataFileInTheWay(const store::AppState& state, const QString& path);

} // namespace output
