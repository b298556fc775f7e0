#include "TextExport.h"

#include "Credits.h"
#include "store/Text.h"

namespace output {

namespace {

constexpr char kEol[] = "\r\n";

void add(QByteArray& out, const QString& s) { text::appendCp1252(out, s); }

void addHeading(QByteArray& out, const AppState& state) {
    out += "Reef Book of ";
    add(out, state.DiverName);
    out += kEol;
}

void addCredits(QByteArray& out) {
    out += credits::Product;
    out += " logbook software by ";
    out += credits::Makers;
    out += kEol;
    out += "Copyright (c) ";
    out += credits::Year;
    out += ' ';
    out += credits::Makers;
    out += kEol;
}

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size();
}

} // namespace

void appendTextDive(QByteArray& out, const DiveValues& v, bool withComments) {
    add(out, v.LocationName);
    out += '\t';
    add(out, textRatingText(v.Rating));
    out += kEol;

    add(out, v.DiveNoText);
    out += '\t';
    add(out, v.TypeName);
    out += '\t';
    add(out, v.BottomTimeText);
    out += kEol;

    add(out, v.DateText);
    out += '\t';
    add(out, v.BuddyName);
    out += '\t';
    add(out, v.TotalTimeText);
    out += kEol;

    out += "\t\t";
    add(out, v.GearName);
    out += "--";
    add(out, v.WeightText);
    out += kEol;

    add(out, v.PsiInText);
    out += "\t\t\t";
    add(out, v.TimeInText);
    out += kEol;

    add(out, v.PsiOutText);
    out += '\t';
    add(out, v.AirTempText);
    add(out, v.SurfaceTempText);
    add(out, v.BottomTempText);
    out += '\t';
    add(out, v.TimeOutText);
    out += kEol;

    out += " \r\n";
    add(out, v.MaxDepthText);
    out += kEol;

    add(out, v.AvgTimeText);
    out += "\t\t\t";
    add(out, v.VisibilityText);
    out += kEol;

    add(out, v.AvgDepthText);
    out += "\t\t\t";
    add(out, v.TankSizeText);
    out += kEol;
    out += " \r\n";

    for (size_t c = 0; c < ConditionOrder.size(); ++c) {
        if (v.conditionSet[c]) {
            out += ConditionOrder[c].name;
            out += kEol;
        }
    }
    if (withComments) {
        add(out, v.Comments);
        out += kEol;
    }
    // The block ends in a blank line of two bare carriage returns.
    out += "\r\r\r\n";
}

QByteArray textDocument(const AppState& state, const std::vector<int>& dives, bool withComments) {
    const RunningTotals totals(state);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(dives.size()) * 400 + 256);
    addHeading(out, state);
    for (int i : dives)
        if (i >= 1 && i <= state.DiveCount())
            appendTextDive(out, makeDiveValues(state, i, totals), withComments);
    addCredits(out);
    return out;
}

bool WriteTextDive(QIODevice& out, const AppState& state, int i, const RunningTotals& totals,
                   bool withComments) {
    if (i < 1 || i > state.DiveCount())
        return true; // not a dive: nothing to write
    QByteArray block;
    appendTextDive(block, makeDiveValues(state, i, totals), withComments);
    return writeAll(out, block);
}

bool writeTextDocument(QIODevice& out, const AppState& state, const std::vector<int>& dives,
                       bool withComments) {
    return writeAll(out, textDocument(state, dives, withComments));
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
