#pragma once

#include "store/AppState.h"
#include "store/Totals.h"

#include <QString>

#include <array>
#include <functional>
#include <string_view>
#include <vector>

namespace output {

// The labelled texts every output (text file, HTML page, printed page) builds from one dive.
// They are made in one place so the three outputs can never disagree about a value.

// " 45" / "-3": a space stands where a minus sign would go, so columns of values line up.
QString numberText(long long v);
// "45" / "-3".
QString plainNumber(long long v);
// Zero-padded to two digits after the sign: 5 gives "05", 120 gives "120", -5 gives "-05".
QString twoDigitNumber(long long v);

// The conditions in the order every output lists them. Surge comes before Surf here although
// the record stores Surf first; the outputs have always listed them this way.
struct Condition {
    const char* name;
    int flag; // index into DiveRecord::CondData
};
extern const std::array<Condition, 8> ConditionOrder;

// "[Poor Dive]", "[Average Dive]", "[Good Dive]"; empty for any other rating.
QString textRatingText(int rating);

// Running sums of bottom time and depth over the log, built in one pass so that an export
// of every dive stays linear. upTo(i) is what totalsUpTo(state, i) would give.
class RunningTotals {
  public:
    explicit RunningTotals(const store::AppState& state);
    store::LogTotals upTo(int i) const;

  private:
    // Element i holds the sums over dives 1..i; element 0 is zero.
    std::vector<long long> minutes_;
    std::vector<long long> depth_;
};

// A labelled number text such as "Dive: 105" as the bytes a file gets: the text and HTML
// writers copy it as it stands, with no wide string made and narrowed again for every value.
struct Figure {
    char text[64]; // the longest label and its numbers (a date has three 16-bit ones)
    int size = 0;
    std::string_view view() const { return {text, static_cast<size_t>(size)}; }
};

// The values of one dive; Text is QString for windows and print, Figure for the files.
template <typename Text> struct BasicDiveValues {
    QString LocationName, TypeName, BuddyName, GearName;
    Text DiveNoText, BottomTimeText, DateText, WeightText, PsiInText, PsiOutText;
    Text TimeInText, TimeOutText, AirTempText, SurfaceTempText, BottomTempText;
    Text MaxDepthText, VisibilityText, TankSizeText;
    Text TotalTimeText, AvgTimeText, AvgDepthText;
    // Whether each condition of ConditionOrder is set, in that order.
    std::array<bool, 8> conditionSet{};
    int Rating = 0;
    QString Comments;
};
using DiveValues = BasicDiveValues<QString>;
using DiveFigures = BasicDiveValues<Figure>;

// The values of the dive at index i (1..DiveCount). Totals are the log's running totals up to
// and including that dive, whichever dives are being written. A list index outside its list
// gives an empty name.
DiveValues makeDiveValues(const store::AppState& state, int i, const RunningTotals& totals);
// The same, refilling `out`: a writer walking many dives reuses one set of values.
void makeDiveValues(DiveValues& out, const store::AppState& state, int i,
                    const RunningTotals& totals);
// The same texts, narrow.
void makeDiveValues(DiveFigures& out, const store::AppState& state, int i,
                    const RunningTotals& totals);

// The length of what the diver typed for these dives: the four list names and, when asked,
// the comments, in UTF-16 units (a byte each in a file). A writer adds its own fixed length
// per dive to size its buffer once, whatever the diver writes.
qsizetype diverTextSize(const store::AppState& state, const std::vector<int>& dives,
                        bool withComments);

// The values of each chosen dive in turn, with the log's running totals summed once for the
// whole walk. Indexes that are not dives of the log are skipped.
void forEachDiveValues(const store::AppState& state, const std::vector<int>& dives,
                       const std::function<void(const DiveValues&)>& perDive);
void forEachDiveValues(const store::AppState& state, const std::vector<int>& dives,
                       const std::function<void(const DiveFigures&)>& perDive);

} // namespace output
