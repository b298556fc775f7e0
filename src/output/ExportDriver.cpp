#include "ExportDriver.h"

#include "ByteWriter.h"
#include "DiveChoice.h"

#include <QFileInfo>

namespace output {

namespace {

void addDocument(const ExportFormat& format, ByteWriter& out, const store::AppState& state,
                 const std::vector<int>& dives, bool withComments) {
    format.heading(out, state);
    forEachDiveValues(state, dives, [&](const DiveFigures& v) {
        format.dive(out, v, withComments);
        out.drain();
    });
    format.closing(out);
}

// A diver's file names come from the settings and divers.dvl and could, however unlikely, be
// the export's name: never write an export over a log.
bool refused(const store::AppState& state, const QString& fileName, ExportResult& result) {
    result.refusal = dataFileInTheWay(state, fileName);
    return !result.refusal.isEmpty();
}

ExportResult failed(const QString& fileName, const QString& reason) {
    ExportResult result;
    result.problems.push_back({fileName, reason});
    return result;
}

} // namespace

QByteArray exportDiveBlock(const ExportFormat& format, const DiveValues& v, bool withComments) {
    ByteWriter out(format.perDiveBytes);
    format.diveValues(out, v, withComments);
    return out.take();
}

QByteArray exportDocument(const ExportFormat& format, const store::AppState& state,
                          const std::vector<int>& dives, bool withComments) {
    ByteWriter out(static_cast<qsizetype>(dives.size()) * format.perDiveBytes + format.fixedBytes +
                   format.diverTextFactor * diverTextSize(state, dives, withComments));
    addDocument(format, out, state, dives, withComments);
    return out.take();
}

bool writeExportDive(const ExportFormat& format, QIODevice& out, const store::AppState& state,
                     int i, const RunningTotals& totals, bool withComments) {
    if (i < 1 || i > state.DiveCount()) return true; // not a dive: nothing to write
    const QByteArray bytes =
        exportDiveBlock(format, makeDiveValues(state, i, totals), withComments);
    return out.write(bytes) == bytes.size();
}

bool writeExportDocument(const ExportFormat& format, QIODevice& out, const store::AppState& state,
                         const std::vector<int>& dives, bool withComments) {
    ByteWriter writer(out);
    addDocument(format, writer, state, dives, withComments);
    return writer.drain(true);
}

ExportResult writeExportFile(const ExportFormat& format, const store::AppState& state,
                             const QString& fileName, const std::vector<int>& dives,
                             bool withComments) {
    const QString reason =
        writeOutputFile(fileName, exportDocument(format, state, dives, withComments));
    if (!reason.isEmpty()) return failed(fileName, reason);
    ExportResult result;
    result.written = true;
    // A file sent to a device or a pipe has no folder of its own to put anything beside it.
    if (format.beside && QFileInfo(fileName).isFile())
        result.problems = format.beside(QFileInfo(fileName).absolutePath());
    return result;
}

QString exportFileName(const store::AppState& state, const char* extension) {
    return MakeBaseName(state.DiverName) + QLatin1String(extension);
}

ExportResult exportToFile(const ExportFormat& format, const store::AppState& state,
                          const QString& fileName, const std::vector<int>& dives,
                          bool withComments) {
    if (ExportResult result; refused(state, fileName, result)) return result;
    return writeExportFile(format, state, fileName, dives, withComments);
}

ExportResult exportBytesToFile(const store::AppState& state, const QString& fileName,
                               const QByteArray& bytes) {
    if (ExportResult result; refused(state, fileName, result)) return result;
    if (const QString reason = writeOutputFile(fileName, bytes); !reason.isEmpty())
        return failed(fileName, reason);
    ExportResult result;
    result.written = true;
    return result;
}

} // namespace output
