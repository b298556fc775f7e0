#pragma once

#include "Statistics.h"
#include "interchange/Units.h"

#include <QStringList>

#include <vector>

namespace stats {

// The statistics as a table of texts. The window, its Copy command and `reefbook-cli stats`
// all show this one table, so they cannot disagree.

// The units the figures are labelled in. The log keeps bare numbers; this is the one place
// that decides what they are called.
interchange::Units unitsShown();
// "min", "ft", "°F", "psi" as q is measured in the units shown.
QString unitOf(Quantity q);

// "1997", "1997-07", "July", the entry's name; "Undated" or "Not in the list" for the group
// without a key.
QString keyText(GroupBy by, const Group& g);
QString monthName(int month); // 1-12

// total / count with one decimal, halves away from zero; "-" when nothing was entered.
QString averageText(const Tally& t);

struct TextTable {
    QStringList header; // a name per column that says it all: "Avg Depth (ft)"
    // The same as two lines for a narrow text table: a band over each quantity's three columns
    // ("Depth (ft)" over the first of them, empty over the others) and "avg", "min", "max".
    QStringList bands;
    QStringList subheads;
    std::vector<QStringList> rows; // one per group, then "All"
};

// Columns: the key, Dives, the bottom time in hours and minutes, then average, minimum and
// maximum of every quantity.
TextTable textTable(const Summary& s);

// The two-line header, then the rows; columns padded to their widest cell, the first to the
// left, the numbers to the right.
QString alignedText(const TextTable& t);
// A line per row, cells separated by tabs, as spreadsheets take it from the clipboard.
QString tabSeparated(const TextTable& t);

} // namespace stats
