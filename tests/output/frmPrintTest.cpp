#include "output/frmPrint.h"

#include "output/DiveChoice.h"
#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "print/PrintLayout.h"
#include "support/SampleLog.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"

#include <QCheckBox>
#include <QDir>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace output {

class frmPrintTest : public TempFolderTest {
  protected:
    void open() {
        dialog = std::make_unique<frmPrint>(state);
        if (!offered.empty()) dialog->offerDives(offered);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <typename T = QWidget> T* ctl(const char* name) {
        return child<T>(dialog.get(), name);
    }
    void click(const char* name, int times = 1) {
        for (int k = 0; k < times; ++k)
            QTest::mouseClick(ctl<QAbstractButton>(name), Qt::LeftButton);
    }
    QString text(const char* name) { return ctl<QLineEdit>(name)->text(); }
    // Types into a range field and leaves it for the other one.
    void typeRange(const char* name, const QString& typed) {
        QLineEdit* box = ctl<QLineEdit>(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        ctl(name == QByteArray("txtStart") ? "txtEnd" : "txtStart")->setFocus();
    }
    bool pagesMention(const QString& t) {
        const print::PrintDoc& doc = dialog->document();
        for (int p = 0; p < doc.pageCount(); ++p)
            for (const print::PrintItem& item : doc.page(p))
                if (item.text == t) return true;
        return false;
    }

    ScriptedPlatform platform;
    store::AppState state = numberedLog(20, 100);
    std::unique_ptr<frmPrint> dialog;
    std::vector<int> offered; // the dives a search hands over
};

TEST_F(frmPrintTest, OpensWithTheLogsRangeAndOffersTheResultsOnlyWhenHandedOver) {
    for (bool ready : {false, true}) {
        offered = ready ? std::vector<int>{3} : std::vector<int>{};
        open();
        EXPECT_EQ(QStringLiteral("Print"), dialog->windowTitle());
        EXPECT_EQ(QStringLiteral("101"), text("txtStart"));
        EXPECT_EQ(QStringLiteral("120"), text("txtEnd"));
        EXPECT_FALSE(ctl("txtStart")->isEnabled());
        EXPECT_EQ(QStringLiteral("o_brien_"), ctl<QLabel>("lblFName")->text());
        EXPECT_TRUE(ctl<QRadioButton>("optAll")->isChecked());
        EXPECT_TRUE(ctl<QRadioButton>("optPrinter")->isChecked());
        EXPECT_TRUE(ctl<QCheckBox>("chkComments")->isChecked());
        EXPECT_EQ(ready, ctl("optSelected")->isEnabled());
        EXPECT_FALSE(dialog->DocReady);
        // Narrow: the preview lies beyond the window's right edge, out of the Tab order.
        EXPECT_LE(dialog->width(), ctl("vsp")->x());
        EXPECT_FALSE(ctl("cmdNextPage")->isVisible());
    }
}

TEST_F(frmPrintTest, RangeFieldsAreCorrectedWhenLeft) {
    open();
    click("optRange");
    EXPECT_TRUE(ctl("txtStart")->isEnabled());
    // Enter in a range field neither prints nor closes.
    bool printed = false;
    dialog->choosePrinter = [&printed](QPrinter&, int) { return printed = true, false; };
    QTest::keyClick(ctl("txtStart"), Qt::Key_Return);
    EXPECT_FALSE(printed);
    EXPECT_TRUE(dialog->isVisible());
    struct Step {
        const char* field;
        const char* typed;
        const char* start;
        const char* end;
    };
    for (const Step& s :
         {Step{"txtStart", "90", "101", "120"}, Step{"txtEnd", "200", "101", "120"},
          Step{"txtEnd", "107", "101", "107"}, Step{"txtStart", "110", "101", "107"},
          Step{"txtStart", "105", "105", "107"}, Step{"txtEnd", "x", "105", "120"},
          Step{"txtEnd", "107.4", "105", "107.4"}}) {
        SCOPED_TRACE(std::string(s.field) + " " + s.typed);
        typeRange(s.field, QLatin1String(s.typed));
        EXPECT_EQ(QLatin1String(s.start), text("txtStart"));
        EXPECT_EQ(QLatin1String(s.end), text("txtEnd"));
    }
    // 105 to 107 writes the dives with indexes 5, 6 and 7.
    click("optFile");
    EXPECT_EQ(QStringLiteral("Create"), ctl<QPushButton>("cmdGo")->text());
    EXPECT_FALSE(ctl("cmdPreview")->isEnabled());
    click("cmdGo");
    EXPECT_EQ(QDialog::Accepted, dialog->result());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(output::exportDocument(output::TextFormat, state, {5, 6, 7}, true),
              readFile(QStringLiteral("o_brien_.txt")));
}

TEST_F(frmPrintTest, PreviewPagesAndZoomStayInRangeAndChangesCloseIt) {
    state = numberedLog(5, 0);
    open();
    const int narrow = dialog->width();
    click("cmdPreview");
    EXPECT_TRUE(dialog->DocReady);
    EXPECT_GT(dialog->width(), ctl("vsp")->x() + ctl("vsp")->width() - 1);
    EXPECT_TRUE(ctl("cmdNextPage")->isVisible());
    EXPECT_EQ(QStringLiteral("Close Preview"), ctl<QPushButton>("cmdPreview")->text());
    EXPECT_EQ(3, dialog->document().pageCount());
    EXPECT_EQ(QStringLiteral("1"), ctl<QLabel>("lblPageNum")->text());
    click("cmdNextPage", 5);
    EXPECT_EQ(QStringLiteral("3"), ctl<QLabel>("lblPageNum")->text());
    click("cmdPrevPage", 4);
    EXPECT_EQ(1, dialog->pageShown());
    click("cmdZoomIn", 40);
    EXPECT_EQ(195, dialog->zoomPercent());
    click("cmdZoomOut", 45);
    EXPECT_EQ(5, dialog->zoomPercent());

    // Each change of what is printed closes the preview; opening it lays the pages out anew.
    EXPECT_TRUE(pagesMention(QStringLiteral("comment 1")));
    click("chkComments");
    EXPECT_FALSE(dialog->DocReady);
    EXPECT_EQ(narrow, dialog->width());
    EXPECT_EQ(QStringLiteral("Print Preview"), ctl<QPushButton>("cmdPreview")->text());
    click("cmdPreview");
    EXPECT_FALSE(pagesMention(QStringLiteral("comment 1")));
    click("optThis");
    EXPECT_EQ(QStringLiteral("Print Preview"), ctl<QPushButton>("cmdPreview")->text());
    click("cmdPreview");
    EXPECT_EQ(1, dialog->document().pageCount());
    EXPECT_TRUE(pagesMention(QStringLiteral("Dive: 5")));
    // A file target has no preview to show.
    click("optHTML");
    EXPECT_EQ(narrow, dialog->width());
}

TEST_F(frmPrintTest, CreateWritesTheChosenFileAndAFailureKeepsTheDialogOpen) {
    offered = {7, 3};
    open();
    click("optSelected");
    click("optHTML");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("o_brien_.htm")));
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("The file o_brien_.htm could not be written:\n\no_brien_.htm: "
                                   "a folder of that name is in the way"));
    click("cmdGo");
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("o_brien_.htm")));
    // A data file that happens to bear the page's name is never written over.
    state.Files.GearFile = QStringLiteral("o_brien_.htm");
    writeFile(QStringLiteral("o_brien_.htm"), "gear");
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("The file o_brien_.htm could not be written:\n\no_brien_.htm is "
                                   "the gear list of the open diver; an export never writes over "
                                   "a data file, choose another name"));
    click("cmdGo");
    EXPECT_EQ(QByteArray("gear"), readFile(QStringLiteral("o_brien_.htm")));
    state.Files.GearFile = QStringLiteral("gear1.dvl");
    click("cmdGo");
    EXPECT_FALSE(dialog->isVisible());
    // The handed-over dives in their own order.
    EXPECT_EQ(output::exportDocument(output::HtmlFormat, state, {7, 3}, true),
              readFile(QStringLiteral("o_brien_.htm")));
}

