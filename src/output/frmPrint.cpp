#include "frmPrint.h"
#include "ExportFile.h"
#include "ui_frmPrint.h"

#include "output/DiveChoice.h"
#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "print/PrintLayout.h"
#include "store/AppState.h"
#include "store/Numbers.h"
#include "ui/Placement.h"
#include "ui/Platform.h"

#include <QDir>
#include <QEvent>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace output {

namespace {

// The inside of the window with the preview closed and open, in twips: the window's outer
// 4245 and 8460 by 3405 less its frame and title bar, which the desktop adds here.
constexpr int NarrowWidth = 4185;
constexpr int WideWidth = 8400;
constexpr int WindowHeight = 3060;

// frmPrint.ui lays the window out in Designer's pixels, 15 twips each (a 96-dpi screen); the
// preview, made here, has its place here.
constexpr int TwipsPerPixel = 15;
constexpr QRect PreviewPlace(5310, 30, 2970, 2940);

const QString PreviewOpenText = QStringLiteral("Close Preview");
const QString PreviewClosedText = QStringLiteral("Print Preview");

// The hourglass while pages are laid out or a file is written.
struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

QSizeF paperOf(const QPrinter& printer) {
    return printer.pageLayout().fullRect(QPageLayout::Point).size() * 20.0;
}

// Zoom steps, in percent of the page's real size.
constexpr int ZoomStep = 5;
constexpr int ZoomMax = 195;

} // namespace

frmPrint::frmPrint(const store::AppState& s, QWidget* parent)
    : QDialog(parent), state(s), ui(std::make_unique<Ui::frmPrint>()),
      printer(QPrinter::HighResolution) {
    ui->setupUi(this);
    // Pages are drawn from the sheet's corner; the layout keeps its own margins.
    printer.setFullPage(true);
    doc = print::PrintDoc(paperOf(printer));
    vsp = new QPrintPreviewWidget(&printer, this);
    vsp->setObjectName(QStringLiteral("vsp"));
    vsp->setViewMode(QPrintPreviewWidget::SinglePageView);
    vsp->setZoomMode(QPrintPreviewWidget::CustomZoom);
    connect(vsp, &QPrintPreviewWidget::paintRequested, this, &frmPrint::paintPreview);
    view = vsp->findChild<QGraphicsView*>();
    // The page label follows the diver's scrolling, not only the page buttons.
    if (view) {
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this,
                &frmPrint::followScroll);
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                &frmPrint::followScroll);
    }

    const print::Faces faces = print::Faces::standard();
    ui->imgSFace->setPixmap(QPixmap::fromImage(faces.poor));
    ui->imgAFace->setPixmap(QPixmap::fromImage(faces.average));
    ui->imgHFace->setPixmap(QPixmap::fromImage(faces.good));
    // They only hold the pictures the printed pages use.
    for (QLabel* face : {ui->imgSFace, ui->imgAFace, ui->imgHFace})
        face->hide();
    place();
    showPreviewArea(false);
    // Enter in a range field must not print or write a file behind the diver's back.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);

    BaseName = output::MakeBaseName(state.DiverName.left(8));
    ui->lblFName->setText(BaseName);
    ui->optAll->setChecked(true);
    ui->optPrinter->setChecked(true);
    ui->optSelected->setEnabled(false); // until dives are offered
    ui->txtStart->setText(QString::number(output::rangeFirst(state)));
    ui->txtEnd->setText(QString::number(output::rangeLast(state)));
    ui->txtStart->setEnabled(false);
    ui->txtEnd->setEnabled(false);
    ui->chkComments->setChecked(true);
    ui->chkProfiles->setChecked(false);
    ui->cmdPreview->setText(PreviewClosedText);

    for (QRadioButton* opt : {ui->optAll, ui->optSelected, ui->optThis, ui->optRange})
        connect(opt, &QRadioButton::toggled, this, [this](bool on) {
            if (on) choiceChanged();
        });
    connect(ui->chkComments, &QCheckBox::toggled, this, &frmPrint::choiceChanged);
    connect(ui->chkProfiles, &QCheckBox::toggled, this, &frmPrint::choiceChanged);
    for (QLineEdit* box : {ui->txtStart, ui->txtEnd}) {
        connect(box, &QLineEdit::textChanged, this, &frmPrint::choiceChanged);
        box->installEventFilter(this);
    }
    for (QRadioButton* opt : {ui->optPrinter, ui->optHTML, ui->optFile})
        connect(opt, &QRadioButton::toggled, this, [this](bool on) {
            if (on) targetChanged();
        });
    connect(ui->cmdPreview, &QPushButton::clicked, this, &frmPrint::cmdPreviewClick);
    connect(ui->cmdGo, &QPushButton::clicked, this, &frmPrint::cmdGoClick);
    connect(ui->cmdCxl, &QPushButton::clicked, this, &frmPrint::reject);
    connect(ui->cmdNextPage, &QPushButton::clicked, this, [this] { showPage(page + 1); });
    connect(ui->cmdPrevPage, &QPushButton::clicked, this, [this] { showPage(page - 1); });
    connect(ui->cmdZoomIn, &QPushButton::clicked, this, [this] {
        if (zoom < ZoomMax) zoomTo(std::min(ZoomMax, zoom + ZoomStep));
    });
    connect(ui->cmdZoomOut, &QPushButton::clicked, this, [this] {
        if (zoom > ZoomStep) zoomTo(std::max(ZoomStep, zoom - ZoomStep));
    });

    choosePrinter = [this](QPrinter& p, int pageCount) {
        QPrintDialog dialog(&p, this);
        dialog.setMinMax(1, std::max(1, pageCount));
        // The dialog makes its own file name from the document name, and only inside the
        // home folder; the data folder may lie elsewhere.
        if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
            file && p.outputFileName().isEmpty())
            file->setText(suggestedPdf());
        return dialog.exec() == QDialog::Accepted;
    };
}

