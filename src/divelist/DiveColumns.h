#pragma once

#include "interchange/Units.h"
#include "store/AppState.h"

#include <QString>

#include <array>

// The columns of the dive list, shared by the window and `reefbook-cli list`: their names,
// titles and cell texts. Everything is read from the records; a column is never sorted or
// filtered by the text it shows.
namespace divelist {

enum Column : int {
    Number,
    Date,
    Entry,
    Exit,
    Location,
    Type,
    Buddy,
    Gear,
    MaxDepth,
    BottomTime,
    PsiIn,
    PsiOut,
    TankSize,
    Weight,
    AirTemp,
    SurfaceTemp,
    BottomTemp,
    Visibility,
    Rating,
    FirstCondition, // eight columns, CondData order
    Comment = FirstCondition + 8,
    ColumnCount
};

// The field name `reefbook-cli dump` writes for the column ("number" for Number).
QString columnKey(int column);
// The column of a key (case ignored), or -1.
int columnNamed(const QString& key);
// The header: "Max Depth (ft)" — units as the diver logs them, only ever a label.
QString columnTitle(int column, interchange::Units units);
// Columns shown until the diver chooses.
bool shownByDefault(int column);
// Numbers read best right-aligned, names and comments left.
bool isNumeric(int column);

// A dive without a whole date (month, day or year missing) sorts after every dated one.
bool isUndated(const store::DiveRecord& d);
// The comment up to its first line break.
QStringView firstLine(const QString& comment);
// "Poor", "Average", "Good"; the number for anything else.
QString ratingWord(int16_t rating);

// What the cell of dive `index` shows. A number not entered (0) shows nothing.
QString cellText(const store::AppState& state, int index, int column);

} // namespace divelist
