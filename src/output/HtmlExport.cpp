#include "HtmlExport.h"

#include "ByteWriter.h"
#include "Credits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace output {

namespace {

constexpr std::string_view kEol = "\r\n";

// Values that come from the diver (names, comments) go through escaped(); the labelled
// number texts hold only digits and fixed words and go through text().
void line(ByteWriter& out, std::string_view s) {
    out.put(s);
    out.put(kEol);
}

// "<td>" + value + "</td>"
template <typename Text> void cell(ByteWriter& out, const Text& value) {
    out.put("<td>");
    out.text(value);
    out.put("</td>\r\n");
}

std::string_view faceFile(int rating) {
    switch (rating) {
    case 0:
        return "sface.jpg";
    case 1:
        return "aface.jpg";
    case 2:
        return "hface.jpg";
    default:
        return {};
    }
}

void addFace(ByteWriter& out, int rating) {
    const std::string_view file = faceFile(rating);
    if (!file.empty()) {
        out.put("<img src=\"");
        out.put(file);
        out.put("\">");
    }
}

void addHeading(ByteWriter& out, const store::AppState& state) {
    line(out, "<html>");
    line(out, "<head>");
    out.put("<title> Reef Book of ");
    out.escaped(state.DiverName);
    out.put("</title>\r\n");
    line(out, "</head>");
    line(out, "<body bgcolor=\"#ffffff\">");
    line(out, "<center>");
    out.put("<h2>");
    out.escaped(state.DiverName);
    out.put("</h2>\r\n");
}

void addClosing(ByteWriter& out) {
    line(out, "</center>");
    out.put("<code><a href=\"");
    out.put(credits::Address);
    out.put("\">");
    out.put(credits::Product);
    out.put("</a> logbook software by ");
    out.put(credits::Makers);
    out.put("<br>\r\n");
    out.put("Copyright (c) ");
    out.put(credits::Year);
    out.put(' ');
    out.put(credits::Makers);
    out.put("</code></body>\r\n");
    line(out, "</html>");
}

template <typename Values> void addDive(ByteWriter& out, const Values& v, bool withComments) {
    line(out, "<center>");
    out.put("<h3><font color=\"#0000c0\">");
    out.escaped(v.LocationName);
    out.put("</font></h3>\r\n");
    addFace(out, v.Rating);
    out.escaped(v.TypeName);
    addFace(out, v.Rating);
    out.put("<br>\r\n");

    line(out, "<table border=1>");
    line(out, "<table width=600 border=0>");

    line(out, "<tr>");
    out.put("<td width=150>");
    out.text(v.DiveNoText);
    out.put("</td>\r\n");
    line(out, "<td width=300></td>");
    cell(out, v.BottomTimeText);
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.DateText);
    out.put("<td align=center>");
    out.escaped(v.BuddyName);
    out.put("</td>\r\n");
    cell(out, v.TotalTimeText);
    line(out, "</tr>");

    line(out, "<tr>");
    line(out, "<td></td>");
    out.put("<td align=center>");
    out.escaped(v.GearName);
    out.put(" -- ");
    out.text(v.WeightText);
    out.put("</td>\r\n");
    line(out, "<td></td>");
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.PsiInText);
    line(out, "<td></td>");
    cell(out, v.TimeInText);
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.PsiOutText);
    out.put("<td>");
    out.text(v.AirTempText);
    out.text(v.SurfaceTempText);
    out.text(v.BottomTempText);
    out.put("</td>\r\n");
    cell(out, v.TimeOutText);
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.MaxDepthText);
    line(out, "<td></td>");
    line(out, "<td></td>");
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.AvgTimeText);
    line(out, "<td></td>");
    cell(out, v.VisibilityText);
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.AvgDepthText);
    line(out, "<td></td>");
    cell(out, v.TankSizeText);
    line(out, "</tr>");

    line(out, "<tr>");
    line(out, "</tr>");
    line(out, "</table>");
    line(out, "<br>");

    line(out, "<table width=600 border=1>");
    line(out, "<tr>");
    if (withComments) {
        out.put("<td width=450>");
        out.escaped(v.Comments);
        out.put("</td>\r\n");
    } else {
        line(out, "<td width=450> </td>");
    }
    line(out, "<td>");
    for (size_t c = 0; c < ConditionOrder.size(); ++c) {
        out.put(v.conditionSet[c] ? "<img src=\"check.jpg\"> " : "<img src=\"uncheck.jpg\"> ");
        out.put(ConditionOrder[c].name);
        out.put("<br>\r\n");
    }
    // The open cell and row are closed by the table end tags.
    line(out, "</table>");
    line(out, "</table>");
    line(out, "</center>");
    line(out, "<br>");
}

} // namespace

QString htmlEscaped(const QString& s) {
    QString out;
    out.reserve(s.size() + 16);
    for (const QChar c : s) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1StringView("&amp;");
            break;
        case u'<':
            out += QLatin1StringView("&lt;");
            break;
        case u'>':
            out += QLatin1StringView("&gt;");
            break;
        case u'"':
            out += QLatin1StringView("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool WriteHtmlDive(QIODevice& out, const store::AppState& state, int i, const RunningTotals& totals,
                   bool withComments) {
    return writeExportDive(HtmlFormat, out, state, i, totals, withComments);
}

QStringList pageImageNames() {
    return {QStringLiteral("sface.jpg"), QStringLiteral("aface.jpg"), QStringLiteral("hface.jpg"),
            QStringLiteral("check.jpg"), QStringLiteral("uncheck.jpg")};
}

store::FileProblems writePageImages(const QString& folder) {
    store::FileProblems problems;
    const QDir dir(folder);
    for (const QString& name : pageImageNames()) {
        const QString target = dir.filePath(name);
        // Anything already standing under that name stays, be it the diver's own picture or
        // something else entirely; only a free name gets ours.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) continue;
        QFile source(QStringLiteral(":/export/") + name);
        if (!source.open(QIODevice::ReadOnly)) {
            problems.push_back({name, QStringLiteral("picture missing from the program")});
            continue;
        }
        const QString reason = writeOutputFile(target, source.readAll());
        if (!reason.isEmpty()) problems.push_back({target, reason});
    }
    return problems;
}

// Escaping lengthens a text; twice its length covers all but texts full of "&<>.
const ExportFormat HtmlFormat = {
    ".htm", &addHeading, &addDive<DiveFigures>, &addDive<DiveValues>, &addClosing, 512,
    1300,   2,           &writePageImages};

ExportResult WriteHtmlFile(const store::AppState& state, const QString& fileName,
                           const std::vector<int>& dives, bool withComments) {
    return writeExportFile(HtmlFormat, state, fileName, dives, withComments);
}

} // namespace output
