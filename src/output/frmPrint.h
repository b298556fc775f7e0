#pragma once

#include "print/PrintDoc.h"

#include <QDialog>
#include <QPrinter>

#include <functional>
#include <memory>
#include <vector>

namespace store {
struct AppState;
}
class QGraphicsView;
class QPrintPreviewWidget;

namespace Ui {
class frmPrint;
}

namespace output {

// Writes chosen dives to the printer (with a preview of the pages), an HTML page or a text
// file. The dives: all, the one shown in the main window, a range of dive numbers, or the
// list handed over by the results window. It closes once the output is made.
class frmPrint : public QDialog {
    Q_OBJECT

  public:
    explicit frmPrint(const store::AppState& state, QWidget* parent = nullptr);
    // The dives a search found (or a list chose), offered as "Print Selected Dives".
    void offerDives(std::vector<int> dives);
    const std::vector<int>& offeredDives() const { return offered; }
    ~frmPrint() override;

    QString BaseName;
    // The laid-out pages match the current choices.
    bool DocReady = false;

    const print::PrintDoc& document() const { return doc; }
    int zoomPercent() const { return zoom; }
    int pageShown() const { return page; }
    bool previewOpen() const;
    // Twips to pixels on this screen, grown where needed so every caption fits.
    double pixelsPerTwip() const { return unit; }

    // Lets the user pick the printer, copies and pages; false when he cancels. `pageCount` is
    // the most pages any of the usual papers takes, so the page range reaches the last page
    // whichever paper is chosen. The system print dialog unless a test puts its own answer in
    // place.
    std::function<bool(QPrinter& printer, int pageCount)> choosePrinter;
    // Where "Print to File" offers to write: the diver's base name with ".pdf" in the data
    // folder, the file `reefbook-cli export pdf` writes.
    QString suggestedPdf() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();
    void choiceChanged();
    void targetChanged();
    void cmdPreviewClick();
    void showPreviewArea(bool open);
    void cmdGoClick();
    void showPage(int n);
    void zoomTo(int percent);
    std::vector<QRectF> pageRects() const;
    void bringIntoView(int n, QPointF along);
    void followScroll();
    int pageWidthZoom() const;
    int pagesOn(QSizeF paper);
    void layOut(print::PrintDoc& target);
    void BuildPrintDoc();
    void paintPreview(QPrinter* printer);
    bool printDocument();
    bool writeFile(bool html);
    std::vector<int> chosenDives() const;

    const store::AppState& state;
    std::vector<int> offered;
    std::unique_ptr<Ui::frmPrint> ui;
    QPrinter printer;
    print::PrintDoc doc;
    QPrintPreviewWidget* vsp = nullptr;
    QGraphicsView* view = nullptr; // the preview's own scrolling view of the pages
    bool navigating = false;       // the view moves because a button moved it
    double unit = 1.0 / 15;
    int zoom = 0; // percent of the real size; 0 until the preview first opens
    int page = 0;
};

} // namespace output
