#include "UddfImport.h"

#include "LogAppender.h"
#include "ProfileSimplify.h"
#include "SampleScan.h"
#include "output/DiveValues.h"
#include "store/EntryRules.h"
#include "store/LogOps.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>
#include <optional>

namespace interchange {

namespace {

enum class Kind { Site, Buddy, Gear };
struct Entity {
    Kind kind;
    QString name;
};

// One <dive> as the file gives it, in SI units, before it meets the log.
struct RawDive {
    qint64 line = 0;
    QString when;
    std::optional<double> air, lowest, depth, duration, visibility, lead;
    std::optional<double> pressureBegin, pressureEnd, volume;
    std::optional<double> rating;
    QStringList refs, paras;
    QStringList extras; // facts without a field, after the diver's own notes
    std::vector<Sample> samples;
    double sampleLowest = 0;
    bool sampleTemperature = false;
};

bool is(QStringView name, const char* word) {
    return name == QLatin1String(word);
}

std::optional<double> numberIn(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : scan(scanSamples(bytes)), x(scan.reduced) {}

    QHash<QString, Entity> entities;
    std::vector<RawDive> dives;
    QStringList warnings;

    QString read() {
        int equipment = 0; // how deep inside <equipment> sections
        while (!x.atEnd()) {
            x.readNext();
            if (x.isEndElement() && is(x.name(), "equipment")) --equipment;
            if (!x.isStartElement()) continue;
            const QStringView name = x.name();
            const QString id = x.attributes().value(QLatin1String("id")).toString();
            if (is(name, "dive")) {
                readDive();
            } else if (is(name, "equipment")) {
                ++equipment;
            } else if (is(name, "site") && !id.isEmpty()) {
                entities.insert(id, {Kind::Site, entityName()});
            } else if (is(name, "buddy") && !id.isEmpty()) {
                entities.insert(id, {Kind::Buddy, entityName()});
            } else if (equipment > 0 && !id.isEmpty()) {
                entities.insert(id, {Kind::Gear, entityName()});
            }
        }
        if (x.hasError())
            return QStringLiteral("line %1: %2").arg(x.lineNumber()).arg(x.errorString());
        return {};
    }

  private:
    // The name of a site, buddy or piece of gear: its own <name>, or the first, middle and
    // last names of its <personal> part. Reads to the end of the element.
    QString entityName() {
        QString own, first, middle, last, model;
        int depth = 1;
        while (depth > 0 && !x.atEnd()) {
            x.readNext();
            if (x.isEndElement()) {
                --depth;
            } else if (x.isStartElement()) {
                const QStringView n = x.name();
                if (depth == 1 && is(n, "name"))
                    own = x.readElementText(QXmlStreamReader::IncludeChildElements);
                else if (depth == 1 && is(n, "model"))
                    model = x.readElementText(QXmlStreamReader::IncludeChildElements);
                else if (is(n, "firstname"))
                    first = x.readElementText(QXmlStreamReader::IncludeChildElements);
                else if (is(n, "middlename"))
                    middle = x.readElementText(QXmlStreamReader::IncludeChildElements);
                else if (is(n, "lastname"))
                    last = x.readElementText(QXmlStreamReader::IncludeChildElements);
                else
                    ++depth;
            }
        }
        if (!own.trimmed().isEmpty()) return own.trimmed();
        QStringList parts;
        for (const QString& p : {first, middle, last})
            if (!p.trimmed().isEmpty()) parts << p.trimmed();
        return parts.isEmpty() ? model.trimmed() : parts.join(QLatin1Char(' '));
    }

    QString text() { return x.readElementText(QXmlStreamReader::IncludeChildElements); }

    std::optional<double> number(RawDive& d, const char* what) {
        const QString t = text();
        std::optional<double> v = numberIn(t);
        if (!v && !t.trimmed().isEmpty())
            warnings << QStringLiteral("line %1: <%2> \"%3\" is not a number; kept in the "
                                       "comments")
                            .arg(x.lineNumber())
                            .arg(QLatin1String(what), t.trimmed());
        if (!v && !t.trimmed().isEmpty())
            d.extras << QStringLiteral("%1: %2").arg(QLatin1String(what), t.trimmed());
        return v;
    }

    void readWaypoint(RawDive& d) {
        Sample s;
        bool time = false;
        while (x.readNextStartElement()) {
            const QStringView n = x.name();
            if (is(n, "depth")) {
                s.depth = numberIn(text()).value_or(0);
            } else if (is(n, "divetime")) {
                const std::optional<double> t = numberIn(text());
                time = t.has_value();
                s.seconds = t.value_or(0);
            } else if (is(n, "temperature")) {
                if (const std::optional<double> t = numberIn(text()); t && *t > 0) {
                    d.sampleLowest = d.sampleTemperature ? std::min(d.sampleLowest, *t) : *t;
                    d.sampleTemperature = true;
                }
            } else {
                x.skipCurrentElement();
            }
        }
        // A sample without a time cannot be placed; one earlier than the last is out of order.
        if (time && (d.samples.empty() || s.seconds >= d.samples.back().seconds))
            d.samples.push_back(s);
    }

    void readDive() {
        RawDive d;
        d.line = x.lineNumber();
        int tanks = 0;
        QString section; // the child of <dive> being read
        int depth = 1;
        while (depth > 0 && !x.atEnd()) {
            x.readNext();
            if (x.isEndElement()) {
                if (--depth == 1) section.clear();
                continue;
            }
            // A block of samples read ahead from the bytes.
            if (x.isProcessingInstruction() &&
                x.processingInstructionTarget() == QLatin1String(SampleBlockTarget)) {
                const size_t k = x.processingInstructionData().toULongLong();
                if (k < scan.blocks.size()) {
                    ScannedSamples& b = scan.blocks[k];
                    d.samples.insert(d.samples.end(), b.samples.begin(), b.samples.end());
                    if (b.temperature) {
                        d.sampleLowest = d.sampleTemperature
                                             ? std::min(d.sampleLowest, b.lowestKelvin)
                                             : b.lowestKelvin;
                        d.sampleTemperature = true;
                    }
                    b = {};
                }
                continue;
            }
            if (!x.isStartElement()) continue;
            const QStringView n = x.name();
            if (depth == 1) section = n.toString();
            if (is(n, "link")) {
                // A tank's link names its gas, not a piece of the diver's gear.
                const QString ref = section == QLatin1String("tankdata")
                                        ? QString()
                                        : x.attributes().value(QLatin1String("ref")).toString();
                if (!ref.isEmpty()) d.refs << ref;
                x.skipCurrentElement();
            } else if (is(n, "waypoint") && section == QLatin1String("samples")) {
                readWaypoint(d);
            } else if (is(n, "datetime") && section == QLatin1String("informationbeforedive")) {
                d.when = text().trimmed();
            } else if (is(n, "airtemperature")) {
                d.air = number(d, "airtemperature");
            } else if (is(n, "lowesttemperature")) {
                d.lowest = number(d, "lowesttemperature");
            } else if (is(n, "greatestdepth")) {
                d.depth = number(d, "greatestdepth");
            } else if (is(n, "diveduration")) {
                d.duration = number(d, "diveduration");
            } else if (is(n, "leadquantity")) {
                d.lead = number(d, "leadquantity");
            } else if (is(n, "ratingvalue")) {
                d.rating = number(d, "ratingvalue");
            } else if (is(n, "visibility")) {
                // Some programs write words ("good", "10-15 m"); those go to the comments.
                const QString t = text().trimmed();
                d.visibility = numberIn(t);
                if (!d.visibility && !t.isEmpty()) d.extras << QStringLiteral("Visibility: ") + t;
            } else if (is(n, "averagedepth")) {
                if (const std::optional<double> v = number(d, "averagedepth"))
                    d.extras << QStringLiteral("Average depth: %1 m").arg(*v);
            } else if (is(n, "para")) {
                const QString t = text();
                if (!t.trimmed().isEmpty()) d.paras << t;
            } else if (is(n, "tankdata")) {
                ++tanks;
                ++depth;
            } else if (tanks == 1 && is(n, "tankpressurebegin")) {
                d.pressureBegin = number(d, "tankpressurebegin");
            } else if (tanks == 1 && is(n, "tankpressureend")) {
                d.pressureEnd = number(d, "tankpressureend");
            } else if (tanks == 1 && is(n, "tankvolume")) {
                d.volume = number(d, "tankvolume");
            } else if (tanks > 1 && (is(n, "tankpressurebegin") || is(n, "tankpressureend") ||
                                     is(n, "tankvolume"))) {
                const QString what = n.toString();
                if (const std::optional<double> v = number(d, "tank"))
                    d.extras << QStringLiteral("Tank %1 %2: %3")
                                    .arg(tanks)
                                    .arg(what.mid(what.startsWith(QLatin1String("tankpressure"))
                                                      ? 12
                                                      : 4),
                                         QString::number(*v));
            } else {
                ++depth;
            }
        }
        dives.push_back(std::move(d));
    }

    SampleScan scan;
    QXmlStreamReader x;
};

// Date and time as written; an offset or Z is read and not applied (the log keeps local
// time), seconds are dropped.
bool readWhen(const QString& text, store::DiveRecord& d) {
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ](\\d{1,2}):(\\d{1,2})(?::\\d{1,2}(?:[.,]\\d*)?)?)?"
        "\\s*(?:Z|[+-]\\d{1,2}(?::?\\d{2})?)?$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) return false;
    const int y = m.captured(1).toInt(), mo = m.captured(2).toInt(), da = m.captured(3).toInt();
    if (!QDate(y, mo, da).isValid() || y < 1900 || y > 2100) return false;
    const int h = m.captured(4).toInt(), mi = m.captured(5).toInt();
    if (h > 24 || mi > 59) return false;
    d.TimeData[store::field::Month] = static_cast<int16_t>(mo);
    d.TimeData[store::field::Day] = static_cast<int16_t>(da);
    d.TimeData[store::field::Year] = static_cast<int16_t>(y);
    d.TimeData[store::field::EntryHour] = static_cast<int16_t>(h);
    d.TimeData[store::field::EntryMinute] = static_cast<int16_t>(mi);
    return true;
}

