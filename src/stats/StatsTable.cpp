#include "StatsTable.h"

#include "store/Totals.h"

#include <algorithm>
#include <cstdlib>

namespace stats {

namespace {

interchange::Quantity measureOf(Quantity q) {
    using Measure = interchange::Quantity;
    switch (q) {
    case BottomTime:
        return Measure::Minutes;
    case Depth:
    case Visibility:
        return Measure::Depth;
    case PressureUsed:
        return Measure::Pressure;
    default:
        return Measure::Temperature;
    }
}

// Short enough that the table of 24 columns still fits a wide terminal.
const char* const QuantityNames[QuantityCount] = {"Time",   "Depth", "Air", "Surface",
                                                  "Bottom", "Vis",   "Used"};

const QString NotEntered = QStringLiteral("-");

// A list name can hold any byte a file held, control characters included; in a table they
// would break the line or the cell, on a terminal they could do worse. They show as blanks.
QString printable(QString cell) {
    for (QChar& ch : cell)
        if (ch.unicode() < 0x20 || (ch.unicode() >= 0x7F && ch.unicode() < 0xA0))
            ch = QLatin1Char(' ');
    return cell;
}

} // namespace

interchange::Units unitsShown() {
    return interchange::Units::Imperial;
}

QString unitOf(Quantity q) {
    return interchange::unitLabel(measureOf(q), unitsShown());
}

QString monthName(int month) {
    static const char* const names[12] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    return month >= 1 && month <= 12 ? QLatin1String(names[month - 1]) : QString();
}

QString keyText(GroupBy by, const Group& g) {
    if (!g.hasKey)
        return by == GroupBy::Year || by == GroupBy::Month || by == GroupBy::MonthOfYear
                   ? QStringLiteral("Undated")
                   : QStringLiteral("Not in the list");
    switch (by) {
    case GroupBy::Year:
        return QString::number(g.key);
    case GroupBy::Month:
        return QStringLiteral("%1-%2")
            .arg(g.key / 100, 4, 10, QLatin1Char('0'))
            .arg(g.key % 100, 2, 10, QLatin1Char('0'));
    case GroupBy::MonthOfYear:
        return monthName(g.key);
    default:
        return g.name;
    }
}

QString averageText(const Tally& t) {
    if (t.count == 0) return NotEntered;
    // In tenths, rounded half away from zero, without going through floating point.
    const int64_t scaled = t.total * 10;
    const int64_t half = t.count / 2;
    int64_t tenths = (std::llabs(scaled) + half) / t.count;
    if (scaled < 0) tenths = -tenths;
    const QString sign = tenths < 0 ? QStringLiteral("-") : QString();
    const int64_t magnitude = std::llabs(tenths);
    return sign + QString::number(magnitude / 10) + QLatin1Char('.') +
           QString::number(magnitude % 10);
}

TextTable textTable(const Summary& s) {
    TextTable t;
    t.header << groupingCaption(s.by) << QStringLiteral("Dives") << QStringLiteral("Total Time");
    t.bands << QString() << QString() << QStringLiteral("Total");
    t.subheads << groupingCaption(s.by) << QStringLiteral("Dives") << QStringLiteral("h:mm");
    for (int q = 0; q < QuantityCount; ++q) {
        const QString name = QLatin1String(QuantityNames[q]);
        const QString unit = unitOf(static_cast<Quantity>(q));
        t.header << QStringLiteral("Avg %1 (%2)").arg(name, unit)
                 << QStringLiteral("Min %1").arg(name) << QStringLiteral("Max %1").arg(name);
        t.bands << QStringLiteral("%1 (%2)").arg(name, unit) << QString() << QString();
        t.subheads << QStringLiteral("avg") << QStringLiteral("min") << QStringLiteral("max");
    }
    const auto row = [&](const QString& key, const Group& g) {
        QStringList cells;
        cells.reserve(t.header.size());
        const Tally& time = g.tallies[BottomTime];
        cells << key << QString::number(g.dives)
              << (time.count ? store::timeToDateText(time.total) : NotEntered);
        for (const Tally& tally : g.tallies) {
            cells << averageText(tally);
            cells << (tally.count ? QString::number(tally.min) : NotEntered);
            cells << (tally.count ? QString::number(tally.max) : NotEntered);
        }
        t.rows.push_back(std::move(cells));
    };
    for (const Group& g : s.groups)
        row(keyText(s.by, g), g);
    row(QStringLiteral("All"), s.all);
    return t;
}

QString alignedText(const TextTable& t) {
    const qsizetype columns = t.subheads.size();
    std::vector<qsizetype> width(static_cast<size_t>(columns));
    const auto measure = [&](const QStringList& cells) {
        for (qsizetype c = 0; c < cells.size() && c < columns; ++c)
            width[static_cast<size_t>(c)] =
                std::max(width[static_cast<size_t>(c)], cells[c].size());
    };
    measure(t.subheads);
    for (const QStringList& r : t.rows)
        measure(r);
    // A band spans its column and the empty-banded ones after it; a band wider than them
    // widens its first column.
    const auto spanEnd = [&](qsizetype c) {
        qsizetype end = c + 1;
        while (end < columns && end < t.bands.size() && t.bands[end].isEmpty())
            ++end;
        return end;
    };
    for (qsizetype c = 0; c < columns && c < t.bands.size(); ++c) {
        if (t.bands[c].isEmpty()) continue;
        qsizetype room = -2;
        for (qsizetype k = c; k < spanEnd(c); ++k)
            room += width[static_cast<size_t>(k)] + 2;
        if (t.bands[c].size() > room) width[static_cast<size_t>(c)] += t.bands[c].size() - room;
    }
    QString text;
    const auto finish = [&](QString l) {
        // No blanks at the end of a line: they only get in the way of a diff.
        while (l.endsWith(QLatin1Char(' ')))
            l.chop(1);
        text += l + QLatin1Char('\n');
    };
    QString bandLine;
    for (qsizetype c = 0; c < columns; ++c) {
        const QString band = c < t.bands.size() ? t.bands[c] : QString();
        if (c < t.bands.size() && !band.isEmpty()) {
            qsizetype room = -2;
            for (qsizetype k = c; k < spanEnd(c); ++k)
                room += width[static_cast<size_t>(k)] + 2;
            bandLine += QStringLiteral("  ") + band.rightJustified(static_cast<int>(room));
            c = spanEnd(c) - 1;
        } else {
            bandLine += (c == 0 ? QString() : QStringLiteral("  ")) +
                        QString(width[static_cast<size_t>(c)], QLatin1Char(' '));
        }
    }
    finish(bandLine);
    const auto line = [&](const QStringList& cells) {
        QString l;
        for (qsizetype c = 0; c < cells.size() && c < columns; ++c) {
            const int w = static_cast<int>(width[static_cast<size_t>(c)]);
            const QString cell = printable(cells[c]);
            l += c == 0 ? cell.leftJustified(w) : QStringLiteral("  ") + cell.rightJustified(w);
        }
        finish(l);
    };
    line(t.subheads);
    for (const QStringList& r : t.rows)
        line(r);
    return text;
}

QString tabSeparated(const TextTable& t) {
    QString text;
    const auto line = [&](const QStringList& cells) {
        QStringList cleaned;
        for (const QString& c : cells)
            cleaned << printable(c);
        text += cleaned.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    line(t.header);
    for (const QStringList& r : t.rows)
        line(r);
    return text;
}

} // namespace stats
