#include "Uddf.h"

#include "output/DiveValues.h"
#include "profile/ProfileEditor.h"

#include <QXmlStreamWriter>

#include <algorithm>
#include <map>
#include <optional>

namespace interchange {

namespace {

constexpr char Namespace[] = "http://www.streit.cc/uddf/3.2/";

// XML 1.0 cannot carry most control characters, even escaped; the log's texts can hold any
// byte. Such a character becomes U+FFFD so the diver sees that something stood there.
QString xmlText(const QString& s) {
    QString out = s;
    for (qsizetype k = 0; k < out.size(); ++k) {
        const char16_t c = out[k].unicode();
        const bool control = c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D;
        const bool surrogate = QChar::isSurrogate(c);
        if (surrogate && QChar::isHighSurrogate(c) && k + 1 < out.size() &&
            out[k + 1].isLowSurrogate()) {
            ++k; // a proper pair
            continue;
        }
        if (control || surrogate || c == 0xFFFE || c == 0xFFFF) out[k] = QChar(0xFFFD);
    }
    return out;
}

QString number(double v) {
    // Enough digits for a pascal or a kelvin without float noise such as 0.30479999999.
    QString s = QString::number(v, 'f', 4);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

const store::ListEntry* entryAt(const store::AppState& state, int which, int index) {
    const store::RefList& list = state.list(which);
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return nullptr;
    return &list[static_cast<size_t>(index)];
}

// A list entry worth naming in the file: an empty name says nothing, and the default buddy
// "None" means that the diver dived alone.
bool named(const store::ListEntry* e, int which) {
    if (!e || e->Name.trimmed().isEmpty()) return false;
    return !(which == store::field::Buddy &&
             e->Name.trimmed().compare(QLatin1String("None"), Qt::CaseInsensitive) == 0);
}

QString idFor(int which, int index) {
    static const char* const prefix[4] = {"site", "type", "buddy", "gear"};
    return QStringLiteral("%1_%2").arg(QLatin1String(prefix[which])).arg(index);
}

class Writer {
  public:
    Writer(const store::AppState& state, Units unitSystem, QByteArray* out)
        : s(state), units(unitSystem), x(out) {
        x.setAutoFormatting(true);
        x.setAutoFormattingIndent(1);
    }

    void text(const char* name, const QString& value) {
        x.writeTextElement(QLatin1String(name), xmlText(value));
    }
    void si(const char* name, Quantity q, int16_t v) { text(name, number(toSi(q, units, v))); }

    void personal(const QString& name) {
        // UDDF requires both names. The last blank separates the last name, so "Mary Ann
        // Smith" keeps "Mary Ann"; a name of one word is a first name ("Cher").
        const QString n = name.trimmed();
        const qsizetype blank = n.lastIndexOf(QLatin1Char(' '));
        x.writeStartElement(QStringLiteral("personal"));
        text("firstname", blank > 0 ? n.left(blank).trimmed() : n);
        text("lastname", blank > 0 ? n.mid(blank + 1) : QString());
        x.writeEndElement();
    }

    void notes(const QStringList& paras) {
        if (paras.isEmpty()) return;
        x.writeStartElement(QStringLiteral("notes"));
        for (const QString& p : paras)
            text("para", p);
        x.writeEndElement();
    }

    QStringList specialForms;

    void document(const std::vector<int>& dives, const QDateTime& written) {
        // Which list entries the chosen dives use, in list order.
        std::array<std::map<int, const store::ListEntry*>, 4> used;
        for (int i : dives)
            for (int w : {store::field::Location, store::field::Buddy, store::field::Gear}) {
                const int idx = s.Dives[static_cast<size_t>(i)].ListData[static_cast<size_t>(w)];
                if (const store::ListEntry* e = entryAt(s, w, idx); named(e, w)) used[w][idx] = e;
            }

        x.writeStartDocument();
        x.writeStartElement(QStringLiteral("uddf"));
        x.writeDefaultNamespace(QLatin1String(Namespace));
        x.writeAttribute(QStringLiteral("version"), QStringLiteral("3.2.0"));

        x.writeStartElement(QStringLiteral("generator"));
        x.writeComment(
            QStringLiteral(" The log's numbers were read as %1 units (%2, %3, %4, %5, %6) ")
                .arg(unitsName(units), unitLabel(Quantity::Depth, units),
                     unitLabel(Quantity::Temperature, units), unitLabel(Quantity::Pressure, units),
                     unitLabel(Quantity::TankSize, units), unitLabel(Quantity::Weight, units)));
        text("name", QStringLiteral("Reefbook"));
        text("version", QStringLiteral(REEFBOOK_VERSION_STRING));
        if (written.isValid()) text("datetime", written.toString(Qt::ISODate));
        x.writeEndElement();

        x.writeStartElement(QStringLiteral("diver"));
        x.writeStartElement(QStringLiteral("owner"));
        x.writeAttribute(QStringLiteral("id"), QStringLiteral("owner"));
        personal(s.DiverName);
        if (!used[store::field::Gear].empty()) {
            x.writeStartElement(QStringLiteral("equipment"));
            for (const auto& [idx, e] : used[store::field::Gear]) {
                x.writeStartElement(QStringLiteral("variouspieces"));
                x.writeAttribute(QStringLiteral("id"), idFor(store::field::Gear, idx));
                text("name", e->Name);
                x.writeEndElement();
            }
            x.writeEndElement();
        }
        x.writeEndElement(); // owner
        for (const auto& [idx, e] : used[store::field::Buddy]) {
            x.writeStartElement(QStringLiteral("buddy"));
            x.writeAttribute(QStringLiteral("id"), idFor(store::field::Buddy, idx));
            personal(e->Name);
            notes(e->Info.isEmpty() ? QStringList{} : QStringList{e->Info});
            x.writeEndElement();
        }
        x.writeEndElement(); // diver

        if (!used[store::field::Location].empty()) {
            x.writeStartElement(QStringLiteral("divesite"));
            for (const auto& [idx, e] : used[store::field::Location]) {
                x.writeStartElement(QStringLiteral("site"));
                x.writeAttribute(QStringLiteral("id"), idFor(store::field::Location, idx));
                text("name", e->Name);
                notes(e->Info.isEmpty() ? QStringList{} : QStringList{e->Info});
                x.writeEndElement();
            }
            x.writeEndElement();
        }

        // A profile section must hold at least one group.
        if (!dives.empty()) x.writeStartElement(QStringLiteral("profiledata"));
        int group = 0;
        for (const std::vector<int>& day : daysOf(dives)) {
            x.writeStartElement(QStringLiteral("repetitiongroup"));
            x.writeAttribute(QStringLiteral("id"), QStringLiteral("group_%1").arg(++group));
            for (size_t k = 0; k < day.size(); ++k)
                dive(day[k], k == 0 ? 0 : day[k - 1], used);
            x.writeEndElement();
        }
        if (!dives.empty()) x.writeEndElement(); // profiledata
        x.writeEndElement();                     // uddf
        x.writeEndDocument();
    }

  private:
    // Dives of one day form a repetition group, in the order of their entry times; a dive
    // without a real date is a group of its own.
    std::vector<std::vector<int>> daysOf(const std::vector<int>& dives) const {
        std::vector<std::vector<int>> days;
        std::map<QString, size_t> dayIndex;
        for (int i : dives) {
            const QString key = diveDateTime(s.Dives[static_cast<size_t>(i)]).left(10);
            if (!key.isEmpty()) {
                if (auto it = dayIndex.find(key); it != dayIndex.end()) {
                    days[it->second].push_back(i);
                    continue;
                }
                dayIndex[key] = days.size();
            }
            days.push_back({i});
        }
        for (std::vector<int>& day : days) {
            if (day.size() < 2) continue;
            std::map<int, QString> when;
            for (int i : day)
                when[i] = diveDateTime(s.Dives[static_cast<size_t>(i)]);
            std::stable_sort(day.begin(), day.end(),
                             [&when](int a, int b) { return when[a] < when[b]; });
        }
        return days;
    }

    // Seconds from the exit of the dive before (same day) to the entry of this one; nothing
    // when a time is missing or the two overlap.
    std::optional<qint64> surfaceInterval(int before, int i) const {
        const store::DiveRecord& p = s.Dives[static_cast<size_t>(before)];
        store::DiveRecord out = p; // the exit, as if it were an entry
        out.TimeData[store::field::EntryHour] = p.TimeData[store::field::ExitHour];
        out.TimeData[store::field::EntryMinute] = p.TimeData[store::field::ExitMinute];
        const QString entryText = diveDateTime(s.Dives[static_cast<size_t>(i)]);
        const QString previousText = diveDateTime(p), exitText = diveDateTime(out);
        // A date without a time is 10 characters long.
        if (entryText.size() <= 10 || previousText.size() <= 10 || exitText.size() <= 10)
            return std::nullopt;
        QDateTime exit = QDateTime::fromString(exitText, Qt::ISODate);
        if (exit < QDateTime::fromString(previousText, Qt::ISODate))
            exit = exit.addDays(1); // out after midnight
        const qint64 seconds = exit.secsTo(QDateTime::fromString(entryText, Qt::ISODate));
        if (seconds < 0) return std::nullopt;
        return seconds;
    }

    void dive(int i, int before,
              const std::array<std::map<int, const store::ListEntry*>, 4>& used) {
        const store::DiveRecord& d = s.Dives[static_cast<size_t>(i)];
        const auto& data = d.DiveData;
        x.writeStartElement(QStringLiteral("dive"));
        x.writeAttribute(QStringLiteral("id"), QStringLiteral("dive_%1").arg(i));

        QStringList extra; // facts that only a note can carry
        x.writeStartElement(QStringLiteral("informationbeforedive"));
        for (int w : {store::field::Location, store::field::Buddy}) {
            if (used[w].count(d.ListData[static_cast<size_t>(w)])) {
                x.writeEmptyElement(QStringLiteral("link"));
                x.writeAttribute(QStringLiteral("ref"),
                                 idFor(w, d.ListData[static_cast<size_t>(w)]));
            }
        }
        // UDDF numbers dives from 1; an offset can make the log's numbers 0 or negative.
        if (i + s.DiveOffset > 0) text("divenumber", QString::number(i + s.DiveOffset));
        QString how;
        text("datetime", uddfDateTime(d, &how));
        if (!how.isEmpty()) {
            extra << how;
            specialForms << QStringLiteral("dive %1: %2").arg(i + s.DiveOffset).arg(how);
        }
        // A temperature of 0 is a box the diver left empty, not a freezing day.
        if (data[store::field::AirTemp] != 0)
            si("airtemperature", Quantity::Temperature, data[store::field::AirTemp]);
        // The first dive of a group starts with no nitrogen left from an earlier one.
        const std::optional<qint64> interval =
            before ? surfaceInterval(before, i) : std::optional<qint64>();
        if (!before || interval) {
            x.writeStartElement(QStringLiteral("surfaceintervalbeforedive"));
            if (before)
                text("passedtime", QString::number(*interval));
            else
                x.writeEmptyElement(QStringLiteral("infinity"));
            x.writeEndElement();
        }
        x.writeEndElement();

        // Only a dive with a drawn profile has samples; a made-up flat line at 0 would tell
        // a reader the dive never left the surface.
        const store::ProfileRecord* p = nullptr;
        if (d.ProfileNum > 0 && static_cast<size_t>(d.ProfileNum) < s.Profiles.size())
            p = &s.Profiles[static_cast<size_t>(d.ProfileNum)];
        if (const int points = p ? profile::storedPointCount(*p) : 0; points > 0) {
            x.writeStartElement(QStringLiteral("samples"));
            for (int k = 0; k <= points; ++k)
                waypoint(p->Depths[static_cast<size_t>(k)], p->Times[static_cast<size_t>(k)]);
            x.writeEndElement();
        }

        // A tank's record needs its starting pressure; without one the other tank facts go
        // into the notes.
        const std::optional<double> volume =
            tankVolumeSi(units, data[store::field::TankSize],
                         units == Units::Imperial ? data[store::field::PsiIn] : 0);
        const bool tankSize = data[store::field::TankSize] != 0;
        if (data[store::field::PsiIn] != 0) {
            x.writeStartElement(QStringLiteral("tankdata"));
            if (tankSize && volume && *volume > 0) text("tankvolume", number(*volume));
            si("tankpressurebegin", Quantity::Pressure, data[store::field::PsiIn]);
            if (data[store::field::PsiOut] != 0)
                si("tankpressureend", Quantity::Pressure, data[store::field::PsiOut]);
            x.writeEndElement();
        } else if (data[store::field::PsiOut] != 0) {
            extra << QStringLiteral("Pressure out: %1 %2")
                         .arg(data[store::field::PsiOut])
                         .arg(unitLabel(Quantity::Pressure, units));
        }
        if (tankSize && (data[store::field::PsiIn] == 0 || !volume || *volume <= 0))
            extra << QStringLiteral("Tank size: %1 %2")
                         .arg(data[store::field::TankSize])
                         .arg(unitLabel(Quantity::TankSize, units));

        x.writeStartElement(QStringLiteral("informationafterdive"));
        if (data[store::field::BottomTemp] != 0)
            si("lowesttemperature", Quantity::Temperature, data[store::field::BottomTemp]);
        si("greatestdepth", Quantity::Depth, data[store::field::MaxDepth]);
        si("diveduration", Quantity::Minutes, data[store::field::BottomTime]);
        if (data[store::field::Visibility] > 0)
            si("visibility", Quantity::Depth, data[store::field::Visibility]);
        notes(notesOf(d) + extra);
        if (d.Rating >= 0 && d.Rating <= 2) {
            x.writeStartElement(QStringLiteral("rating"));
            text("ratingvalue", QString::number(2 + 4 * d.Rating));
            x.writeEndElement();
        }
        const bool gear = used[store::field::Gear].count(d.ListData[store::field::Gear]) > 0;
        if (gear || data[store::field::Weight] != 0) {
            x.writeStartElement(QStringLiteral("equipmentused"));
            if (data[store::field::Weight] != 0)
                si("leadquantity", Quantity::Weight, data[store::field::Weight]);
            if (gear) {
                x.writeEmptyElement(QStringLiteral("link"));
                x.writeAttribute(QStringLiteral("ref"),
                                 idFor(store::field::Gear, d.ListData[store::field::Gear]));
            }
            x.writeEndElement();
        }
        x.writeEndElement();
        x.writeEndElement(); // dive
    }

    void waypoint(int16_t depth, int16_t minutes) {
        x.writeStartElement(QStringLiteral("waypoint"));
        si("depth", Quantity::Depth, depth);
        si("divetime", Quantity::Minutes, minutes);
        x.writeEndElement();
    }

    // What UDDF has no element for still travels, as lines of the notes.
    QStringList notesOf(const store::DiveRecord& d) const {
        QStringList paras;
        if (!d.Comments.isEmpty()) paras << d.Comments;
        if (const store::ListEntry* t =
                entryAt(s, store::field::Type, d.ListData[store::field::Type]);
            t && !t->Name.isEmpty())
            paras << QStringLiteral("Dive type: ") + t->Name;
        QStringList conditions;
        for (const output::Condition& c : output::ConditionOrder)
            if (d.CondData[static_cast<size_t>(c.flag)] != 0) conditions << QLatin1String(c.name);
        if (!conditions.isEmpty())
            paras << QStringLiteral("Conditions: ") + conditions.join(QStringLiteral(", "));
        if (d.DiveData[store::field::SurfaceTemp] != 0)
            paras << QStringLiteral("Surface temperature: %1 %2")
                         .arg(d.DiveData[store::field::SurfaceTemp])
                         .arg(unitLabel(Quantity::Temperature, units));
        // 0:00 is a time never typed in.
        if (d.TimeData[store::field::ExitHour] != 0 || d.TimeData[store::field::ExitMinute] != 0)
            paras << QStringLiteral("Exit time: %1:%2")
                         .arg(d.TimeData[store::field::ExitHour])
                         .arg(output::twoDigitNumber(d.TimeData[store::field::ExitMinute]));
        return paras;
    }

    const store::AppState& s;
    Units units;
    QXmlStreamWriter x;
};

} // namespace

QString uddfDateTime(const store::DiveRecord& dive, QString* how) {
    const auto& t = dive.TimeData;
    const int year = t[store::field::Year], month = t[store::field::Month],
              day = t[store::field::Day];
    const int hour = t[store::field::EntryHour], minute = t[store::field::EntryMinute];
    QStringList put;
    QDate date;
    if (year < 1 || year > 9999) {
        date = QDate(1900, 1, 1);
        put << (year == 0 && month == 0 && day == 0
                    ? QStringLiteral("no date was entered; written as 1900-01-01")
                    : QStringLiteral("the date %1/%2/%3 has no year; written as 1900-01-01")
                          .arg(month)
                          .arg(day)
                          .arg(year));
    } else if (month < 1 || month > 12) {
        date = QDate(year, 1, 1);
        put << QStringLiteral("the date %1/%2/%3 has no month; written as %4")
                   .arg(month)
                   .arg(day)
                   .arg(year)
                   .arg(date.toString(Qt::ISODate));
    } else {
        const int last = QDate(year, month, 1).daysInMonth();
        date = QDate(year, month, std::clamp(day, 1, last));
        if (date.day() != day)
            put << QStringLiteral("the date %1/%2/%3 is not a day of that month; written as %4")
                       .arg(month)
                       .arg(day)
                       .arg(year)
                       .arg(date.toString(Qt::ISODate));
    }
    QDateTime when(date, QTime(0, 0), Qt::UTC);
    if (hour < 0 || minute < 0 || hour > 24 || minute > 60)
        put << QStringLiteral("the entry time %1:%2 is not a time of day; written as 00:00")
                   .arg(hour)
                   .arg(minute);
    else
        when = when.addSecs(hour * 3600LL + minute * 60LL); // 24:00 is the next day
    if (how) *how = put.join(QStringLiteral("; "));
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString diveDateTime(const store::DiveRecord& dive) {
    const auto& t = dive.TimeData;
    const QDate date(t[store::field::Year], t[store::field::Month], t[store::field::Day]);
    if (t[store::field::Year] < 1 || !date.isValid()) return {};
    const int hour = t[store::field::EntryHour], minute = t[store::field::EntryMinute];
    if (hour < 0 || minute < 0 || hour > 24 || minute > 60) return date.toString(Qt::ISODate);
    const QDateTime when =
        QDateTime(date, QTime(0, 0), Qt::UTC).addSecs(hour * 3600LL + minute * 60LL);
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QByteArray uddfDocument(const store::AppState& state, const std::vector<int>& dives, Units units,
                        const QDateTime& written, QStringList* specialForms) {
    std::vector<int> valid;
    for (int i : dives)
        if (i >= 1 && i <= state.DiveCount()) valid.push_back(i);
    QByteArray out;
    Writer w(state, units, &out);
    w.document(valid, written);
    if (specialForms) *specialForms = w.specialForms;
    return out;
}

} // namespace interchange