void frmPrint::offerDives(std::vector<int> dives) {
    offered = std::move(dives);
    ui->optSelected->setEnabled(true);
}

frmPrint::~frmPrint() = default;

void frmPrint::place() {
    // The layout of frmPrint.ui at this screen's resolution, enlarged just enough that no
    // caption is cut off in the screen's font.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    unit = dpi / 1440.0;
    std::vector<std::pair<QWidget*, QRect>> places{{vsp, PreviewPlace}}; // in twips
    for (QWidget* parent : std::initializer_list<QWidget*>{this, ui->fraSelectDive, ui->frmOutput})
        for (QWidget* w : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w != vsp)
                places.emplace_back(w, QRect(w->pos() * TwipsPerPixel, w->size() * TwipsPerPixel));
    for (const auto& [w, p] : places) {
        // Only captions count: boxes, frames, pictures and the preview take any size.
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const auto* label = qobject_cast<QLabel*>(w);
        if (!(button && !button->text().isEmpty()) && !(label && !label->text().isEmpty()))
            continue;
        const QSize hint = w->sizeHint();
        unit = std::max({unit, hint.width() / double(p.width()), hint.height() / double(p.height())});
    }
    for (const auto& [w, p] : places)
        w->setGeometry(qRound(p.left() * unit), qRound(p.top() * unit), qRound(p.width() * unit),
                       qRound(p.height() * unit));
    const QSize narrow(qRound(NarrowWidth * unit), qRound(WindowHeight * unit));
    // Centred as if open wide, so opening the preview keeps the window on the screen.
    const QSize border = ui::expectedFrameSize(this) - size();
    if (screen)
        move(ui::centredPlace(screen->availableGeometry(),
                              QSize(qRound(WideWidth * unit), narrow.height()) + border));
    setFixedSize(narrow);
}

bool frmPrint::previewOpen() const {
    return ui->cmdPreview->text() == PreviewOpenText;
}

std::vector<int> frmPrint::chosenDives() const {
    if (ui->optAll->isChecked()) return output::divesFor(state, output::DiveChoice::All);
    if (ui->optRange->isChecked())
        return output::divesFor(state, output::DiveChoice::Range,
                                store::numbers::roundedValue(ui->txtStart->text()),
                                store::numbers::roundedValue(ui->txtEnd->text()));
    if (ui->optThis->isChecked()) return output::divesFor(state, output::DiveChoice::Displayed);
    if (ui->optSelected->isChecked())
        return output::divesFor(state, output::DiveChoice::Selected, 0, 0, offered);
    return {};
}

void frmPrint::choiceChanged() {
    DocReady = false;
    // Only the range choice uses the range fields; their own edits leave them as they are.
    if (sender() != ui->txtStart && sender() != ui->txtEnd && sender() != ui->chkComments &&
        sender() != ui->chkProfiles) {
        ui->txtStart->setEnabled(ui->optRange->isChecked());
        ui->txtEnd->setEnabled(ui->optRange->isChecked());
    }
    if (previewOpen()) cmdPreviewClick();
}

void frmPrint::targetChanged() {
    const bool toPrinter = ui->optPrinter->isChecked();
    // The preview shows printed pages only; a file target closes it rather than leave the
    // window wide with its button greyed out.
    if (!toPrinter && previewOpen()) cmdPreviewClick();
    ui->cmdPreview->setEnabled(toPrinter);
    // Only the printed pages have room for a profile.
    ui->chkProfiles->setEnabled(toPrinter);
    ui->cmdGo->setText(toPrinter ? QStringLiteral("Print") : QStringLiteral("Create"));
}

