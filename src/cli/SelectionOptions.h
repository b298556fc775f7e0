#pragma once

#include "Cli.h"

#include "search/DiveSearch.h"

#include <vector>

// The options that choose dives, as `select` reads them; every command that works on chosen
// dives takes the same ones, read by this one parser.
namespace cli {

struct Selection {
    search::ChartCriteria criteria;
    bool given = false; // any selection option was given
};

// The options that choose dives, and a command's own options after them.
std::vector<OptionDef> selectionOptions();
std::vector<OptionDef> withSelection(std::vector<OptionDef> own);

// Reads the selection options of ctx.line (selectionOptions()) into `selection`. On a bad
// value, or a word that is no option, it calls ctx.fail (one line naming it) and returns false.
bool parseSelection(Context& ctx, const QString& command, Selection& selection);

// The chart dialog only offers the lines its lists have: a position beyond a list is refused
// (ctx.fail, false).
bool checkListPositions(Context& ctx, const search::ChartCriteria& criteria,
                        const store::AppState& state);
// Opens the file set for a command that chooses dives (what is wrong is told, not fatal) and
// checks the list positions the criteria name.
bool openForSelection(Context& ctx, const search::ChartCriteria& criteria, store::AppState& state);

// Runs the search and returns the log positions it found.
std::vector<int> selectedDives(search::ChartCriteria& criteria, store::AppState& state);

// The paragraph of --help that explains how the selection options combine.
extern const char* const SelectionHelp;

} // namespace cli
