#include "JsonLoad.h"

#include "JsonKeys.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "store/Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <initializer_list>

namespace cli {

namespace {

// Thrown inside this file only, to leave the nested readers at the first bad field.
struct BadField {
    QString message;
};

[[noreturn]] void fail(const QString& path, const QString& what) {
    throw BadField{path + QStringLiteral(": ") + what};
}

QString child(const QString& path, const char* key) {
    return path.isEmpty() ? QLatin1String(key) : path + QLatin1Char('.') + QLatin1String(key);
}

QString item(const QString& path, qsizetype i) {
    return path + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
}

QString numberText(double d) { return QString::number(d, 'g', 15); }

QJsonObject asObject(const QJsonValue& v, const QString& path) {
    if (!v.isObject())
        fail(path, QStringLiteral("expected an object"));
    return v.toObject();
}

// Refuses keys the format does not have.
void onlyKeys(const QJsonObject& o, const QString& path, std::initializer_list<const char*> names) {
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool known = false;
        for (const char* k : names)
            known = known || it.key() == QLatin1String(k);
        if (!known)
            fail(path.isEmpty() ? it.key() : path + QLatin1Char('.') + it.key(),
                 QStringLiteral("unknown key"));
    }
}

template <size_t N> void onlyKeys(const QJsonObject& o, const QString& path, const char* const (&names)[N]) {
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool known = false;
        for (const char* k : names)
            known = known || it.key() == QLatin1String(k);
        if (!known)
            fail(path + QLatin1Char('.') + it.key(), QStringLiteral("unknown key"));
    }
}

int16_t int16Of(const QJsonValue& v, const QString& path) {
    if (v.isUndefined())
        return 0;
    if (!v.isDouble())
        fail(path, QStringLiteral("expected a number"));
    const double d = v.toDouble();
    if (d < -32768 || d > 32767)
        fail(path, numberText(d) + QStringLiteral(" is out of range (-32768 to 32767)"));
    if (std::trunc(d) != d)
        fail(path, numberText(d) + QStringLiteral(" is not a whole number"));
    return static_cast<int16_t>(d);
}

QString textOf(const QJsonValue& v, const QString& path) {
    if (v.isUndefined())
        return {};
    if (!v.isString())
        fail(path, QStringLiteral("expected a text"));
    const QString s = v.toString();
    // A counted string holds at most 65535 bytes; refuse rather than cut the text.
    if (s.size() > dvl::MaxStringBytes && text::toCp1252(s).size() > dvl::MaxStringBytes)
        fail(path, QStringLiteral("longer than %1 bytes").arg(dvl::MaxStringBytes));
    return s;
}

template <size_t N>
void readNumbers(const QJsonObject& o, const QString& path, const char* const* names,
                 size_t count, std::array<int16_t, N>& into, size_t first) {
    for (size_t i = 0; i < count; ++i)
        into[first + i] = int16Of(o.value(QLatin1String(names[i])), child(path, names[i]));
}

// A nested object such as "date": missing reads as all zero.
template <size_t N, size_t K>
void readGroup(const QJsonObject& dive, const QString& path, const char* key,
               const char* const (&names)[K], std::array<int16_t, N>& into, size_t first) {
    const QJsonValue v = dive.value(QLatin1String(key));
    if (v.isUndefined())
        return;
    const QString p = child(path, key);
    const QJsonObject o = asObject(v, p);
    onlyKeys(o, p, names);
    readNumbers(o, p, names, K, into, first);
}

DiveRecord readDive(const QJsonValue& v, const QString& path) {
    const QJsonObject o = asObject(v, path);
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString k = it.key();
        bool known = k == QLatin1String("number") || k == QLatin1String("date") ||
                     k == QLatin1String("entry") || k == QLatin1String("exit") ||
                     k == QLatin1String("comments") || k == QLatin1String("conditions") ||
                     k == QLatin1String("rating") || k == QLatin1String("profile");
        for (const char* n : keys::DiveData)
            known = known || k == QLatin1String(n);
        for (const char* n : keys::ListData)
            known = known || k == QLatin1String(n);
        if (!known)
            fail(path + QLatin1Char('.') + k, QStringLiteral("unknown key"));
    }
    DiveRecord d;
    readGroup(o, path, "date", keys::Date, d.TimeData, 0);
    readGroup(o, path, "entry", keys::Clock, d.TimeData, 3);
    readGroup(o, path, "exit", keys::Clock, d.TimeData, 5);
    readNumbers(o, path, keys::DiveData, 10, d.DiveData, 0);
    readNumbers(o, path, keys::ListData, 4, d.ListData, 0);
    d.Comments = textOf(o.value(QLatin1String("comments")), child(path, "comments"));
    readGroup(o, path, "conditions", keys::Conditions, d.CondData, 0);
    d.Rating = int16Of(o.value(QLatin1String("rating")), child(path, "rating"));
    d.ProfileNum = int16Of(o.value(QLatin1String("profile")), child(path, "profile"));
    return d;
}

