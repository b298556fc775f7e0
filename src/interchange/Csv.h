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

// Spreadsheets take a cell starting with = + - @, a tab or a CR as a formula. Such a text
// gets a leading ' (shown by none of them), and so does a text that already starts with '
// followed by one of those or by another ', so that removing one ' always gives it back.
QString spreadsheetSafe(const QString& text);
QStringView fromSpreadsheetSafe(QStringView cell);

struct CsvRow {
    int line = 0; // the line of the file the row starts on, from 1
    QStringList cells;
};
struct CsvTable {
    std::vector<CsvRow> rows; // blank lines are left out
    QString error;            // set when the text is not CSV; rows then holds what came before
};
// Rows end at CR LF, LF or CR outside quotes; a UTF-8 byte order mark is skipped. Fields are
// separated by `separator`.
CsvTable parseCsv(const QString& text, QChar separator = QLatin1Char(','));
// The separator of a table: the one of , ; and tab found most often outside quotes in its
// first line (a comma when none is).
QChar detectSeparator(const QString& text);

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

// The chosen dives (indexes, in this order) with a header row, as UTF-8 bytes; `bom` puts a
// byte order mark first, for spreadsheets that take UTF-8 only so.
QByteArray csvDocument(const store::AppState& state, const std::vector<int>& dives, Units units,
                       bool bom = false);

} // namespace interchange
