#pragma once

#include "DiveValues.h"
#include "ExportFile.h"

#include <QByteArray>
#include <QIODevice>

#include <vector>

namespace output {

class ByteWriter;

// One kind of export file (the text file, the HTML page): the parts the driver below puts
// together. The driver walks the dives, sizes the buffer and writes the file; a format only
// says how its heading, a dive and its closing look.
struct ExportFormat {
    const char* extension; // with its dot
    void (*heading)(ByteWriter& out, const store::AppState& state);
    void (*dive)(ByteWriter& out, const DiveFigures& v, bool withComments);
    // The same block from the texts the windows use.
    void (*diveValues)(ByteWriter& out, const DiveValues& v, bool withComments);
    void (*closing)(ByteWriter& out);
    // The buffer for a whole file: fixed bytes, bytes per dive, and so many bytes per unit of
    // what the diver typed (escaping lengthens it).
    qsizetype fixedBytes, perDiveBytes, diverTextFactor;
    // Run once the file is written as a regular file in `folder` (the HTML page's pictures);
    // returns what could not be put there. May be null.
    store::FileProblems (*beside)(const QString& folder);
};

// The block of one dive.
QByteArray exportDiveBlock(const ExportFormat& format, const DiveValues& v, bool withComments);

// The whole file for these dive indexes, in this order; indexes that are not dives are skipped.
QByteArray exportDocument(const ExportFormat& format, const store::AppState& state,
                          const std::vector<int>& dives, bool withComments);

// Writes the block of dive index i to an open device; false when the device refused it.
bool writeExportDive(const ExportFormat& format, QIODevice& out, const store::AppState& state,
                     int i, const RunningTotals& totals, bool withComments);

// Writes the whole file to an open device a chunk at a time; false when the device refused it.
bool writeExportDocument(const ExportFormat& format, QIODevice& out, const store::AppState& state,
                         const std::vector<int>& dives, bool withComments);

// Writes the whole file to fileName through writeOutputFile, then what goes beside it.
// Something that cannot be put beside it is listed in the result's problems but does not make
// the file fail.
ExportResult writeExportFile(const ExportFormat& format, const store::AppState& state,
                             const QString& fileName, const std::vector<int>& dives,
                             bool withComments);

// The export sequence the print window and reefbook-cli share: the name (BaseName and the
// extension), the check that it is no data file, then the write.
QString exportFileName(const store::AppState& state, const char* extension);
ExportResult exportToFile(const ExportFormat& format, const store::AppState& state,
                          const QString& fileName, const std::vector<int>& dives,
                          bool withComments);
// The same for bytes made elsewhere (the printed pages as PDF).
ExportResult exportBytesToFile(const store::AppState& state, const QString& fileName,
                               const QByteArray& bytes);

} // namespace output