bool frmPrint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == ui->txtStart || watched == ui->txtEnd)) {
        const int start = store::numbers::roundedValue(ui->txtStart->text());
        const int end = store::numbers::roundedValue(ui->txtEnd->text());
        if (watched == ui->txtStart) {
            const int fixed = output::correctedRangeStart(state, start, end);
            if (fixed != start) ui->txtStart->setText(QString::number(fixed));
        } else {
            const int fixed = output::correctedRangeEnd(state, start, end);
            if (fixed != end) ui->txtEnd->setText(QString::number(fixed));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPrint::layOut(print::PrintDoc& target) {
    print::PrintLayout layout(target, state);
    layout.withComments = ui->chkComments->isChecked();
    layout.withProfiles = ui->chkProfiles->isChecked();
    layout.BuildPrintDoc(chosenDives());
}

void frmPrint::BuildPrintDoc() {
    WaitCursor wait;
    doc = print::PrintDoc(paperOf(printer));
    layOut(doc);
    vsp->updatePreview();
    showPage(1);
    DocReady = true;
}

int frmPrint::pagesOn(QSizeF paper) {
    if (paper == doc.paperSize() && DocReady) return doc.pageCount();
    print::PrintDoc other(paper);
    layOut(other);
    return other.pageCount();
}

QString frmPrint::suggestedPdf() const {
    return QDir::current().absoluteFilePath(BaseName + QStringLiteral(".pdf"));
}

void frmPrint::paintPreview(QPrinter* target) {
    QPainter painter(target);
    for (int k = 0; k < doc.pageCount(); ++k) {
        if (k > 0) target->newPage();
        doc.render(painter, k);
    }
}

// The preview's view holds one item per page, top to bottom, each a little larger than its
// sheet (the sheet's shadow).
std::vector<QRectF> frmPrint::pageRects() const {
    std::vector<QRectF> rects;
    if (!view || !view->scene()) return rects;
    for (const QGraphicsItem* item : view->scene()->items())
        if (!item->parentItem()) rects.push_back(item->sceneBoundingRect());
    std::sort(rects.begin(), rects.end(),
              [](const QRectF& a, const QRectF& b) { return a.top() < b.top(); });
    return rects;
}

// Scrolls page n into the view so that the point `along` of it (0 to 1 across and down)
// is as near the view's centre as the page allows without showing another page beside it.
void frmPrint::bringIntoView(int n, QPointF along) {
    const std::vector<QRectF> rects = pageRects();
    if (!view || n < 1 || n > static_cast<int>(rects.size())) return;
    const QRectF r = rects[static_cast<size_t>(n - 1)];
    const QRectF seen = view->mapToScene(view->viewport()->rect()).boundingRect();
    auto place = [](double at, double lo, double hi, double half) {
        return hi - lo > 2 * half ? std::clamp(at, lo + half, hi - half) : (lo + hi) / 2;
    };
    const QScopedValueRollback<bool> guard(navigating, true);
    view->centerOn(place(r.left() + along.x() * r.width(), r.left(), r.right(), seen.width() / 2),
                   place(r.top() + along.y() * r.height(), r.top(), r.bottom(), seen.height() / 2));
}

// The diver scrolled: the page label names the page at the middle of the view.
void frmPrint::followScroll() {
    if (navigating || !view || !DocReady) return;
    const std::vector<QRectF> rects = pageRects();
    if (rects.empty()) return;
    const QPointF centre = view->mapToScene(view->viewport()->rect().center());
    int best = 1;
    double bestDistance = -1;
    for (size_t k = 0; k < rects.size(); ++k) {
        const double d = centre.y() < rects[k].top()      ? rects[k].top() - centre.y()
                         : centre.y() > rects[k].bottom() ? centre.y() - rects[k].bottom()
                                                          : 0;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(k) + 1;
        }
    }
    page = std::clamp(best, 1, std::max(1, doc.pageCount()));
    ui->lblPageNum->setText(QString::number(page));
}

void frmPrint::showPage(int n) {
    page = std::clamp(n, 1, std::max(1, doc.pageCount()));
    bringIntoView(page, QPointF(0, 0));
    ui->lblPageNum->setText(QString::number(page));
}

// 100 % is the page at its printed size on this screen. The page in view stays in view,
// with the same part of it in the middle as far as the page allows.
void frmPrint::zoomTo(int percent) {
    QPointF along(0.5, 0.5);
    const std::vector<QRectF> rects = pageRects();
    if (view && page >= 1 && page <= static_cast<int>(rects.size())) {
        const QRectF r = rects[static_cast<size_t>(page - 1)];
        const QPointF c = view->mapToScene(view->viewport()->rect().center());
        along = QPointF(std::clamp((c.x() - r.left()) / r.width(), 0.0, 1.0),
                        std::clamp((c.y() - r.top()) / r.height(), 0.0, 1.0));
    }
    zoom = percent;
    {
        const QScopedValueRollback<bool> guard(navigating, true);
        vsp->setZoomFactor(zoom / 100.0);
    }
    bringIntoView(page, along);
}

// The largest zoom step at which the page's whole width fits the preview area.
int frmPrint::pageWidthZoom() const {
    const double inches = printer.pageLayout().fullRect(QPageLayout::Inch).width();
    // Room for the vertical scroll bar and the shadow around the sheet.
    const int room = (view ? view->viewport()->width() : vsp->width()) -
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 16;
    if (inches <= 0 || room <= 0) return 100;
    const int fit = static_cast<int>(100.0 * room / (inches * vsp->logicalDpiX()));
    return std::clamp(fit / ZoomStep * ZoomStep, ZoomStep, ZoomMax);
}

void frmPrint::cmdPreviewClick() {
    const bool open = !previewOpen();
    const bool fresh = open && !DocReady;
    if (fresh) BuildPrintDoc();
    setFixedSize(qRound((open ? WideWidth : NarrowWidth) * unit), height());
    ui->cmdPreview->setText(open ? PreviewOpenText : PreviewClosedText);
    showPreviewArea(open);
    if (!open) return;
    // The view takes its size only once shown; the zoom that fits depends on it.
    if (QLayout* l = vsp->layout()) l->activate();
    if (zoom == 0) zoomTo(pageWidthZoom());
    if (fresh || zoom == 0) showPage(1);
}

void frmPrint::showPreviewArea(bool open) {
    // Hidden with the window narrow, so the Tab key never lands on a button nobody can see.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->cmdPrevPage, ui->cmdZoomIn,
                                                      ui->cmdZoomOut, ui->cmdNextPage, vsp})
        w->setVisible(open);
}

