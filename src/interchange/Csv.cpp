#include "Csv.h"

namespace interchange {

QString csvField(const QString& text) {
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote) return text;
    QString q = text;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

CsvTable parseCsv(const QString& text) {
    CsvTable table;
    qsizetype k = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    const qsizetype n = text.size();
    int line = 1;
    while (k < n) {
        CsvRow row;
        row.line = line;
        QString cell;
        bool rowDone = false;
        while (!rowDone) {
            if (k < n && text[k] == QLatin1Char('"')) {
                const int opened = line;
                ++k;
                for (;;) {
                    if (k >= n) {
                        table.error = QStringLiteral("line %1: a quote opened here is never closed")
                                          .arg(opened);
                        return table;
                    }
                    const QChar c = text[k++];
                    if (c == QLatin1Char('"')) {
                        if (k < n && text[k] == QLatin1Char('"')) {
                            cell += c;
                            ++k;
                            continue;
                        }
                        break;
                    }
                    if (c == QLatin1Char('\n') ||
                        (c == QLatin1Char('\r') && !(k < n && text[k] == QLatin1Char('\n'))))
                        ++line;
                    cell += c;
                }
                if (k < n && text[k] != QLatin1Char(',') && text[k] != QLatin1Char('\n') &&
                    text[k] != QLatin1Char('\r')) {
                    table.error = QStringLiteral("line %1: text after the closing quote of a field")
                                      .arg(line);
                    return table;
                }
            } else {
                while (k < n && text[k] != QLatin1Char(',') && text[k] != QLatin1Char('\n') &&
                       text[k] != QLatin1Char('\r'))
                    cell += text[k++];
            }
            row.cells << cell;
            cell.clear();
            if (k < n && text[k] == QLatin1Char(',')) {
                ++k;
                continue;
            }
            // End of the row: CR LF, LF, CR or the end of the text.
            if (k < n && text[k] == QLatin1Char('\r')) ++k;
            if (k < n && text[k] == QLatin1Char('\n')) ++k;
            ++line;
            rowDone = true;
        }
        if (!(row.cells.size() == 1 && row.cells[0].isEmpty())) table.rows.push_back(row);
    }
    return table;
}

const std::vector<CsvColumn>& csvColumns() {
    static const std::vector<CsvColumn> columns = {
        {"Dive", CsvKind::Number, 0, Quantity::None},
        {"Date", CsvKind::Date, 0, Quantity::None},
        {"Entry Time", CsvKind::Time, field::EntryHour, Quantity::None},
        {"Exit Time", CsvKind::Time, field::ExitHour, Quantity::None},
        {"Bottom Time", CsvKind::Data, field::BottomTime, Quantity::Minutes},
        {"Max Depth", CsvKind::Data, field::MaxDepth, Quantity::Depth},
        {"Pressure In", CsvKind::Data, field::PsiIn, Quantity::Pressure},
        {"Pressure Out", CsvKind::Data, field::PsiOut, Quantity::Pressure},
        {"Tank Size", CsvKind::Data, field::TankSize, Quantity::TankSize},
        {"Weight", CsvKind::Data, field::Weight, Quantity::Weight},
        {"Air Temp", CsvKind::Data, field::AirTemp, Quantity::Temperature},
        {"Surface Temp", CsvKind::Data, field::SurfaceTemp, Quantity::Temperature},
        {"Bottom Temp", CsvKind::Data, field::BottomTemp, Quantity::Temperature},
        {"Visibility", CsvKind::Data, field::Visibility, Quantity::Depth},
        {"Location", CsvKind::List, field::Location, Quantity::None},
        {"Type", CsvKind::List, field::Type, Quantity::None},
        {"Buddy", CsvKind::List, field::Buddy, Quantity::None},
        {"Gear", CsvKind::List, field::Gear, Quantity::None},
        {field::ConditionNames[0], CsvKind::Condition, 0, Quantity::None},
        {field::ConditionNames[1], CsvKind::Condition, 1, Quantity::None},
        {field::ConditionNames[2], CsvKind::Condition, 2, Quantity::None},
        {field::ConditionNames[3], CsvKind::Condition, 3, Quantity::None},
        {field::ConditionNames[4], CsvKind::Condition, 4, Quantity::None},
        {field::ConditionNames[5], CsvKind::Condition, 5, Quantity::None},
        {field::ConditionNames[6], CsvKind::Condition, 6, Quantity::None},
        {field::ConditionNames[7], CsvKind::Condition, 7, Quantity::None},
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

QString ratingWord(int rating) {
    switch (rating) {
    case 0:
        return QStringLiteral("poor");
    case 1:
        return QStringLiteral("average");
    case 2:
        return QStringLiteral("good");
    default:
        return {};
    }
}

namespace {

QString padded(int v, int width) {
    return v < 0 ? QString::number(v) : QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
}

QString cellOf(const AppState& state, int i, const CsvColumn& c) {
    const DiveRecord& d = state.Dives[static_cast<size_t>(i)];
    const auto& t = d.TimeData;
    switch (c.kind) {
    case CsvKind::Number:
        return QString::number(i + state.DiveOffset);
    case CsvKind::Date:
        // A dive whose date was never typed has none, rather than a date in year 0.
        if (t[field::Year] == 0 && t[field::Month] == 0 && t[field::Day] == 0) return {};
        return QStringLiteral("%1-%2-%3")
            .arg(padded(t[field::Year], 4), padded(t[field::Month], 2), padded(t[field::Day], 2));
    case CsvKind::Time:
        return QStringLiteral("%1:%2").arg(padded(t[static_cast<size_t>(c.index)], 2),
                                           padded(t[static_cast<size_t>(c.index + 1)], 2));
    case CsvKind::Data:
        return QString::number(d.DiveData[static_cast<size_t>(c.index)]);
    case CsvKind::List: {
        const RefList& list = state.list(c.index);
        const int idx = d.ListData[static_cast<size_t>(c.index)];
        return idx >= 0 && static_cast<size_t>(idx) < list.size()
                   ? list[static_cast<size_t>(idx)].Name
                   : QString();
    }
    case CsvKind::Condition:
        return d.CondData[static_cast<size_t>(c.index)] != 0 ? QStringLiteral("1")
                                                             : QStringLiteral("0");
    case CsvKind::Rating:
        return ratingWord(d.Rating);
    case CsvKind::Comments:
        return d.Comments;
    }
    return {};
}

} // namespace

QByteArray csvDocument(const AppState& state, const std::vector<int>& dives, Units units) {
    QString text;
    QStringList cells;
    for (const CsvColumn& c : csvColumns())
        cells << csvField(csvHeader(c, units));
    text += cells.join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (int i : dives) {
        if (i < 1 || i > state.DiveCount()) continue;
        cells.clear();
        for (const CsvColumn& c : csvColumns())
            cells << csvField(cellOf(state, i, c));
        text += cells.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return text.toUtf8();
}

} // namespace interchange
