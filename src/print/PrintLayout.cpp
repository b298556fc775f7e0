#include "PrintLayout.h"
#include "ProfilePlot.h"

#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

namespace print {

namespace {

// "Buddy:" and "Signatures:" are followed by a line long enough to sign on.
const QString BuddyLine = QStringLiteral("Buddy:__________________________________");
const QString SignatureLine = QStringLiteral("Signatures:______________________________");

} // namespace

Faces Faces::standard() {
    return {QImage(QStringLiteral(":/print/faces/poor.png")),
            QImage(QStringLiteral(":/print/faces/average.png")),
            QImage(QStringLiteral(":/print/faces/good.png"))};
}

PrintLayout::PrintLayout(PrintDoc& d, const store::AppState& s, Faces f)
    : doc(d), state(s), faces(std::move(f)) {}

void PrintLayout::SetTitle() {
    doc.setFontSize(15);
    doc.setFontBold(true);
    doc.setTextColor(QColor(0, 0, 255));
}

void PrintLayout::SetSubTitle() {
    doc.setFontSize(12);
    doc.setTextColor(QColor(255, 0, 0));
}

void PrintLayout::SetNormal() {
    doc.setFontSize(12);
    doc.setFontBold(false);
    doc.setTextColor(QColor(0, 0, 0));
}

void PrintLayout::cellStyle(int row, int col) {
    if (InTitleTable && row == 2 && col == 2)
        SetTitle();
    else if (InTitleTable && row == 3 && col == 3)
        SetSubTitle();
    else
        SetNormal();
}

QString conditionsText(const output::DiveValues& v) {
    QString s(LineBreak);
    for (size_t c = 0; c < output::ConditionOrder.size(); ++c) {
        s += v.conditionSet[c] ? QStringLiteral("->") : QStringLiteral("   ");
        s += QLatin1String(output::ConditionOrder[c].name);
        s += LineBreak;
    }
    return s;
}

QString documentTitle(const store::AppState& state) {
    return QStringLiteral("Reef Book of ") + state.DiverName;
}

void PrintLayout::BuildPrintDoc(const std::vector<int>& dives) {
    DivesOnPage = 0;
    lastDivePage = -1;
    totals = std::make_unique<output::RunningTotals>(state);
    doc.onCell = [this](int row, int col, const QString&) { cellStyle(row, col); };
    doc.StartDoc();
    doc.setHeader(documentTitle(state));
    doc.setPageNumbering(true);
    for (int i : dives)
        if (i >= 1 && i <= state.DiveCount()) PrintDive(i);
    doc.EndDoc();
}

void PrintLayout::PrintDive(int i) {
    if (!totals) totals = std::make_unique<output::RunningTotals>(state);
    if (!doc.onCell) doc.onCell = [this](int row, int col, const QString&) { cellStyle(row, col); };
    output::makeDiveValues(values, state, i, *totals);
    const output::DiveValues& v = values;

    // The cells are handed over apart rather than joined into one table string: a location,
    // name or comment holding "|" or ";" would otherwise spill into cells of its own.
    auto table = [](const char* format, std::vector<QStringList> rows) {
        TableFormat t = parseTable(QLatin1String(format));
        t.rows = std::move(rows);
        return t;
    };
    const QString blank(QLatin1Char(' '));
    const TableFormat title =
        table("<+1440|^+7870|<+1440;",
              {{blank}, {blank, v.LocationName, blank}, {blank, v.TypeName, blank}});
    const TableFormat details =
        table("<+2210|^+6330|<+2210;",
              {{v.DiveNoText, blank, v.BottomTimeText},
               {v.DateText, v.BuddyName, v.TotalTimeText},
               {blank, v.GearName + QStringLiteral(" -- ") + v.WeightText, blank},
               {v.PsiInText, blank, v.TimeInText},
               {v.PsiOutText, v.AirTempText + v.SurfaceTempText + v.BottomTempText, v.TimeOutText},
               {blank, blank, blank},
               {v.MaxDepthText, blank, blank},
               {v.AvgTimeText, BuddyLine, v.VisibilityText},
               {v.AvgDepthText, SignatureLine, v.TankSizeText},
               {blank, blank, blank}});
    const store::ProfileRecord* profile = withProfiles ? printableProfile(state, i) : nullptr;

    // The title and the details (and the profile) are one block: a reader never finds a
    // location at the foot of a page and its dive overleaf.
    InTitleTable = true;
    double block = doc.tableHeight(title);
    InTitleTable = false;
    block += doc.tableHeight(details) + (profile ? ProfileBoxHeight : 0);
    if (doc.pageCount() - 1 != lastDivePage) DivesOnPage = 0;
    const bool noRoom = doc.CurrentY() + block > doc.bodyBottom() && doc.CurrentY() > doc.bodyTop();
    if (DivesOnPage == 2 || noRoom) {
        doc.NewPage();
        DivesOnPage = 0;
    }
    ++DivesOnPage;
    lastDivePage = doc.pageCount() - 1;

    InTitleTable = true;
    doc.setTableBorder(0);
    doc.AddTable(title);
    const QPointF after(doc.CurrentX(), doc.CurrentY());
    // The face goes beside the location where the table really began.
    const QPointF lt = doc.lastTableTopLeft();
    const QImage* face = v.Rating == 0   ? &faces.poor
                         : v.Rating == 1 ? &faces.average
                         : v.Rating == 2 ? &faces.good
                                         : nullptr;
    if (face) doc.DrawPicture(*face, QRectF(QPointF(lt.x(), lt.y() + 300), QSizeF(335, 335)));
    doc.setCurrentX(after.x());
    doc.setCurrentY(after.y());
    doc.setTableBorder(4);
    InTitleTable = false;

    doc.AddTable(details);
    if (profile) {
        const store::DiveRecord& d = state.Dives[static_cast<size_t>(i)];
        double width = 0;
        for (const TableColumn& c : details.columns)
            width += c.width;
        drawProfile(doc, *profile, d.DiveData[store::field::BottomTime],
                    d.DiveData[store::field::MaxDepth], QPointF(doc.CurrentX(), doc.CurrentY()),
                    width);
        doc.setCurrentY(doc.CurrentY() + ProfileBoxHeight);
    }
    doc.setTableBorder(9);

    const QString comments = withComments ? LineBreak + v.Comments + LineBreak : blank;
    doc.AddTable(
        table("<8540|<+2210;", {{comments, conditionsText(v)}}),
        QStringLiteral("Dive %1 (continued)").arg(static_cast<long long>(state.DiveOffset) + i));
}

QPageSize::PageSizeId localePageSize() {
    const QLocale locale = QLocale::system();
    const QLocale::Territory t = locale.territory();
    if (locale.measurementSystem() == QLocale::ImperialUSSystem || t == QLocale::Canada ||
        t == QLocale::Mexico || t == QLocale::Philippines || t == QLocale::Chile ||
        t == QLocale::Colombia || t == QLocale::Venezuela)
        return QPageSize::Letter;
    return QPageSize::A4;
}

QSizeF paperTwips(QPageSize::PageSizeId id) {
    return QPageSize(id).size(QPageSize::Point) * 20.0;
}

QByteArray pdfDocument(const store::AppState& state, const std::vector<int>& dives,
                       bool withComments, QPageSize::PageSizeId pageSize, bool withProfiles) {
    PrintDoc doc(paperTwips(pageSize));
    PrintLayout layout(doc, state);
    layout.withComments = withComments;
    layout.withProfiles = withProfiles;
    layout.BuildPrintDoc(dives);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(pageSize));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        writer.setTitle(documentTitle(state));
        writer.setCreator(QStringLiteral("Reefbook"));
        QPainter painter(&writer);
        for (int k = 0; k < doc.pageCount(); ++k) {
            if (k > 0) writer.newPage();
            doc.render(painter, k);
        }
    }
    return bytes;
}

} // namespace print
