#pragma once

#include "store/AppState.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace search {

// Picking dives by criteria. The chart dialog and `reefbook-cli select` both fill a
// ChartCriteria with the dialog's boxes as typed, so every box is read the same way by both.

enum SelectionMode { AllDives = 0, ByDate = 1, ByNumber = 2 };

// Day numbers of the earliest and latest date a date range can reach (1/1/1940, 12/31/2099).
constexpr int32_t FirstDay = 2429629;
constexpr int32_t LastDay = 2488068;

struct ChartCriteria {
    int SelectionMode = AllDives;
    std::array<QString, 3> DateFrom; // month, day, year
    std::array<QString, 3> DateTo;
    QString NumFrom, NumTo; // log positions, 1 = first record
    bool AllInRange = false;
    std::array<bool, 3> Ratings{}; // by Rating value: 0 poor, 1 average, 2 good
    // Tank size, bottom time, maximum depth: lower bound inclusive, upper exclusive.
    std::array<bool, 3> UseRange{};
    std::array<QString, 3> RangeMin, RangeMax;
    std::array<bool, 8> Conds{};
    // By ListData element (0 location, 1 type, 2 buddy, 3 gear): the selected line positions.
    std::array<bool, 4> UseList{};
    std::array<std::vector<int>, 4> ListLines;
    bool UseComment = false;
    QString Comment;
};

// Julian day number of a date, proleptic Gregorian. The date is not validated: 2/31/1997 is
// 3/3/1997, month 13 is January of the next year.
int32_t DayNumber(int month, int day, int year);

// A year box after windowing: below 50 means 20xx, 50 to 99 means 19xx, anything else stays.
QString windowYear(const QString& box);

// A box read as a 16-bit number: leading number, halves to even, clamped rather than wrapped.
int16_t boxValue16(const QString& box);

// What a search actually walked, after empty and out-of-range boxes were read: the log
// positions first..last (none when first > last) and, by date, the admissible days.
struct SearchedRange {
    int SelectionMode = AllDives;
    int first = 1, last = 0;
    int32_t fromDay = FirstDay, toDay = LastDay;
};

// Windows both year boxes (the dialog shows the rewritten text), then walks the chosen range
// and replaces `flagged` with the dives that pass (element 0 holds no dive). Returns what
// was walked.
SearchedRange RunSearch(ChartCriteria& criteria, const store::AppState& state,
                        std::vector<int16_t>& flagged);

// The results window's line on what was searched, in dive numbers as the diver sees them, e.g.
// "Searched: positions 1–4, dives 101–104".
QString describeSearched(const SearchedRange& range, int diveOffset);

// Beside the By Number(s) boxes, which take log positions: "positions 1–40 are dives 101–140".
QString positionsHint(int diveCount, int diveOffset);

// Appends dive n unless it is already the last one flagged.
void FlagDive(std::vector<int16_t>& flagged, int n);

// Keeps a selection pointing at the same dives after dive `index` has left the log: that dive
// drops out and the ones after it move down by one.
void DiveRemoved(std::vector<int16_t>& flagged, int index);

// Comments compared without regard to case for every letter Windows-1252 can hold. The text
// looked for is folded once, with the characters below 256 that fold to its first one (at
// most a letter's two cases).
struct FoldedNeedle {
    QString text;
    char16_t firstA = 0xFFFF, firstB = 0xFFFF;
    int firstVariants = 0;
};
FoldedNeedle foldNeedle(const QString& text);
bool containsFolded(QStringView haystack, const FoldedNeedle& needle);

// What the results window shows.
struct ResultFigures {
    int matched = 0;
    int total = 0;
    int percent = 0;            // whole part of matched / total * 100; 0 for an empty log
    std::vector<int> indexes;   // log positions of the matches
    std::vector<int> displayed; // the same dives by their displayed numbers
};
ResultFigures Figures(const store::AppState& state, const std::vector<int16_t>& flagged);

} // namespace search
