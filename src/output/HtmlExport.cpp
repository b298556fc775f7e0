#include "HtmlExport.h"

#include "Credits.h"
#include "store/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace output {

namespace {

constexpr char kEol[] = "\r\n";

// Values that come from the diver (names, comments) are escaped; the labelled number texts
// hold only digits and fixed words, so they go in as they are.
void addEscaped(QByteArray& out, const QString& s) {
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'&' || u == u'<' || u == u'>' || u == u'"') {
            text::appendCp1252(out, htmlEscaped(s));
            return;
        }
    }
    text::appendCp1252(out, s);
}

void add(QByteArray& out, const QString& s) { text::appendCp1252(out, s); }

void line(QByteArray& out, const char* s) {
    out += s;
    out += kEol;
}

// "<td>" + value + "</td>"
void cell(QByteArray& out, const QString& value) {
    out += "<td>";
    add(out, value);
    out += "</td>\r\n";
}

const char* faceFile(int rating) {
    switch (rating) {
    case 0:
        return "sface.jpg";
    case 1:
        return "aface.jpg";
    case 2:
        return "hface.jpg";
    default:
        return nullptr;
    }
}

void addFace(QByteArray& out, int rating) {
    if (const char* file = faceFile(rating)) {
        out += "<img src=\"";
        out += file;
        out += "\">";
    }
}

void addHeading(QByteArray& out, const AppState& state) {
    line(out, "<html>");
    line(out, "<head>");
    out += "<title> Reef Book of ";
    addEscaped(out, state.DiverName);
    out += "</title>\r\n";
    line(out, "</head>");
    line(out, "<body bgcolor=\"#ffffff\">");
    line(out, "<center>");
    out += "<h2>";
    addEscaped(out, state.DiverName);
    out += "</h2>\r\n";
}

void addClosing(QByteArray& out) {
    line(out, "</center>");
    out += "<code><a href=\"";
    out += credits::Address;
    out += "\">";
    out += credits::Product;
    out += "</a> logbook software by ";
    out += credits::Makers;
    out += "<br>\r\n";
    out += "Copyright (c) ";
    out += credits::Year;
    out += ' ';
    out += credits::Makers;
    out += "</code></body>\r\n";
    line(out, "</html>");
}

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size();
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

void appendHtmlDive(QByteArray& out, const DiveValues& v, bool withComments) {
    line(out, "<center>");
    out += "<h3><font color=\"#0000c0\">";
    addEscaped(out, v.LocationName);
    out += "</font></h3>\r\n";
    addFace(out, v.Rating);
    addEscaped(out, v.TypeName);
    addFace(out, v.Rating);
    out += "<br>\r\n";

    line(out, "<table border=1>");
    line(out, "<table width=600 border=0>");

    line(out, "<tr>");
    out += "<td width=150>";
    add(out, v.DiveNoText);
    out += "</td>\r\n";
    line(out, "<td width=300></td>");
    cell(out, v.BottomTimeText);
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.DateText);
    out += "<td align=center>";
    addEscaped(out, v.BuddyName);
    out += "</td>\r\n";
    cell(out, v.TotalTimeText);
    line(out, "</tr>");

    line(out, "<tr>");
    line(out, "<td></td>");
    out += "<td align=center>";
    addEscaped(out, v.GearName);
    out += " -- ";
    add(out, v.WeightText);
    out += "</td>\r\n";
    line(out, "<td></td>");
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.PsiInText);
    line(out, "<td></td>");
    cell(out, v.TimeInText);
    line(out, "</tr>");

    line(out, "<tr>");
    cell(out, v.PsiOutText);
    out += "<td>";
    add(out, v.AirTempText);
    add(out, v.SurfaceTempText);
    add(out, v.BottomTempText);
    out += "</td>\r\n";
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
        out += "<td width=450>";
        addEscaped(out, v.Comments);
        out += "</td>\r\n";
    } else {
        line(out, "<td width=450> </td>");
    }
    line(out, "<td>");
    for (size_t c = 0; c < ConditionOrder.size(); ++c) {
        out += v.conditionSet[c] ? "<img src=\"check.jpg\"> " : "<img src=\"uncheck.jpg\"> ";
        out += ConditionOrder[c].name;
        out += "<br>\r\n";
    }
    // The open cell and row are closed by the table end tags.
    line(out, "</table>");
    line(out, "</table>");
    line(out, "</center>");
    line(out, "<br>");
}

QByteArray htmlDocument(const AppState& state, const std::vector<int>& dives, bool withComments) {
    const RunningTotals totals(state);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(dives.size()) * 1700 + 512);
    addHeading(out, state);
    for (int i : dives)
        if (i >= 1 && i <= state.DiveCount())
            appendHtmlDive(out, makeDiveValues(state, i, totals), withComments);
    addClosing(out);
    return out;
}

bool WriteHtmlDive(QIODevice& out, const AppState& state, int i, const RunningTotals& totals,
                   bool withComments) {
    if (i < 1 || i > state.DiveCount())
        return true; // not a dive: nothing to write
    QByteArray block;
    appendHtmlDive(block, makeDiveValues(state, i, totals), withComments);
    return writeAll(out, block);
}

bool writeHtmlDocument(QIODevice& out, const AppState& state, const std::vector<int>& dives,
                       bool withComments) {
    return writeAll(out, htmlDocument(state, dives, withComments));
}

QStringList pageImageNames() {
    return {QStringLiteral("sface.jpg"), QStringLiteral("aface.jpg"), QStringLiteral("hface.jpg"),
            QStringLiteral("check.jpg"), QStringLiteral("uncheck.jpg")};
}

FileProblems writePageImages(const QString& folder) {
    FileProblems problems;
    const QDir dir(folder);
    for (const QString& name : pageImageNames()) {
        const QString target = dir.filePath(name);
        // Anything already standing under that name stays, be it the diver's own picture or
        // something else entirely; only a free name gets ours.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        QFile source(QStringLiteral(":/export/") + name);
        if (!source.open(QIODevice::ReadOnly)) {
            problems.push_back({name, QStringLiteral("picture missing from the program")});
            continue;
        }
        const QString reason = writeOutputFile(target, source.readAll());
        if (!reason.isEmpty())
            problems.push_back({target, reason});
    }
    return problems;
}

ExportResult WriteHtmlFile(const AppState& state, const QString& fileName,
                           const std::vector<int>& dives, bool withComments) {
    ExportResult result;
    const QString reason = writeOutputFile(fileName, htmlDocument(state, dives, withComments));
    if (!reason.isEmpty()) {
        result.problems.push_back({fileName, reason});
        return result;
    }
    result.written = true;
    result.problems = writePageImages(QFileInfo(fileName).absolutePath());
    return result;
}

} // namespace output