// An array that must be present and hold between 1 and `most` items.
QJsonArray requiredArray(const QJsonObject& top, const char* key, qsizetype most,
                         const char* emptyReason) {
    const QJsonValue v = top.value(QLatin1String(key));
    const QString path = QLatin1String(key);
    if (v.isUndefined())
        fail(path, QStringLiteral("missing"));
    if (!v.isArray())
        fail(path, QStringLiteral("expected an array"));
    const QJsonArray a = v.toArray();
    if (a.isEmpty())
        fail(path, QLatin1String(emptyReason));
    if (a.size() > most)
        fail(path, QStringLiteral("%1 items; the file holds at most %2").arg(a.size()).arg(most));
    return a;
}

RefList readList(const QJsonObject& top, int which) {
    const char* key = keys::Lists[which];
    // The header stores the highest index as a 16-bit number.
    const QJsonArray a = requiredArray(top, key, 32768, "a list always holds at least one entry");
    const bool withPicture = which == field::Location;
    RefList list;
    list.reserve(static_cast<size_t>(a.size()));
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString path = item(QLatin1String(key), i);
        const QJsonObject o = asObject(a[i], path);
        if (withPicture)
            onlyKeys(o, path, {"name", "info", "picture"});
        else
            onlyKeys(o, path, {"name", "info"});
        ListEntry e;
        e.Name = textOf(o.value(QLatin1String("name")), child(path, "name"));
        e.Info = textOf(o.value(QLatin1String("info")), child(path, "info"));
        if (withPicture)
            e.Picture = textOf(o.value(QLatin1String("picture")), child(path, "picture"));
        list.push_back(std::move(e));
    }
    return list;
}

template <size_t N>
void readPoints(const QJsonObject& o, const QString& path, const char* key,
                std::array<int16_t, N>& into) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return;
    const QString p = child(path, key);
    if (!v.isArray())
        fail(p, QStringLiteral("expected an array"));
    const QJsonArray a = v.toArray();
    if (a.size() > static_cast<qsizetype>(N))
        fail(p, QStringLiteral("%1 values; a profile holds %2").arg(a.size()).arg(N));
    for (qsizetype i = 0; i < a.size(); ++i)
        into[static_cast<size_t>(i)] = int16Of(a[i], item(p, i));
}

std::vector<ProfileRecord> readProfiles(const QJsonObject& top) {
    std::vector<ProfileRecord> profiles;
    const QJsonValue v = top.value(QLatin1String("profiles"));
    if (!v.isUndefined()) {
        if (!v.isArray())
            fail(QStringLiteral("profiles"), QStringLiteral("expected an array"));
        const QJsonArray a = v.toArray();
        if (a.size() > 32768)
            fail(QStringLiteral("profiles"),
                 QStringLiteral("%1 items; the file holds at most 32768").arg(a.size()));
        profiles.reserve(static_cast<size_t>(a.size()));
        for (qsizetype i = 0; i < a.size(); ++i) {
            const QString path = item(QStringLiteral("profiles"), i);
            const QJsonObject o = asObject(a[i], path);
            onlyKeys(o, path, {"times", "depths", "notes"});
            ProfileRecord p;
            readPoints(o, path, "times", p.Times);
            readPoints(o, path, "depths", p.Depths);
            const QJsonValue notes = o.value(QLatin1String("notes"));
            if (!notes.isUndefined()) {
                const QString np = child(path, "notes");
                if (!notes.isArray())
                    fail(np, QStringLiteral("expected an array"));
                const QJsonArray na = notes.toArray();
                if (na.size() > ProfileRecord::NoteCount)
                    fail(np, QStringLiteral("%1 texts; a profile holds %2")
                                 .arg(na.size())
                                 .arg(ProfileRecord::NoteCount));
                for (qsizetype k = 0; k < na.size(); ++k)
                    p.Notes[static_cast<size_t>(k)] = textOf(na[k], item(np, k));
            }
            profiles.push_back(std::move(p));
        }
    }
    // Record 0 always exists; dives never refer to it.
    if (profiles.empty())
        profiles.emplace_back();
    return profiles;
}

} // namespace

QString loadJson(const QByteArray& json, AppState& state) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("not valid JSON: %1 at byte %2")
            .arg(error.errorString())
            .arg(error.offset);
    if (!doc.isObject())
        return QStringLiteral("not valid JSON for a log: expected an object at the top");
    try {
        const QJsonObject top = doc.object();
        onlyKeys(top, QString(), {"diver", "offset", "files", "dives", "locations", "types",
                                  "buddies", "gear", "profiles"});
        const QJsonArray a = requiredArray(top, "dives", MaxDives, "a log always holds at least one dive");
        std::vector<DiveRecord> dives;
        dives.reserve(static_cast<size_t>(a.size()) + 1);
        dives.emplace_back();
        for (qsizetype i = 0; i < a.size(); ++i)
            dives.push_back(readDive(a[i], item(QStringLiteral("dives"), i)));
        RefList lists[4];
        for (int which = 0; which < 4; ++which)
            lists[which] = readList(top, which);
        std::vector<ProfileRecord> profiles = readProfiles(top);

        state.Dives = std::move(dives);
        for (int which = 0; which < 4; ++which)
            state.list(which) = std::move(lists[which]);
        state.Profiles = std::move(profiles);
        state.CurrentDive = state.DiveCount();
    } catch (const BadField& bad) {
        return bad.message;
    }
    return {};
}

} // namespace cli
