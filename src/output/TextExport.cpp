#include "TextExport.h"

#include "ByteWriter.h"
#include "Credits.h"

namespace output {

namespace {

constexpr std::string_view kEol = "\r\n";

void addHeading(ByteWriter& out, const store::AppState& state) {
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

} // namespace

const ExportFormat TextFormat = {
    ".txt", &addHeading, &addDive<DiveFigures>, &addDive<DiveValues>, &addCredits, 256, 400,
    1,      nullptr};

bool WriteTextDive(QIODevice& out, const store::AppState& state, int i, const RunningTotals& totals,
                   bool withComments) {
    return writeExportDive(TextFormat, out, state, i, totals, withComments);
}

ExportResult WriteTextFile(const store::AppState& state, const QString& fileName,
                           const std::vector<int>& dives, bool withComments) {
    return writeExportFile(TextFormat, state, fileName, dives, withComments);
}

} // namespace output