// Our own exports carry what UDDF has no element for as notes of these forms; they go back
// into their fields, and every other note into the comments.
bool readOwnNote(const QString& para, store::DiveRecord& d, LogAppender& log, Units units,
                 const QString& where) {
    auto after = [&para](const char* prefix) {
        return para.startsWith(QLatin1String(prefix)) ? para.mid(qstrlen(prefix)) : QString();
    };
    if (const QString type = after("Dive type: "); !type.isEmpty()) {
        d.ListData[store::field::Type] = log.listIndex(store::field::Type, type);
        return true;
    }
    if (const QString names = after("Conditions: "); !names.isEmpty()) {
        std::array<int16_t, 8> flags{};
        for (const QString& n : names.split(QStringLiteral(", "))) {
            bool found = false;
            for (const output::Condition& c : output::ConditionOrder)
                if (n == QLatin1String(c.name)) flags[static_cast<size_t>(c.flag)] = found = true;
            if (!found) return false;
        }
        d.CondData = flags;
        return true;
    }
    static const QRegularExpression temp(QStringLiteral("^Surface temperature: (-?\\d+) (\\S+)$"));
    if (const QRegularExpressionMatch m = temp.match(para); m.hasMatch()) {
        const std::optional<Units> u = unitsOfLabel(Quantity::Temperature, m.captured(2));
        if (!u) return false;
        d.DiveData[store::field::SurfaceTemp] =
            log.boxValue(convertUnits(Quantity::Temperature, *u, units, m.captured(1).toDouble()),
                         store::field::SurfaceTemp, where);
        return true;
    }
    // What our export had to put in for a date or time the log did not hold goes back as it was.
    static const QRegularExpression date(
        QStringLiteral("^the date (-?\\d+)/(-?\\d+)/(-?\\d+) (?:has no|is not)"));
    static const QRegularExpression entry(
        QStringLiteral("^the entry time (-?\\d+):(-?\\d+) is not a time of day"));
    bool allPutIn = true;
    store::DiveRecord was = d;
    for (const QString& piece : para.split(QStringLiteral("; "))) {
        if (piece.startsWith(QLatin1String("written as "))) {
            continue;
        } else if (piece == QLatin1String("no date was entered")) {
            was.TimeData[store::field::Month] = was.TimeData[store::field::Day] =
                was.TimeData[store::field::Year] = 0;
        } else if (const QRegularExpressionMatch m = date.match(piece); m.hasMatch()) {
            for (int f : {store::field::Month, store::field::Day, store::field::Year})
                was.TimeData[static_cast<size_t>(f)] =
                    static_cast<int16_t>(m.captured(f == store::field::Month ? 1
                                                    : f == store::field::Day ? 2
                                                                             : 3)
                                             .toInt());
        } else if (const QRegularExpressionMatch e = entry.match(piece); e.hasMatch()) {
            was.TimeData[store::field::EntryHour] = static_cast<int16_t>(e.captured(1).toInt());
            was.TimeData[store::field::EntryMinute] = static_cast<int16_t>(e.captured(2).toInt());
        } else {
            allPutIn = false;
        }
    }
    if (allPutIn) {
        d.TimeData = was.TimeData;
        return true;
    }
    static const QRegularExpression exit(QStringLiteral("^Exit time: (\\d{1,2}):(\\d{2})$"));
    if (const QRegularExpressionMatch m = exit.match(para); m.hasMatch()) {
        d.TimeData[store::field::ExitHour] =
            static_cast<int16_t>(std::min(m.captured(1).toInt(), 24));
        d.TimeData[store::field::ExitMinute] =
            static_cast<int16_t>(std::min(m.captured(2).toInt(), 60));
        return true;
    }
    return false;
}

