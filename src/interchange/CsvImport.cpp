#include "CsvImport.h"

#include "Csv.h"
#include "store/EntryRules.h"
#include "store/LogOps.h"
#include "store/Numbers.h"
#include "store/Text.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

#include <optional>

namespace interchange {

namespace {

// Errors are listed up to this many; a file that is wholly of another shape says so soon enough.
constexpr int MaxErrors = 50;
constexpr int MaxCountedBytes = 0xFFFF;

struct Mapped {
    const CsvColumn* column = nullptr;
    Units units = Units::Imperial; // the units the file's column is in
};

QString nameOf(const QString& header, QString* unit) {
    static const QRegularExpression re(QStringLiteral("^\\s*(.*?)\\s*(?:\\(([^()]*)\\))?\\s*$"));
    const QRegularExpressionMatch m = re.match(header);
    *unit = m.captured(2).trimmed();
    return m.captured(1);
}

const CsvColumn* columnNamed(const QString& name) {
    static const std::array<std::pair<const char*, const char*>, 3> aliases = {
        {{"PSI In", "Pressure In"}, {"PSI Out", "Pressure Out"}, {"Number", "Dive"}}};
    QString n = name;
    for (const auto& [alias, real] : aliases)
        if (n.compare(QLatin1String(alias), Qt::CaseInsensitive) == 0) n = QLatin1String(real);
    for (const CsvColumn& c : csvColumns())
        if (n.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

class RowReader {
  public:
    RowReader(AppState& st, Units u, ImportReport& r) : state(st), units(u), report(r) {}

    // Maps the header; false when the header cannot be used.
    bool header(const CsvRow& row) {
        columns.resize(static_cast<size_t>(row.cells.size()));
        for (qsizetype k = 0; k < row.cells.size(); ++k) {
            QString unit;
            const QString name = nameOf(row.cells[k], &unit);
            const CsvColumn* c = columnNamed(name);
            if (!c) {
                if (!name.isEmpty())
                    report.warnings << QStringLiteral("column %1 (%2) is not one Reefbook keeps; "
                                                      "it was left out")
                                           .arg(k + 1)
                                           .arg(row.cells[k]);
                continue;
            }
            for (const Mapped& m : columns)
                if (m.column == c)
                    return fail(row.line, k, row.cells[k],
                                QStringLiteral("a second column for this"));
            Mapped m{c, units};
            if (!unit.isEmpty() && c->quantity != Quantity::None) {
                const std::optional<Units> u = unitsOfLabel(c->quantity, unit);
                if (!u)
                    return fail(row.line, k, row.cells[k],
                                QStringLiteral("unknown unit \"%1\"").arg(unit));
                if (c->quantity != Quantity::Minutes) m.units = *u;
                if (c->quantity == Quantity::TankSize && m.units != units)
                    return fail(row.line, k, row.cells[k],
                                QStringLiteral("tank sizes in %1 cannot be read into a log kept in "
                                               "%2 (one is water volume, the other gas)")
                                    .arg(unitLabel(Quantity::TankSize, m.units),
                                         unitLabel(Quantity::TankSize, units)));
            }
            columns[static_cast<size_t>(k)] = m;
        }
        for (const Mapped& m : columns)
            if (m.column) return true;
        report.errors << QStringLiteral("line %1: the header names no column Reefbook knows "
                                        "(such as Date, Max Depth, Location)")
                             .arg(row.line);
        return false;
    }

    std::optional<DiveRecord> dive(const CsvRow& row) {
        DiveRecord d;
        const qsizetype before = report.errors.size();
        for (qsizetype k = 0; k < row.cells.size(); ++k) {
            const QString cell = row.cells[k];
            if (k >= static_cast<qsizetype>(columns.size())) {
                if (!cell.trimmed().isEmpty())
                    fail(row.line, k, QString(), QStringLiteral("more cells than the header has"));
                continue;
            }
            const Mapped& m = columns[static_cast<size_t>(k)];
            if (m.column) read(d, row.line, k, *m.column, m.units, cell);
        }
        if (report.errors.size() != before) return std::nullopt;
        return d;
    }

  private:
    bool fail(int line, qsizetype k, const QString& what, const QString& why) {
        if (report.errors.size() < MaxErrors) {
            const Mapped* m = k < static_cast<qsizetype>(columns.size())
                                  ? &columns[static_cast<size_t>(k)]
                                  : nullptr;
            const QString name = m && m->column ? QLatin1String(m->column->name) : what;
            report.errors
                << (name.isEmpty()
                        ? QStringLiteral("line %1, column %2: %3").arg(line).arg(k + 1).arg(why)
                        : QStringLiteral("line %1, column %2 (%3): %4")
                              .arg(line)
                              .arg(k + 1)
                              .arg(name, why));
        } else if (report.errors.size() == MaxErrors) {
            report.errors << QStringLiteral("... and more; nothing further is listed");
        }
        return false;
    }

    bool text16(int line, qsizetype k, const QString& cell) {
        const QByteArray bytes = text::toCp1252(cell);
        if (bytes.size() > MaxCountedBytes)
            return fail(
                line, k, {},
                QStringLiteral("longer than the log can keep (%1 bytes)").arg(MaxCountedBytes));
        if (text::fromCp1252(bytes) != cell)
            report.warnings << QStringLiteral("line %1, column %2: characters the log files cannot "
                                              "hold will be kept as ?")
                                   .arg(line)
                                   .arg(k + 1);
        return true;
    }

    void read(DiveRecord& d, int line, qsizetype k, const CsvColumn& c, Units from,
              const QString& raw) {
        // Names and comments are kept exactly as written, as the entry boxes keep them.
        const bool exact = c.kind == CsvKind::Comments || c.kind == CsvKind::List;
        const QString cell = exact ? raw : raw.trimmed();
        switch (c.kind) {
        case CsvKind::Number:
            return; // dives are numbered by their place in the log
        case CsvKind::Date: {
            if (cell.isEmpty()) return; // no date: all three stay 0
            static const QRegularExpression re(
                QStringLiteral("^(\\d{1,4})-(\\d{1,2})-(\\d{1,2})$"));
            const QRegularExpressionMatch m = re.match(cell);
            if (!m.hasMatch()) {
                fail(line, k, {},
                     QStringLiteral("\"%1\" is not a date such as 1997-07-04").arg(cell));
                return;
            }
            const int order[3] = {field::Year, field::Month, field::Day};
            for (int p = 0; p < 3; ++p) {
                const entry::TimeFieldOutcome o =
                    entry::checkTimeField(order[p], m.captured(p + 1), 0);
                if (!o.store) {
                    fail(line, k, {},
                         QStringLiteral("\"%1\" is not a date (month 1-12, day 1-31, "
                                        "year 1900-2100)")
                             .arg(cell));
                    return;
                }
                d.TimeData[static_cast<size_t>(order[p])] = o.value;
            }
            return;
        }
        case CsvKind::Time: {
            if (cell.isEmpty()) return;
            static const QRegularExpression re(QStringLiteral("^(-?\\d{1,2}):(\\d{1,2})$"));
            const QRegularExpressionMatch m = re.match(cell);
            for (int p = 0; p < 2 && m.hasMatch(); ++p) {
                const entry::TimeFieldOutcome o =
                    entry::checkTimeField(c.index + p, m.captured(p + 1), 0);
                if (!o.store) break;
                d.TimeData[static_cast<size_t>(c.index + p)] = o.value;
                if (p == 1) return;
            }
            fail(line, k, {},
                 QStringLiteral("\"%1\" is not a time such as 09:05 (hours up to 24, "
                                "minutes up to 60)")
                     .arg(cell));
            return;
        }
        case CsvKind::Data: {
            if (cell.isEmpty()) return;
            static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
            if (!re.match(cell).hasMatch()) {
                fail(line, k, {}, QStringLiteral("\"%1\" is not a number").arg(cell));
                return;
            }
            const double v = convertUnits(c.quantity, from, units, cell.toDouble());
            const entry::NumberFieldOutcome o =
                entry::checkNumberField(QString::number(v, 'f', 6), 0);
            // A converted value is out of range in the log's units: both are named, or "9999 is
            // outside -32000 to 32000" would make no sense.
            const auto outside = [&](const QString& range) {
                if (from == units) return QStringLiteral("%1 is outside %2").arg(cell, range);
                return QStringLiteral("%1 %2 is %3 %4, outside %5")
                    .arg(cell, unitLabel(c.quantity, from))
                    .arg(qRound64(v))
                    .arg(unitLabel(c.quantity, units), range);
            };
            if (o.replace) {
                fail(line, k, {},
                     outside(QStringLiteral("-%1 to %1").arg(entry::NumberLimit)));
                return;
            }
            if (c.index == field::Visibility && o.value != 0 &&
                entry::syncVisibility(QString::number(o.value)).clearBox) {
                fail(line, k, {}, outside(QStringLiteral("0 to %1").arg(entry::MaxVisibility)));
                return;
            }
            d.DiveData[static_cast<size_t>(c.index)] = o.value;
            return;
        }
        case CsvKind::List:
            if (!cell.isEmpty() && text16(line, k, cell))
                d.ListData[static_cast<size_t>(c.index)] = listIndex(c.index, cell);
            return;
        case CsvKind::Condition:
            if (cell == QLatin1String("1"))
                d.CondData[static_cast<size_t>(c.index)] = 1;
            else if (!cell.isEmpty() && cell != QLatin1String("0"))
                fail(line, k, {}, QStringLiteral("\"%1\" is not 0 or 1").arg(cell));
            return;
        case CsvKind::Rating:
            for (int r = 0; r <= 2; ++r)
                if (cell.compare(ratingWord(r), Qt::CaseInsensitive) == 0) {
                    d.Rating = static_cast<int16_t>(r);
                    return;
                }
            if (!cell.isEmpty())
                fail(line, k, {}, QStringLiteral("\"%1\" is not poor, average or good").arg(cell));
            return;
        case CsvKind::Comments:
            if (text16(line, k, cell)) d.Comments = cell;
            return;
        }
    }

    // The position of a name in its list, as a name typed into the entry box would find it;
    // a name not there yet becomes a new last entry.
    int16_t listIndex(int which, const QString& name) {
        RefList& list = state.list(which);
        // The names are gathered once per list, not once per row.
        QStringList& names = listNames[static_cast<size_t>(which)];
        if (names.isEmpty())
            for (const ListEntry& e : list)
                names << e.Name;
        const int p = entry::listPositionFor(-1, names, name);
        if (p >= 0) return static_cast<int16_t>(p);
        list.push_back({name, {}, {}});
        names << name;
        report.newNames[static_cast<size_t>(which)] << name;
        return static_cast<int16_t>(list.size() - 1);
    }

    AppState& state;
    Units units;
    ImportReport& report;
    std::vector<Mapped> columns;
    std::array<QStringList, 4> listNames;
};

} // namespace

ImportReport importCsv(AppState& state, const QByteArray& bytes, Units units) {
    ImportReport report;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError()) {
        report.errors << QStringLiteral("the file is not UTF-8 text");
        return report;
    }
    const CsvTable table = parseCsv(text);
    if (!table.error.isEmpty()) {
        report.errors << table.error;
        return report;
    }
    if (table.rows.empty()) {
        report.errors << QStringLiteral("the file is empty");
        return report;
    }

    // The lists grow as rows name new entries; they are put back if any row is refused.
    AppState work = state;
    RowReader reader(work, units, report);
    if (!reader.header(table.rows.front())) return report;
    std::vector<DiveRecord> dives;
    long long rows = 0;
    for (size_t r = 1; r < table.rows.size(); ++r) {
        // Spreadsheets end a sheet with rows of empty cells; they hold no dive.
        const QStringList& cells = table.rows[r].cells;
        if (std::all_of(cells.begin(), cells.end(),
                        [](const QString& c) { return c.trimmed().isEmpty(); }))
            continue;
        ++rows;
        if (std::optional<DiveRecord> d = reader.dive(table.rows[r])) dives.push_back(*d);
    }
    if (rows == 0) report.errors << QStringLiteral("the file holds no dives");

    // A log that was just started holds one blank dive; the imported dives take its place.
    const bool blank = work.DiveCount() == 1 && work.Dives[1] == DiveRecord{};
    const int keep = blank ? 0 : work.DiveCount();
    if (keep + rows > MaxDives)
        report.errors << QStringLiteral("the log would hold more than %1 dives").arg(MaxDives);
    for (int w = 0; w < 4; ++w)
        if (work.list(w).size() > static_cast<size_t>(MaxDives) + 1)
            report.errors
                << QStringLiteral("a list would hold more than %1 entries").arg(MaxDives + 1);
    if (!report.errors.isEmpty()) {
        report.newNames = {};
        return report;
    }

    work.Dives.resize(static_cast<size_t>(keep) + 1);
    work.Dives.insert(work.Dives.end(), dives.begin(), dives.end());
    work.CurrentDive = work.DiveCount();
    report.added = static_cast<int>(dives.size());
    report.firstIndex = keep + 1;
    report.replacedBlank = blank;
    state = std::move(work);
    return report;
}

} // namespace interchange
