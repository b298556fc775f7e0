#pragma once

#include "store/AppState.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace stats {

// Figures over a set of dives, grouped by date, by reference list entry or not at all. A value
// of 0 is a box the diver left empty, as everywhere in the log: it is left out of the counts,
// the extremes and the averages, so a dive without a depth never pulls an average down.

enum class GroupBy { Year, Month, MonthOfYear, Location, Type, Buddy, Gear };
constexpr std::array<GroupBy, 7> Groupings = {
    GroupBy::Year, GroupBy::Month, GroupBy::MonthOfYear, GroupBy::Location,
    GroupBy::Type, GroupBy::Buddy, GroupBy::Gear};

// The command line's words: "year", "month", "month-of-year", "location", "type", "buddy",
// "gear".
QString groupingWord(GroupBy by);
std::optional<GroupBy> groupingNamed(const QString& word);
// The window's and the table's caption: "Year", "Month", "Month of Year", "Location", ...
QString groupingCaption(GroupBy by);

// What is summed per group, in the order the tables and the JSON list them.
enum Quantity { BottomTime, Depth, AirTemp, SurfaceTemp, BottomTemp, Visibility, PressureUsed };
constexpr int QuantityCount = 7;

// The value of q for one dive, or nothing when it was not entered. The pressure used is PSI in
// less PSI out, known only where both were entered.
std::optional<int> valueOf(const store::DiveRecord& dive, Quantity q);

// Count, sum and extremes of the entered values of one quantity. The sum is 64-bit: 32767
// dives of 32767 minutes overflow 32 bits.
struct Tally {
    int count = 0;
    int64_t total = 0;
    int min = 0; // meaningless while count is 0
    int max = 0;

    void add(int value) {
        if (count == 0 || value < min) min = value;
        if (count == 0 || value > max) max = value;
        ++count;
        total += value;
    }
};

struct Group {
    // False for the dives no key fits: undated dives (month outside 1-12 or no year), or a
    // dive naming a list entry the list does not have.
    bool hasKey = true;
    // Year; year * 100 + month; month 1-12; or the list entry's position.
    int key = 0;
    QString name; // the list entry's name, for the list groupings
    int dives = 0;
    std::array<Tally, QuantityCount> tallies;
};

struct Summary {
    GroupBy by = GroupBy::Year;
    // Only groups that hold a chosen dive, in ascending key order (list groupings in list
    // order); the group without a key last.
    std::vector<Group> groups;
    Group all; // every chosen dive; hasKey false
};

// Summarises the dives at these log positions. Positions outside the log, and a position given
// twice, are skipped: a selection made before dives were removed can name one no longer there.
Summary summarize(const store::AppState& state, const std::vector<int>& dives, GroupBy by);

// Every dive of the log, 1..DiveCount.
std::vector<int> everyDive(const store::AppState& state);

// A dive's date is known when its month is 1-12 and its year is above 0.
bool isDated(const store::DiveRecord& dive);

} // namespace stats
