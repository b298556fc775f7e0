#include "CsvImport.h"

#include "Csv.h"
#include "CsvRowReader.h"
#include "LogAppender.h"
#include "store/EntryRules.h"
#include "store/LogOps.h"
#include "store/Text.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <optional>

namespace interchange {

namespace {

constexpr int MaxCountedBytes = 0xFFFF;
// A column of other logbooks that no field takes but that the comments keep.
const char AverageDepth[] = "Average depth";

// Header names as other logbooks write them, squeezed (see squeezed()), and the column of
// ours each stands for.
struct Alias {
    const char* name;
    const char* column;
};
constexpr Alias Aliases[] = {
    {"dive", "Dive"},
    {"number", "Dive"},
    {"divenumber", "Dive"},
    {"diveno", "Dive"},
    {"date", "Date"},
    {"divedate", "Date"},
    {"datetime", "Date"},
    {"time", "Entry Time"},
    {"entrytime", "Entry Time"},
    {"starttime", "Entry Time"},
    {"timein", "Entry Time"},
    {"exittime", "Exit Time"},
    {"endtime", "Exit Time"},
    {"timeout", "Exit Time"},
    {"duration", "Bottom Time"},
    {"divetime", "Bottom Time"},
    {"bottomtime", "Bottom Time"},
    {"diveduration", "Bottom Time"},
    {"maxdepth", "Max Depth"},
    {"maximumdepth", "Max Depth"},
    {"depth", "Max Depth"},
    {"avgdepth", AverageDepth},
    {"averagedepth", AverageDepth},
    {"meandepth", AverageDepth},
    {"watertemp", "Bottom Temp"},
    {"watertemperature", "Bottom Temp"},
    {"bottomtemp", "Bottom Temp"},
    {"bottomtemperature", "Bottom Temp"},
    {"surfacetemp", "Surface Temp"},
    {"surfacetemperature", "Surface Temp"},
    {"airtemp", "Air Temp"},
    {"airtemperature", "Air Temp"},
    {"startpressure", "Pressure In"},
    {"tankin", "Pressure In"},
    {"pressurein", "Pressure In"},
    {"psiin", "Pressure In"},
    {"endpressure", "Pressure Out"},
    {"tankout", "Pressure Out"},
    {"pressureout", "Pressure Out"},
    {"psiout", "Pressure Out"},
    {"cylindersize", "Tank Size"},
    {"tanksize", "Tank Size"},
    {"tankvolume", "Tank Size"},
    {"cylindervolume", "Tank Size"},
    {"weight", "Weight"},
    {"lead", "Weight"},
    {"visibility", "Visibility"},
    {"location", "Location"},
    {"site", "Location"},
    {"divesite", "Location"},
    {"place", "Location"},
    {"type", "Type"},
    {"divetype", "Type"},
    {"buddy", "Buddy"},
    {"buddies", "Buddy"},
    {"gear", "Gear"},
    {"suit", "Gear"},
    {"notes", "Comments"},
    {"note", "Comments"},
    {"comments", "Comments"},
    {"comment", "Comments"},
    {"rating", "Rating"},
};

// Lower case without blanks, "_", "#", "." or "-": "Max_Depth #" and "max. depth" are one name.
QString squeezed(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s)
        if (!c.isSpace() && c != QLatin1Char('_') && c != QLatin1Char('#') &&
            c != QLatin1Char('.') && c != QLatin1Char('-'))
            out += c.toLower();
    return out;
}

struct Column {
    const CsvColumn* column = nullptr; // nullptr: left out, or the average depth
    bool averageDepth = false;
    std::optional<Units> units; // the header's unit; nothing: the log's units
    bool seconds = false;       // a duration given in seconds
    QString unitText;           // as written, for notes
};

const CsvColumn* ourColumn(const char* name) {
    for (const CsvColumn& c : csvColumns())
        if (qstrcmp(c.name, name) == 0) return &c;
    return nullptr;
}

// What a header names, with the unit it gives. `why` says why a header that names a column
// cannot be used.
std::optional<Column> columnFor(const QString& header, QString* why) {
    static const QRegularExpression bracketed(
        QStringLiteral("^\\s*(.*?)\\s*[\\[(]\\s*([^\\[\\]()]*?)\\s*[\\])]\\s*$"));
    QString name = header, unit;
    if (const auto m = bracketed.match(header); m.hasMatch()) {
        name = m.captured(1);
        unit = m.captured(2);
    }
    const QString key = squeezed(name);
    std::vector<std::pair<const char*, const char*>> names;
    for (const Alias& a : Aliases)
        names.emplace_back(a.name, a.column);
    for (const CsvColumn& c : csvColumns())
        names.emplace_back(nullptr, c.name);

    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& [alias, target] : names) {
            const QString a = alias ? QLatin1String(alias) : squeezed(QLatin1String(target));
            QString u = unit;
            if (pass == 0 && key != a) continue;
            // Second pass: the unit written after the name without brackets ("Depth m").
            if (pass == 1) {
                if (!unit.isEmpty() || !key.startsWith(a) || key.size() == a.size()) continue;
                u = key.mid(a.size());
            }
            Column c;
            c.averageDepth = target == AverageDepth;
            c.column = c.averageDepth ? nullptr : ourColumn(target);
            const Quantity q = c.averageDepth ? Quantity::Depth : c.column->quantity;
            c.unitText = u;
            if (u.isEmpty()) return c;
            if (q == Quantity::Minutes) {
                const QString s = squeezed(u);
                c.seconds = s == QLatin1String("s") || s == QLatin1String("sec") ||
                            s == QLatin1String("seconds");
                if (c.seconds || unitsOfLabel(q, u)) return c;
            } else if (q != Quantity::None) {
                c.units = unitsOfLabel(q, u);
                if (c.units) return c;
            }
            if (pass == 1) continue; // "Timezone" is no time with a unit "zone"
            *why = QStringLiteral("the unit \"%1\" is not one Reefbook reads").arg(u);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QString decoded(const QByteArray& bytes, QStringList& warnings) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        return utf16(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    warnings << QStringLiteral("the file is not UTF-8; it was read as Windows-1252 (Latin-1)");
    return store::text::fromCp1252(bytes);
}

class RowReader {
  public:
    RowReader(LogAppender& appender, ImportReport& importReport, Units fileUnits,
              DateOrder dateOrder)
        : log(appender), report(importReport), units(fileUnits), order(dateOrder) {}

    std::vector<Column> columns;

    QString where(int line, qsizetype k) const {
        const Column& c = columns[static_cast<size_t>(k)];
        return QStringLiteral("line %1, column %2 (%3)")
            .arg(line)
            .arg(k + 1)
            .arg(c.averageDepth ? QLatin1String(AverageDepth) : QLatin1String(c.column->name));
    }

    store::DiveRecord dive(const std::vector<QStringView>& cells, int line) {
        store::DiveRecord d;
        d.Rating = 1; // a dive without a rating is an average one
        QStringList comments, notes;
        std::optional<double> tankOther; // a tank size in the other system's units
        QString tankOtherText;
        bool entryGiven = false;
        std::optional<CsvTime> timeInDate;
        for (qsizetype k = 0; k < static_cast<qsizetype>(cells.size()); ++k) {
            if (k >= static_cast<qsizetype>(columns.size())) {
                if (!cells[static_cast<size_t>(k)].trimmed().isEmpty())
                    report.warnings << QStringLiteral("line %1, column %2: more cells than the "
                                                      "header has; left out")
                                           .arg(line)
                                           .arg(k + 1);
                continue;
            }
            const Column& col = columns[static_cast<size_t>(k)];
            if (!col.column && !col.averageDepth) continue;
            const QStringView raw = fromSpreadsheetSafe(cells[static_cast<size_t>(k)]);
            const QStringView cell = raw.trimmed();
            if (col.averageDepth) {
                if (!cell.isEmpty())
                    notes << QStringLiteral("Average depth: %1").arg(cell) +
                                 (col.unitText.isEmpty() || !cell.back().isDigit()
                                      ? QString()
                                      : QLatin1Char(' ') + col.unitText);
                continue;
            }
            const CsvColumn& c = *col.column;
            if (c.kind == CsvKind::Comments) {
                if (!raw.isEmpty() && text16(line, k, raw)) comments << raw.toString();
                continue;
            }
            if (cell.isEmpty()) continue;
            const Pos at{line, k};
            switch (c.kind) {
            case CsvKind::Number:
            case CsvKind::Comments:
                break;
            case CsvKind::Date:
                date(d, cell, at);
                if (cell.size() > 10) timeInDate = timeAfterDate(cell);
                break;
            case CsvKind::Time:
                entryGiven = entryGiven || c.index == store::field::EntryHour;
                time(d, c.index, cell, at);
                break;
            case CsvKind::Data:
                if (c.index == store::field::TankSize && col.units && *col.units != units) {
                    tankOther = parseNumber(cell, nullptr);
                    tankOtherText = cell.toString() + QLatin1Char(' ') + col.unitText;
                    if (!tankOther) warn(at, cell, QStringLiteral("is not a number"));
                } else {
                    number(d, c, col, cell, at, notes);
                }
                break;
            case CsvKind::List:
                if (text16(line, k, cell)) list(d, c.index, cell.toString());
                break;
            case CsvKind::Condition:
                condition(d, c.index, cell, at);
                break;
            case CsvKind::Rating:
                rating(d, cell, at);
                break;
            }
        }
        if (!entryGiven && timeInDate) {
            d.TimeData[store::field::EntryHour] =
                static_cast<int16_t>(std::min(timeInDate->hour, 24));
            d.TimeData[store::field::EntryMinute] =
                static_cast<int16_t>(std::min(timeInDate->minute, 60));
        }
        if (tankOther) tankSize(d, *tankOther, tankOtherText, line, notes);
        comments << notes;
        d.Comments = comments.join(QStringLiteral("\r\n"));
        return d;
    }

  private:
    // Where a cell is, named only when a warning needs it: most files need none.
    struct Pos {
        int line;
        qsizetype k;
    };
    void warn(const Pos& at, QStringView cell, const QString& what) {
        report.warnings << QStringLiteral("%1: \"%2\" %3; left empty")
                               .arg(where(at.line, at.k), cell.toString(), what);
    }
    int16_t box(double v, int dataField, const Pos& at) {
        if (LogAppender::fits(v, dataField)) return static_cast<int16_t>(std::round(v));
        return log.boxValue(v, dataField, where(at.line, at.k));
    }

    bool text16(int line, qsizetype k, QStringView cell) {
        // Plain ASCII of a sane length fits as it is; only other text needs the round trip.
        if (cell.size() <= MaxCountedBytes &&
            std::all_of(cell.begin(), cell.end(), [](QChar c) { return c.unicode() < 0x80; }))
            return true;
        const QByteArray bytes = store::text::toCp1252(cell.toString());
        if (bytes.size() > MaxCountedBytes) {
            report.warnings << QStringLiteral("line %1, column %2: longer than the log can keep "
                                              "(%3 bytes); left out")
                                   .arg(row(line))
                                   .arg(k + 1)
                                   .arg(MaxCountedBytes);
            return false;
        }
        if (store::text::fromCp1252(bytes) != cell)
            report.warnings << QStringLiteral("line %1, column %2: characters the log files cannot "
                                              "hold will be kept as ?")
                                   .arg(line)
                                   .arg(k + 1);
        return true;
    }
    static int row(int line) { return line; }

    void date(store::DiveRecord& d, QStringView cell, const Pos& at) {
        const std::optional<CsvDate> p = parseDate(cell, order);
        if (!p) return warn(at, cell, QStringLiteral("is not a date such as 2004-03-28"));
        // The entry boxes' rules: two-digit years, months 1-12, days 1-31.
        const int fields[3] = {store::field::Year, store::field::Month, store::field::Day};
        const int values[3] = {p->year, p->month, p->day};
        std::array<int16_t, 3> kept{};
        for (int f = 0; f < 3; ++f) {
            const store::entry::TimeFieldOutcome o =
                store::entry::checkTimeField(fields[f], QString::number(values[f]), 0);
            if (!o.store)
                return warn(at, cell,
                            QStringLiteral("is not a date (month 1-12, day 1-31, year "
                                           "1900-2100)"));
            kept[static_cast<size_t>(f)] = o.value;
        }
        d.TimeData[store::field::Year] = kept[0];
        d.TimeData[store::field::Month] = kept[1];
        d.TimeData[store::field::Day] = kept[2];
    }

    void time(store::DiveRecord& d, int index, QStringView cell, const Pos& at) {
        const std::optional<CsvTime> t = parseTimeOfDay(cell);
        if (!t) return warn(at, cell, QStringLiteral("is not a time such as 09:05 or 9:05 AM"));
        const int hour = std::min(t->hour, 24), minute = std::min(t->minute, 60);
        if (hour != t->hour || minute != t->minute)
            report.warnings << QStringLiteral("%1: \"%2\" is past 24:00 or minute 60; kept as "
                                              "%3:%4")
                                   .arg(where(at.line, at.k), cell.toString())
                                   .arg(hour)
                                   .arg(minute, 2, 10, QLatin1Char('0'));
        d.TimeData[static_cast<size_t>(index)] = static_cast<int16_t>(hour);
        d.TimeData[static_cast<size_t>(index + 1)] = static_cast<int16_t>(minute);
    }

    void number(store::DiveRecord& d, const CsvColumn& c, const Column& col, QStringView cell,
                const Pos& at, QStringList& notes) {
        if (c.quantity == Quantity::Minutes) {
            const std::optional<double> m = parseDuration(cell, col.seconds);
            if (!m)
                return warn(at, cell, QStringLiteral("is not a duration such as 42 or 0:42:30"));
            d.DiveData[static_cast<size_t>(c.index)] = box(*m, c.index, at);
            return;
        }
        QString unit;
        const std::optional<double> v = parseNumber(cell, &unit);
        if (!v) {
            // Visibility is often written in words; the comments keep them.
            if (c.index == store::field::Visibility) {
                notes << QStringLiteral("Visibility: ") + cell.toString();
                return;
            }
            return warn(at, cell, QStringLiteral("is not a number"));
        }
        Units from = col.units.value_or(units);
        if (!unit.isEmpty()) {
            const std::optional<Units> u = unitsOfLabel(c.quantity, unit);
            if (!u) return warn(at, cell, QStringLiteral("has a unit Reefbook does not read"));
            from = *u;
        }
        const double value = convertUnits(c.quantity, from, units, *v);
        d.DiveData[static_cast<size_t>(c.index)] = box(value, c.index, at);
    }

    // A tank size given in the other system: litres of water or cubic feet of gas. The one
    // becomes the other through the tank's pressure, here the dive's starting pressure.
    void tankSize(store::DiveRecord& d, double size, const QString& written, int line,
                  QStringList& notes) {
        const double psiIn = convertUnits(Quantity::Pressure, units, Units::Imperial,
                                          d.DiveData[store::field::PsiIn]);
        const Units other = units == Units::Metric ? Units::Imperial : Units::Metric;
        const std::optional<double> si = tankVolumeSi(other, size, psiIn);
        const std::optional<double> kept = si ? tankSizeFromSi(units, *si, psiIn) : std::nullopt;
        if (kept) {
            d.DiveData[store::field::TankSize] = log.boxValue(
                *kept, store::field::TankSize, QStringLiteral("line %1 (Tank Size)").arg(line));
            return;
        }
        notes << QStringLiteral("Tank size: ") + written;
        report.warnings << QStringLiteral("line %1 (Tank Size): \"%2\" needs the tank's pressure "
                                          "to convert; kept in the comments")
                               .arg(line)
                               .arg(written);
    }

    void list(store::DiveRecord& d, int which, const QString& cell) {
        QString name = cell;
        // "Dirk, Linus" is one buddy entry; an empty part (", Kiyan Griffin") is nobody.
        if (which == store::field::Buddy) {
            if (cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char(';'))) {
                static const QRegularExpression separators(QStringLiteral("[,;]"));
                QStringList parts;
                for (const QString& p : cell.split(separators))
                    if (!p.trimmed().isEmpty()) parts << p.trimmed();
                name = parts.join(QStringLiteral(", "));
            }
            if (name.isEmpty()) return;
        }
        d.ListData[static_cast<size_t>(which)] = log.listIndex(which, name);
    }

    void condition(store::DiveRecord& d, int index, QStringView cell, const Pos& at) {
        if (cell.size() == 1 && cell[0] == QLatin1Char('1')) {
            d.CondData[static_cast<size_t>(index)] = 1;
            return;
        }
        if (cell.size() == 1 && cell[0] == QLatin1Char('0')) return;
        const QString c = cell.toString().toLower();
        for (const char* yes : {"1", "yes", "y", "true", "x"})
            if (c == QLatin1String(yes)) {
                d.CondData[static_cast<size_t>(index)] = 1;
                return;
            }
        for (const char* no : {"0", "no", "n", "false"})
            if (c == QLatin1String(no)) return;
        warn(at, cell, QStringLiteral("is not 0 or 1"));
    }

    void rating(store::DiveRecord& d, QStringView cell, const Pos& at) {
        if (const int r = store::field::ratingFromName(cell); r >= 0) {
            d.Rating = static_cast<int16_t>(r);
            return;
        }
        // Stars: 1-2 poor, 3 average, 4-5 good; 0 is no rating given.
        double stars = -1;
        if (cell.count(QLatin1Char('*')) == cell.size() || cell.count(QChar(0x2605)) == cell.size())
            stars = static_cast<double>(cell.size());
        else if (const std::optional<double> v = parseNumber(cell, nullptr))
            stars = std::round(*v);
        if (stars < 0) {
            report.warnings << QStringLiteral("%1: \"%2\" is not a rating (poor, average, good "
                                              "or 0-5 stars); kept as average")
                                   .arg(where(at.line, at.k), cell.toString());
            return;
        }
        if (stars > 5) {
            report.warnings << QStringLiteral("%1: %2 is more than 5 stars; kept as good")
                                   .arg(where(at.line, at.k), cell.toString());
            stars = 5;
        }
        d.Rating = static_cast<int16_t>(stars == 0 ? 1 : stars <= 2 ? 0 : stars == 3 ? 1 : 2);
    }

    LogAppender& log;
    ImportReport& report;
    Units units;
    DateOrder order;
};

// Whether a column's dates need an order the caller did not give; the order they tell.
QString dateOrderProblem(const QString& text, QChar separator, qsizetype dateColumn,
                         DateOrder* order) {
    if (*order != DateOrder::Unknown || dateColumn < 0) return {};
    DateOrderVote vote;
    QString example;
    CsvRowReader rows(text, separator);
    rows.next(); // the header
    while (rows.next()) {
        if (dateColumn >= static_cast<qsizetype>(rows.cells().size())) continue;
        const QStringView cell = rows.cells()[static_cast<size_t>(dateColumn)].trimmed();
        if (const std::optional<CsvDate> d = parseDate(cell, DateOrder::Unknown)) {
            vote.add(*d);
            if (d->numeric && example.isEmpty() && d->first != d->second && d->first <= 12 &&
                d->second <= 12)
                example = cell.toString();
        }
    }
    if (vote.monthFirstImpossible && vote.dayFirstImpossible)
        return QStringLiteral("the dates cannot all be read in one order (some have a first "
                              "number above 12, some a second one); say which with "
                              "--date-format MDY or DMY");
    if (vote.monthFirstImpossible)
        *order = DateOrder::DMY;
    else if (vote.dayFirstImpossible)
        *order = DateOrder::MDY;
    else if (vote.ambiguous)
        return QStringLiteral("a date such as %1 can be month first or day first; say which "
                              "with --date-format MDY or DMY")
            .arg(example);
    return {};
}

} // namespace

