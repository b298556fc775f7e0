#include "TextExport.h"

#include "ByteWriter.h"
#include "Credits.h"

namespace output {

namespace {

constexpr std::string_view kEol = "\r\n";

void addHeading(ByteWriter& out, const AppState& state) {
    out.put("Reef Book of ");
    out.text(state.DiverName);
    out.put(kEol);
}

void addCredits(ByteWriter& out) {
    out.put(credits::Product);
    out.put(" logbook software by ");
    out.put(credits::Makers);
    out.put(kEol);
    out.put("Copyright (c) ");
    out.put(credits::Year);
    out.put(' ');
    out.put(credits::Makers);
    out.put(kEol);
}

template <typename Values> void addDive(ByteWriter& out, const Values& v, bool withComments) {
    out.text(v.LocationName);
    out.put('\t');
    out.text(textRatingText(v.Rating));
    out.put(kEol);

    out.text(v.DiveNoText);
    out.put('\t');
    out.text(v.TypeName);
    out.put('\t');
    out.text(v.BottomTimeText);
    out.put(kEol);

    out.text(v.DateText);
    out.put('\t');
    out.text(v.BuddyName);
    out.put('\t');
    out.text(v.TotalTimeText);
    out.put(kEol);

    out.put("\t\t");
    out.text(v.GearName);
    out.put("--");
    out.text(v.WeightText);
    out.put(kEol);

    out.text(v.PsiInText);
    out.put("\t\t\t");
    out.text(v.TimeInText);
    out.put(kEol);

    out.text(v.PsiOutText);
    out.put('\t');
    out.text(v.AirTempText);
    out.text(v.SurfaceTempText);
    out.text(v.BottomTempText);
    out.put('\t');
    out.text(v.TimeOutText);
    out.put(kEol);

    out.put(" \r\n");
    out.text(v.MaxDepthText);
    out.put(kEol);

    out.text(v.AvgTimeText);
    out.put("\t\t\t");
    out.text(v.VisibilityText);
    out.put(kEol);

    out.text(v.AvgDepthText);
    out.put("\t\t\t");
    out.text(v.TankSizeText);
    out.put(kEol);
    out.put(" \r\n");

    for (size_t c = 0; c < ConditionOrder.size(); ++c) {
        if (v.conditionSet[c]) {
            out.put(ConditionOrder[c].name);
            out.put(kEol);
        }
    }
    if (withComments) {
        out.text(v.Comments);
        out.put(kEol);
    }
    // The block ends in a blank line of two bare carriage returns.
    out.put("\r\r\r\n");
}

void addDocument(ByteWriter& out, const AppState& state, const std::vector<int>& dives,
                 bool withComments) {
    addHeading(out, state);
    forEachDiveValues(state, dives, [&](const DiveFigures& v) {
        addDive(out, v, withComments);
        out.drain();
    });
    addCredits(out);
}

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size();
}

} // namespace

QByteArray textDiveBlock(const DiveValues& v, bool withComments) {
    ByteWriter out(512);
    addDive(out, v, withComments);
    return out.take();
}

QByteArray textDocument(const AppState& state, const std::vector<int>& dives, bool withComments) {
    ByteWriter out(static_cast<qsizetype>(dives.size()) * 400 + 256 +
                   diverTextSize(state, dives, withComments));
    addDocument(out, state, dives, withComments);
    return out.take();
}

bool WriteTextDive(QIODevice& out, const AppState& state, int i, const RunningTotals& totals,
                   bool withComments) {
    if (i < 1 || i > state.DiveCount()) return true; // not a dive: nothing to write
    return writeAll(out, textDiveBlock(makeDiveValues(state, i, totals), withComments));
}

bool writeTextDocument(QIODevice& out, const AppState& state, const std::vector<int>& dives,
                       bool withComments) {
    ByteWriter writer(out);
    addDocument(writer, state, dives, withComments);
    return writer.drain(true);
}

ExportResult WriteTextFile(const AppState& state, const QString& fileName,
                           const std::vector<int>& dives, bool withComments) {
    ExportResult result;
    const QString reason = writeOutputFile(fileName, textDocument(state, dives, withComments));
    if (reason.isEmpty())
        result.written = true;
    else
        result.problems.push_back({fileName, reason});
    return result;
}

} // namespace output
