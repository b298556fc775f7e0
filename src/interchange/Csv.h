#pragma once

#include "Units.h"
#include "store/AppState.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

// Comma-separated values, one row per dive, as spreadsheets and other dive logs read them:
// fields separated by commas, a field holding a comma, a quote or a line break enclosed in
// quotes with its quotes doubled, rows ended by CR LF, text in UTF-8.
namespace interchange {

QString csvField(const QString& text);

struct CsvRow {
    int line = 0; // the line of the file the row starts on, from 1
    QStringList cells;
};
struct CsvTable {
    std::vector<CsvRow> rows; // blank lines are left out
    QString error;            // set when the text is not CSV; rows then holds what came before
};
// Rows end at CR LF, LF or CR outside quotes; a UTF-8 byte order mark is skipped.
CsvTable parseCsv(const QString& text);

// What each column of a dive row holds.
enum class CsvKind { Number, Date, Time, Data, List, Condition, Rating, Comments };
struct CsvColumn {
    const char* name;
    CsvKind kind;
    int index; // into TimeData (Time: the hour), DiveData, ListData or CondData
    Quantity quantity;
};
// The columns in the order they are written. Headers carry the unit in parentheses:
// "Max Depth (ft)".
const std::vector<CsvColumn>& csvColumns();
QString csvHeader(const CsvColumn& c, Units units);

// "poor", "average", "good"; empty for any other rating.
QString ratingWord(int rating);

// The chosen dives (indexes, in this order) with a header row, as UTF-8 bytes.
QByteArray csvDocument(const AppState& state, const std::vector<int>& dives, Units units);

} // namespace interchange