bool frmPrint::printDocument() {
    if (!DocReady) BuildPrintDoc();
    // The print dialog cannot tell us when the diver picks another paper, so its page range
    // reaches as far as the longest of the usual papers; the range is held to the pages of
    // the paper chosen afterwards.
    int most = doc.pageCount();
    for (QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::Letter})
        most = std::max(most, pagesOn(print::paperTwips(id)));
    // The dialog's file name is made from the document name.
    printer.setDocName(BaseName);
    if (!choosePrinter(printer, most)) return false;
    // Another paper chosen in the print dialog: lay the pages out again for it.
    if (paperOf(printer) != doc.paperSize()) BuildPrintDoc();
    // A PDF carries the title `reefbook-cli export pdf` gives it.
    printer.setDocName(print::documentTitle(state));
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString file = printer.outputFileName();
        ui::showError(
            this, QStringLiteral("Error"),
            file.isEmpty()
                ? QStringLiteral("The printer %1 could not be started.").arg(printer.printerName())
                : QStringLiteral("The file %1 could not be written.").arg(file));
        return false;
    }
    int first = 1, last = doc.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::min(last, std::max(1, printer.fromPage()));
        last = std::min(last, std::max(first, printer.toPage()));
    }
    for (int k = first; k <= last; ++k) {
        if (k > first) printer.newPage();
        doc.render(painter, k - 1);
    }
    return painter.end();
}

bool frmPrint::writeFile(bool html) {
    const output::ExportFormat& format = html ? output::HtmlFormat : output::TextFormat;
    const QString name = BaseName + QLatin1String(format.extension);
    output::ExportResult result;
    {
        WaitCursor wait;
        result =
            output::exportToFile(format, state, name, chosenDives(), ui->chkComments->isChecked());
    }
    if (result.written) return true;
    ui::showError(this, QStringLiteral("Error"),
                  QStringLiteral("The file %1 could not be written:\n\n%2")
                      .arg(name, result.refusal.isEmpty() ? store::describeProblems(result.problems)
                                                          : result.refusal));
    return false;
}

void frmPrint::cmdGoClick() {
    bool done = false;
    if (ui->optPrinter->isChecked())
        done = printDocument();
    else if (ui->optHTML->isChecked())
        done = writeFile(true);
    else if (ui->optFile->isChecked())
        done = writeFile(false);
    if (done) accept();
}

} // namespace output
