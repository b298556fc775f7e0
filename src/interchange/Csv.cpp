#include "Csv.h"

#include "CsvRowReader.h"

#include <charconv>

namespace interchange {

QString csvField(const QString& text) {
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote) return text;
    QString q = text;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

namespace {
bool formulaStart(QChar c) {
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           c == QLatin1Char('@') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}
// A text whose first ' a reader removes.
bool quotedStart(QStringView s) {
    return s.size() > 1 && s[0] == QLatin1Char('\'') &&
           (formulaStart(s[1]) || s[1] == QLatin1Char('\''));
}
} // namespace

QString spreadsheetSafe(const QString& text) {
    if ((!text.isEmpty() && formulaStart(text[0])) || quotedStart(text))
        return QLatin1Char('\'') + text;
    return text;
}

QStringView fromSpreadsheetSafe(QStringView cell) {
    return quotedStart(cell) ? cell.mid(1) : cell;
}

QChar detectSeparator(const QString& text) {
    int comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"')) quoted = !quoted;
        if (quoted) continue;
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) break;
        comma += c == QLatin1Char(',');
        semicolon += c == QLatin1Char(';');
        tab += c == QLatin1Char('\t');
    }
    if (tab > comma && tab >= semicolon) return QLatin1Char('\t');
    if (semicolon > comma) return QLatin1Char(';');
    return QLatin1Char(',');
}

CsvTable parseCsv(const QString& text, QChar separator) {
    CsvTable table;
    CsvRowReader reader(text, separator);
    while (reader.next()) {
        CsvRow row;
        row.line = reader.line();
        for (QStringView cell : reader.cells())
            row.cells << cell.toString();
        table.rows.push_back(std::move(row));
    }
    table.error = reader.error();
    return table;
}

const std::vector<CsvColumn>& csvColumns() {
    static const std::vector<CsvColumn> columns = {
        {"Dive", CsvKind::Number, 0, Quantity::None},
        {"Date", CsvKind::Date, 0, Quantity::None},
        {"Entry Time", CsvKind::Time, store::field::EntryHour, Quantity::None},
        {"Exit Time", CsvKind::Time, store::field::ExitHour, Quantity::None},
        {"Bottom Time", CsvKind::Data, store::field::BottomTime, Quantity::Minutes},
        {"Max Depth", CsvKind::Data, store::field::MaxDepth, Quantity::Depth},
        {"Pressure In", CsvKind::Data, store::field::PsiIn, Quantity::Pressure},
        {"Pressure Out", CsvKind::Data, store::field::PsiOut, Quantity::Pressure},
        {"Tank Size", CsvKind::Data, store::field::TankSize, Quantity::TankSize},
        {"Weight", CsvKind::Data, store::field::Weight, Quantity::Weight},
        {"Air Temp", CsvKind::Data, store::field::AirTemp, Quantity::Temperature},
        {"Surface Temp", CsvKind::Data, store::field::SurfaceTemp, Quantity::Temperature},
        {"Bottom Temp", CsvKind::Data, store::field::BottomTemp, Quantity::Temperature},
        {"Visibility", CsvKind::Data, store::field::Visibility, Quantity::Depth},
        {"Location", CsvKind::List, store::field::Location, Quantity::None},
        {"Type", CsvKind::List, store::field::Type, Quantity::None},
        {"Buddy", CsvKind::List, store::field::Buddy, Quantity::None},
        {"Gear", CsvKind::List, store::field::Gear, Quantity::None},
        {store::field::ConditionNames[0], CsvKind::Condition, 0, Quantity::None},
        {store::field::ConditionNames[1], CsvKind::Condition, 1, Quantity::None},
        {store::field::ConditionNames[2], CsvKind::Condition, 2, Quantity::None},
        {store::field::ConditionNames[3], CsvKind::Condition, 3, Quantity::None},
        {store::field::ConditionNames[4], CsvKind::Condition, 4, Quantity::None},
        {store::field::ConditionNames[5], CsvKind::Condition, 5, Quantity::None},
        {store::field::ConditionNames[6], CsvKind::Condition, 6, Quantity::None},
        {store::field::ConditionNames[7], CsvKind::Condition, 7, Quantity::None},
        {"Rating", CsvKind::Rating, 0, Quantity::None},
        {"Comments", CsvKind::Comments, 0, Quantity::None},
    };
    return columns;
}