ImportReport importCsv(store::AppState& state, const QByteArray& bytes, Units units,
                       DateOrder order) {
    ImportReport report;
    QString text = decoded(bytes, report.warnings);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    // Spreadsheets may name the separator on a first line of its own: "sep=;".
    QChar separator;
    if (text.startsWith(QLatin1String("sep="), Qt::CaseInsensitive) && text.size() > 4) {
        separator = text[4];
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        text = end < 0 ? QString() : text.mid(end + 1);
    } else {
        separator = detectSeparator(text);
    }
    // The rows are read straight from the text, the dates first. A file that is not CSV
    // somewhere is refused whole: the dives go into a copy of the log until the end.
    CsvRowReader rows(text, separator);
    if (!rows.next()) {
        report.errors << (rows.error().isEmpty() ? QStringLiteral("the file is empty")
                                                 : rows.error());
        return report;
    }

    LogAppender log(state, report);
    RowReader reader(log, report, units, order);
    QStringList headerCells;
    for (QStringView h : rows.cells())
        headerCells << h.toString();
    const int headerLine = rows.line();
    reader.columns.resize(static_cast<size_t>(headerCells.size()));
    qsizetype dateColumn = -1;
    bool depth = false, time = false;
    QStringList found;
    for (qsizetype k = 0; k < headerCells.size(); ++k) {
        const QString h = headerCells[k].trimmed();
        if (h.isEmpty()) continue;
        found << QStringLiteral("\"%1\"").arg(h);
        QString why;
        std::optional<Column> c = columnFor(h, &why);
        const bool taken = c && c->column &&
                           std::any_of(reader.columns.begin(), reader.columns.begin() + k,
                                       [&c](const Column& o) { return o.column == c->column; }) &&
                           c->column->kind != CsvKind::Comments;
        if (!c || taken) {
            report.columnsLeftOut
                << (why.isEmpty() ? QStringLiteral("column %1 \"%2\"%3")
                                        .arg(k + 1)
                                        .arg(h, taken ? QStringLiteral(" (a second column for "
                                                                       "the same field)")
                                                      : QString())
                                  : QStringLiteral("column %1 \"%2\" (%3)").arg(k + 1).arg(h, why));
            continue;
        }
        reader.columns[static_cast<size_t>(k)] = *c;
        if (!c->column) continue;
        if (c->column->kind == CsvKind::Date && dateColumn < 0) dateColumn = k;
        if (c->column->kind == CsvKind::Data && c->column->index == store::field::MaxDepth)
            depth = true;
        if ((c->column->kind == CsvKind::Time && c->column->index == store::field::EntryHour) ||
            (c->column->kind == CsvKind::Data && c->column->index == store::field::BottomTime))
            time = true;
    }
    if (dateColumn < 0 || !depth || !time) {
        QStringList missing;
        if (dateColumn < 0) missing << QStringLiteral("date");
        if (!depth) missing << QStringLiteral("depth");
        if (!time) missing << QStringLiteral("time (entry time or duration)");
        report.errors << QStringLiteral("line %1: no column for the %2; the columns found are %3")
                             .arg(headerLine)
                             .arg(missing.join(QStringLiteral(", the ")),
                                  found.join(QStringLiteral(", ")));
        return report;
    }
    if (const QString why = dateOrderProblem(text, separator, dateColumn, &order); !why.isEmpty()) {
        report.errors << why;
        return report;
    }
    RowReader diveReader(log, report, units, order);
    diveReader.columns = std::move(reader.columns);

    long long count = 0;
    while (rows.next()) {
        // Spreadsheets end a sheet with rows of empty cells; they hold no dive.
        const std::vector<QStringView>& cells = rows.cells();
        if (std::all_of(cells.begin(), cells.end(),
                        [](QStringView c) { return c.trimmed().isEmpty(); }))
            continue;
        if (++count > store::MaxDives) break;
        log.add(diveReader.dive(cells, rows.line()));
    }
    if (!rows.error().isEmpty()) {
        report.errors << rows.error();
        report.newNames = {};
        return report;
    }
    if (count == 0) {
        report.errors << QStringLiteral("the file holds no dives");
        report.newNames = {};
        return report;
    }
    if (count > store::MaxDives)
        report.errors
            << QStringLiteral("the log would hold more than %1 dives").arg(store::MaxDives);
    log.finish(state);
    return report;
}

} // namespace interchange
