#pragma once

#include "PrintDoc.h"

#include "output/DiveValues.h"
#include "store/AppState.h"

#include <QByteArray>
#include <QImage>
#include <QPageSize>

#include <memory>
#include <vector>

// The printed logbook: two dives to a page, each a title table (rating face, location,
// dive type), a details table with every value and two lines to sign by hand, and a
// comments table beside the conditions.
namespace print {

// The rating faces printed beside the location: poor, average, good.
struct Faces {
    QImage poor, average, good;
    static Faces standard();
};

class PrintLayout {
  public:
    PrintLayout(PrintDoc& doc, const store::AppState& state, Faces faces = Faces::standard());
    // The layout keeps a reference to the log: a temporary one would be gone before it is used.
    PrintLayout(PrintDoc& doc, store::AppState&& state, Faces faces = Faces::standard()) = delete;

    bool withComments = true;
    // Each dive's stored profile in a box under its details; off, the pages are the plain
    // logbook pages.
    bool withProfiles = false;
    int DivesOnPage = 0;
    bool InTitleTable = false;

    // Lays out these dive indexes, in this order, as a fresh document.
    void BuildPrintDoc(const std::vector<int>& dives);
    // Lays out dive index i at the current position. Its title, details (and profile) stay
    // together: when they do not fit in what is left of the page, or two dives already
    // began on it, the dive starts a new page. Its comments follow as far as the page goes
    // and run on under "Dive N (continued)".
    void PrintDive(int i);

    void SetTitle();
    void SetSubTitle();
    void SetNormal();

  private:
    void cellStyle(int row, int col);

    PrintDoc& doc;
    const store::AppState& state;
    Faces faces;
    std::unique_ptr<output::RunningTotals> totals;
    output::DiveValues values;
    int lastDivePage = -1; // the page the last dive began on
};

// The printed document's heading, which is also the title a PDF of it carries.
QString documentTitle(const store::AppState& state);

// The eight condition names, each after "->" when set or three spaces when not, each
// followed by a line break, after a leading line break.
QString conditionsText(const output::DiveValues& v);

// The paper the system's locale expects: Letter where it is the custom, A4 elsewhere.
QPageSize::PageSizeId localePageSize();
QSizeF paperTwips(QPageSize::PageSizeId id);

// The printed layout of these dives as a PDF file. Needs a running QGuiApplication (the
// offscreen platform will do).
QByteArray pdfDocument(const store::AppState& state, const std::vector<int>& dives,
                       bool withComments, QPageSize::PageSizeId pageSize,
                       bool withProfiles = false);

} // namespace print