QString csvHeader(const CsvColumn& c, Units units) {
    const QString unit = unitLabel(c.quantity, units);
    const QString name = QLatin1String(c.name);
    return unit.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, unit);
}

namespace {

// The file is written straight as bytes: an export of the largest log is a million cells.
void appendNumber(QByteArray& out, int v, int width = 0) {
    char buffer[16];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, v);
    // A negative value is written as it is; a positive one gets its leading zeros.
    for (auto n = r.ptr - buffer; v >= 0 && n < width; ++n)
        out.append('0');
    out.append(buffer, r.ptr - buffer);
}

void appendText(QByteArray& out, const QString& text) {
    bool ascii = true, quote = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        ascii = ascii && u < 0x80;
        quote = quote || u == ',' || u == '"' || u == '\n' || u == '\r';
    }
    if (quote) {
        out.append(csvField(text).toUtf8());
    } else if (ascii) {
        for (QChar c : text)
            out.append(static_cast<char>(c.unicode()));
    } else {
        out.append(text.toUtf8());
    }
}

void appendCell(QByteArray& out, const store::AppState& state, int i, const CsvColumn& c) {
    const store::DiveRecord& d = state.Dives[static_cast<size_t>(i)];
    const auto& t = d.TimeData;
    switch (c.kind) {
    case CsvKind::Number:
        return appendNumber(out, i + state.DiveOffset);
    case CsvKind::Date:
        // A dive whose date was never typed has none, rather than a date in year 0.
        if (t[store::field::Year] == 0 && t[store::field::Month] == 0 && t[store::field::Day] == 0)
            return;
        appendNumber(out, t[store::field::Year], 4);
        out.append('-');
        appendNumber(out, t[store::field::Month], 2);
        out.append('-');
        return appendNumber(out, t[store::field::Day], 2);
    case CsvKind::Time:
        appendNumber(out, t[static_cast<size_t>(c.index)], 2);
        out.append(':');
        return appendNumber(out, t[static_cast<size_t>(c.index + 1)], 2);
    case CsvKind::Data:
        return appendNumber(out, d.DiveData[static_cast<size_t>(c.index)]);
    case CsvKind::List: {
        // Only texts can be taken for formulas; a number such as -5 stays a number.
        const store::RefList& list = state.list(c.index);
        const int idx = d.ListData[static_cast<size_t>(c.index)];
        if (idx >= 0 && static_cast<size_t>(idx) < list.size())
            appendText(out, spreadsheetSafe(list[static_cast<size_t>(idx)].Name));
        return;
    }
    case CsvKind::Condition:
        out.append(d.CondData[static_cast<size_t>(c.index)] != 0 ? '1' : '0');
        return;
    case CsvKind::Rating:
        return appendText(out, store::field::ratingName(d.Rating));
    case CsvKind::Comments:
        return appendText(out, spreadsheetSafe(d.Comments));
    }
}

} // namespace

QByteArray csvDocument(const store::AppState& state, const std::vector<int>& dives, Units units,
                       bool bom) {
    QByteArray out;
    out.reserve(static_cast<qsizetype>(dives.size()) * 160 + 512);
    if (bom) out.append("\xEF\xBB\xBF");
    QStringList cells;
    for (const CsvColumn& c : csvColumns())
        cells << csvField(csvHeader(c, units));
    out.append((cells.join(QLatin1Char(',')) + QLatin1String("\r\n")).toUtf8());
    for (int i : dives) {
        if (i < 1 || i > state.DiveCount()) continue;
        bool first = true;
        for (const CsvColumn& c : csvColumns()) {
            if (!first) out.append(',');
            first = false;
            appendCell(out, state, i, c);
        }
        out.append("\r\n");
    }
    return out;
}

} // namespace interchange
