#pragma once

#include <QString>
#include <QStringView>

#include <deque>
#include <vector>

namespace interchange {

// Reads a comma-separated table row by row. A cell is a view into the text unless it had
// doubled quotes to undo, so a table of a million cells is read without a million copies.
// Rows end at CR LF, LF or CR outside quotes; blank lines are passed over; a byte order mark
// at the start is skipped. The text must outlive the reader.
class CsvRowReader {
  public:
    CsvRowReader(const QString& text, QChar separator);

    // Moves to the next row; false at the end of the text or when it is not CSV (error()).
    bool next();
    const std::vector<QStringView>& cells() const { return row; }
    int line() const { return rowLine; } // the line the row starts on, from 1
    const QString& error() const { return problem; }

  private:
    const QChar* t;
    qsizetype n;
    qsizetype k = 0;
    QChar separator;
    int lineNow = 1;
    int rowLine = 0;
    std::vector<QStringView> row;
    std::deque<QString> owned; // cells whose doubled quotes were undone, for this row
    QString problem;
};

} // namespace interchange