TEST_F(frmPrintTest, PrintGoesToThePrinterChosenAndCancellingPrintsNothing) {
    state = numberedLog(3, 0);
    open();
    int asked = 0;
    bool answer = false;
    QString pdf = path(QStringLiteral("out.pdf"));
    dialog->choosePrinter = [&](QPrinter& printer, int pages) {
        ++asked;
        EXPECT_EQ(2, pages);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return answer;
    };
    click("cmdGo");
    EXPECT_EQ(1, asked);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(QFileInfo::exists(pdf));
    answer = true;
    // A PDF file that cannot be made is named, and the dialog stays.
    const QString good = pdf;
    pdf = path(QStringLiteral("no such folder/out.pdf"));
    platform.expect(QStringLiteral("Error"),
                    QStringLiteral("The file %1 could not be written.").arg(pdf));
    click("cmdGo");
    EXPECT_TRUE(dialog->isVisible());
    pdf = good;
    click("cmdGo");
    EXPECT_FALSE(dialog->isVisible());
    const QByteArray bytes = readFile(QStringLiteral("out.pdf"));
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(2, bytes.count("/Type /Page\n"));
}

namespace {

// The sheets in the preview's view, top to bottom, in the view's own coordinates.
std::vector<QRect> sheetsOnScreen(QGraphicsView* view) {
    std::vector<QRect> out;
    for (const QGraphicsItem* item : view->scene()->items())
        if (!item->parentItem())
            out.push_back(view->mapFromScene(item->sceneBoundingRect()).boundingRect());
    std::sort(out.begin(), out.end(),
              [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
    return out;
}

QByteArray pdfTitle(const QByteArray& pdf) {
    static const QRegularExpression title(QStringLiteral("/Title ([^\\n]*)"));
    return title.match(QString::fromLatin1(pdf)).captured(1).toLatin1();
}

} // namespace

TEST_F(frmPrintTest, PreviewShowsTheRealSizeFromThePageWidthAndFollowsThePageInView) {
    state = numberedLog(5, 0);
    open();
    click("cmdPreview");
    auto* vsp = ctl<QPrintPreviewWidget>("vsp");
    auto* view = vsp->findChild<QGraphicsView*>();
    ASSERT_NE(nullptr, view);
    // Opens with the whole width of the page in the view, at a zoom of its real size.
    const int viewWidth = view->viewport()->width();
    std::vector<QRect> sheets = sheetsOnScreen(view);
    ASSERT_EQ(3u, sheets.size());
    EXPECT_LE(sheets[0].width(), viewWidth);
    EXPECT_GT(sheets[0].width() * (dialog->zoomPercent() + 5) / dialog->zoomPercent(),
              viewWidth - 40);
    EXPECT_DOUBLE_EQ(dialog->zoomPercent() / 100.0, vsp->zoomFactor());

    // Zooming keeps the page the diver went to in view (filling the middle of the view, or
    // shown near whole), down to where every page fits and back, and the label on it.
    const QRect shown = view->viewport()->rect();
    for (int target : {1, 3}) {
        if (target == 3) click("cmdNextPage", 2);
        for (const char* button : {"cmdZoomIn", "cmdZoomOut", "cmdZoomIn"}) {
            for (int k = 0; k < 12; ++k) {
                click(button);
                SCOPED_TRACE(std::to_string(target) + " at " +
                             std::to_string(dialog->zoomPercent()));
                EXPECT_EQ(QString::number(target), ctl<QLabel>("lblPageNum")->text());
                const QRect r = sheetsOnScreen(view)[static_cast<size_t>(target - 1)];
                const QRect part = r & shown;
                EXPECT_TRUE(r.contains(shown.center()) ||
                            4 * part.width() * part.height() >= 3 * r.width() * r.height());
            }
        }
    }
    // Scrolling to the end names the last page, back to the top the first.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    EXPECT_EQ(QStringLiteral("3"), ctl<QLabel>("lblPageNum")->text());
    // Scrolling back to the top names the first page.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->minimum());
    EXPECT_EQ(QStringLiteral("1"), ctl<QLabel>("lblPageNum")->text());
    EXPECT_EQ(1, dialog->pageShown());
}

TEST_F(frmPrintTest, PrintToFileOffersTheBaseNameInTheDataFolder) {
    state = numberedLog(3, 0);
    open();
    QString offeredFile;
    QTimer::singleShot(0, dialog.get(), [&offeredFile] {
        auto* printDialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, printDialog);
        if (auto* file = printDialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            offeredFile = file->text();
        printDialog->reject();
    });
    click("cmdGo");
    EXPECT_EQ(QDir(dir.path()).absoluteFilePath(QStringLiteral("o_brien_.pdf")), offeredFile);
    EXPECT_EQ(offeredFile, dialog->suggestedPdf());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(frmPrintTest, ThePageRangeFollowsThePaperChosenAndThePdfCarriesItsTitle) {
    // Long comments make Letter take more pages than A4.
    for (int i = 1; i <= state.DiveCount(); ++i)
        state.Dives[static_cast<size_t>(i)].Comments = QStringLiteral("a line\r\n").repeated(40);
    int pagesOn[2] = {0, 0};
    for (int k : {0, 1}) {
        print::PrintDoc doc(k ? print::PrintDoc::letterPaper() : print::PrintDoc::a4Paper());
        print::PrintLayout(doc, state)
            .BuildPrintDoc(output::divesFor(state, output::DiveChoice::All));
        pagesOn[k] = doc.pageCount();
    }
    ASSERT_LT(pagesOn[0], pagesOn[1]);
    open();
    const QString pdf = path(QStringLiteral("last.pdf"));
    dialog->choosePrinter = [&](QPrinter& printer, int pages) {
        EXPECT_EQ(pagesOn[1], pages);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(pages, pages);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    click("cmdGo");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(pagesOn[1], dialog->document().pageCount());
    const QByteArray bytes = readFile(QStringLiteral("last.pdf"));
    EXPECT_EQ(1, bytes.count("/Type /Page\n"));
    const QByteArray cli = print::pdfDocument(state, {1}, true, QPageSize::Letter);
    EXPECT_FALSE(pdfTitle(cli).isEmpty());
    EXPECT_EQ(pdfTitle(cli), pdfTitle(bytes));
}

TEST_F(frmPrintTest, PrintProfilesAddsTheProfileBoxesAndOnlyForThePrinter) {
    state = numberedLog(2, 0);
    store::ProfileRecord profile;
    profile.Times[1] = 5;
    profile.Depths[1] = 40;
    state.Profiles.push_back(profile);
    state.Dives[1].ProfileNum = 1;
    open();
    EXPECT_FALSE(ctl<QCheckBox>("chkProfiles")->isChecked());
    auto dots = [this] {
        int n = 0;
        for (const print::PrintItem& item : dialog->document().page(0))
            n += item.kind == print::PrintItem::Dot;
        return n;
    };
    click("cmdPreview");
    EXPECT_EQ(0, dots());
    click("chkProfiles");
    EXPECT_FALSE(dialog->previewOpen());
    click("cmdPreview");
    EXPECT_EQ(1, dots());
    click("optFile");
    EXPECT_FALSE(ctl("chkProfiles")->isEnabled());
}

} // namespace output