QString describe(const store::DiveRecord& d) {
    const auto& t = d.TimeData;
    if (t[store::field::Year] == 0) return QStringLiteral("no date");
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(t[store::field::Year])
        .arg(t[store::field::Month], 2, 10, QLatin1Char('0'))
        .arg(t[store::field::Day], 2, 10, QLatin1Char('0'))
        .arg(t[store::field::EntryHour], 2, 10, QLatin1Char('0'))
        .arg(t[store::field::EntryMinute], 2, 10, QLatin1Char('0'));
}

} // namespace

ImportReport importUddf(store::AppState& state, const QByteArray& bytes, Units units) {
    ImportReport report;
    Reader reader(bytes);
    if (const QString error = reader.read(); !error.isEmpty()) {
        report.errors << QStringLiteral("not readable as XML: ") + error;
        return report;
    }
    report.warnings = reader.warnings;
    if (reader.dives.empty()) {
        report.errors << QStringLiteral("the file holds no <dive>");
        return report;
    }
    if (reader.dives.size() > static_cast<size_t>(store::MaxDives)) {
        report.errors
            << QStringLiteral("the log would hold more than %1 dives").arg(store::MaxDives);
        return report;
    }

    LogAppender log(state, report);
    for (const RawDive& raw : reader.dives) {
        const QString where = QStringLiteral("dive at line %1").arg(raw.line);
        store::DiveRecord d;
        d.Rating = 1; // a dive the file does not rate is an average one
        const bool dated = readWhen(raw.when, d);
        if (!dated)
            report.warnings << QStringLiteral("%1: the date \"%2\" is not a date and time such as "
                                              "2004-03-28T09:05; the dive has no date")
                                   .arg(where, raw.when);
        if (const int same = log.sameDiveAs(d)) {
            report.skipped << QStringLiteral("%1 (line %2): already in the log as dive %3")
                                  .arg(describe(d))
                                  .arg(raw.line)
                                  .arg(same);
            continue;
        }

        auto value = [&](Quantity q, double si, int dataField) {
            return log.boxValue(fromSi(q, units, si), dataField, where);
        };
        double seconds =
            raw.duration.value_or(raw.samples.empty() ? 0 : raw.samples.back().seconds);
        d.DiveData[store::field::BottomTime] =
            value(Quantity::Minutes, std::max(seconds, 0.0), store::field::BottomTime);
        double deepest = 0;
        for (const Sample& s : raw.samples)
            deepest = std::max(deepest, s.depth);
        d.DiveData[store::field::MaxDepth] =
            value(Quantity::Depth, raw.depth.value_or(deepest), store::field::MaxDepth);
        if (raw.air)
            d.DiveData[store::field::AirTemp] =
                value(Quantity::Temperature, *raw.air, store::field::AirTemp);
        if (raw.lowest || raw.sampleTemperature)
            d.DiveData[store::field::BottomTemp] =
                value(Quantity::Temperature, raw.lowest.value_or(raw.sampleLowest),
                      store::field::BottomTemp);
        if (raw.visibility)
            d.DiveData[store::field::Visibility] =
                value(Quantity::Depth, *raw.visibility, store::field::Visibility);
        if (raw.lead)
            d.DiveData[store::field::Weight] =
                value(Quantity::Weight, *raw.lead, store::field::Weight);
        // Many computers write 0 for a pressure they did not measure; 0 is "not entered" here too.
        if (raw.pressureBegin)
            d.DiveData[store::field::PsiIn] =
                value(Quantity::Pressure, *raw.pressureBegin, store::field::PsiIn);
        if (raw.pressureEnd)
            d.DiveData[store::field::PsiOut] =
                value(Quantity::Pressure, *raw.pressureEnd, store::field::PsiOut);
        QStringList comments, extras = raw.extras;
        if (raw.volume && *raw.volume > 0) {
            const std::optional<double> size =
                tankSizeFromSi(units, *raw.volume, d.DiveData[store::field::PsiIn]);
            if (size)
                d.DiveData[store::field::TankSize] =
                    log.boxValue(*size, store::field::TankSize, where);
            else
                extras << QStringLiteral("Tank volume: %1 l").arg(*raw.volume * 1000.0);
        }
        if (raw.rating)
            d.Rating = static_cast<int16_t>(*raw.rating <= 3 ? 0 : *raw.rating <= 7 ? 1 : 2);
        // With a time of entry the exit follows from the length of the dive.
        if (dated && !raw.when.contains(QLatin1Char('T')) && !raw.when.contains(QLatin1Char(' ')))
            d.TimeData[store::field::EntryHour] = d.TimeData[store::field::EntryMinute] = 0;
        else if (dated) {
            const int end =
                (d.TimeData[store::field::EntryHour] * 60 + d.TimeData[store::field::EntryMinute] +
                 d.DiveData[store::field::BottomTime]) %
                (24 * 60);
            d.TimeData[store::field::ExitHour] = static_cast<int16_t>(end / 60);
            d.TimeData[store::field::ExitMinute] = static_cast<int16_t>(end % 60);
        }
        for (const QString& p : raw.paras)
            if (!readOwnNote(p, d, log, units, where)) comments << p;
        // XML reads every line break as LF; the log keeps CR LF, as the comment box stores it.
        d.Comments = store::entry::commentFromBox((comments + extras).join(QLatin1Char('\n')));

        QStringList buddies, gear;
        for (const QString& ref : raw.refs) {
            const auto it = reader.entities.constFind(ref);
            if (it == reader.entities.constEnd() || it->name.isEmpty()) continue;
            if (it->kind == Kind::Site)
                d.ListData[store::field::Location] =
                    log.listIndex(store::field::Location, it->name);
            else if (it->kind == Kind::Buddy)
                buddies << it->name;
            else
                gear << it->name;
        }
        // The log keeps one buddy and one gear entry per dive; several become one name.
        if (!buddies.isEmpty())
            d.ListData[store::field::Buddy] =
                log.listIndex(store::field::Buddy, buddies.join(QStringLiteral(", ")));
        if (!gear.isEmpty())
            d.ListData[store::field::Gear] =
                log.listIndex(store::field::Gear, gear.join(QStringLiteral(", ")));

        if (d.DiveData[store::field::BottomTime] > 0 && d.DiveData[store::field::MaxDepth] > 0 &&
            raw.samples.size() > 1) {
            const store::ProfileRecord p =
                profileFromSamples(raw.samples, units, d.DiveData[store::field::BottomTime],
                                   d.DiveData[store::field::MaxDepth]);
            if (p.Times[1] > 0) {
                d.ProfileNum = log.addProfile(p);
                if (d.ProfileNum == 0)
                    report.warnings << where + QStringLiteral(": the profile file is full; the "
                                                              "dive has no profile");
            }
        }
        report.details << QStringLiteral("dive %1: %2, %3 %4, %5 min%6")
                              .arg(log.nextNumber())
                              .arg(describe(d))
                              .arg(d.DiveData[store::field::MaxDepth])
                              .arg(unitLabel(Quantity::Depth, units))
                              .arg(d.DiveData[store::field::BottomTime])
                              .arg(d.ListData[store::field::Location] > 0
                                       ? QStringLiteral(", ") +
                                             log.log()
                                                 .LocationList[static_cast<size_t>(
                                                     d.ListData[store::field::Location])]
                                                 .Name
                                       : QString());
        log.add(d);
    }
    log.finish(state);
    return report;
}

} // namespace interchange
