#pragma once

#include "Cli.h"

#include "search/DiveSearch.h"

#include <vector>

// The options that choose dives, as `select` reads them; every command that works on chosen
// dives takes the same ones, read by this one parser.
namespace cli {

// An option of the command itself, read beside the selection options: a flag sets *flag, an
// option with a value sets *value.
struct OwnOption {
    QString name;
    bool* flag = nullptr;
    QString* value = nullptr;
};

struct Selection {
    search::ChartCriteria criteria;
    bool given = false; // any selection option was given
};

// Reads ctx.args into `selection` and the command's own options. On a bad argument it calls
// ctx.fail (one line naming it) and returns false.
bool parseSelection(Context& ctx, const QString& command, const std::vector<OwnOption>& own,
                    Selection& selection);

// The chart dialog only offers the lines its lists have: a position beyond a list is refused
// (ctx.fail, false).
bool checkListPositions(Context& ctx, const search::ChartCriteria& criteria, const AppState& state);

// Runs the search and returns the log positions it found.
std::vector<int> selectedDives(search::ChartCriteria& criteria, AppState& state);

// The lines of --help that describe the selection options.
extern const char* const SelectionHelp;

} // namespace cli
