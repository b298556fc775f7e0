#include "JsonLoad.h"

#include "JsonKeys.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "store/Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

namespace {

// Thrown inside this file only, to leave the nested readers at the first bad field.
struct BadField {
    QString message;
};

// Where a value sits, e.g. dives[3].date.day: a chain of parents on the stack, spelt out only
// when something there is wrong, so reading a good file makes no path text at all.
struct Path {
    const Path* parent = nullptr;
    const char* key = nullptr; // a member of the parent object, or
    qsizetype index = -1;      // an item of the parent array; neither for the top

    QString text() const {
        const QString up = parent ? parent->text() : QString();
        if (key)
            return up.isEmpty() ? QString(QLatin1String(key))
                                : up + QLatin1Char('.') + QLatin1String(key);
        if (index >= 0)
            return up + QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
        return up;
    }
};

Path child(const Path& path, const char* key) {
    return Path{&path, key, -1};
}

Path item(const Path& path, qsizetype i) {
    return Path{&path, nullptr, i};
}

[[noreturn]] void fail(const QString& path, const QString& what) {
    throw BadField{path + QStringLiteral(": ") + what};
}

[[noreturn]] void fail(const Path& path, const QString& what) {
    fail(path.text(), what);
}

QString numberText(double d) {
    return QString::number(d, 'g', 15);
}

QJsonObject asObject(const QJsonValue& v, const Path& path) {
    if (!v.isObject())
        fail(path, QStringLiteral("expected an object"));
    return v.toObject();
}

// Refuses keys the format does not have.
template <typename Names>
void onlyKeys(const QJsonObject& o, const Path& path, const Names& names) {
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool known = false;
        for (const char* k : names)
            known = known || it.key() == QLatin1String(k);
        if (!known) {
            const QString p = path.text();
            fail(p.isEmpty() ? it.key() : p + QLatin1Char('.') + it.key(),
                 QStringLiteral("unknown key"));
        }
    }
}

void onlyKeys(const QJsonObject& o, const Path& path, std::initializer_list<const char*> names) {
    onlyKeys<std::initializer_list<const char*>>(o, path, names);
}

// The value of a key the format has, counting the keys found: when the count falls short of
// the object's size, some key is not the format's (and only then are the keys walked to name it).
QJsonValue lookUp(const QJsonObject& o, const char* key, qsizetype& found) {
    QJsonValue v = o.value(QLatin1String(key));
    if (!v.isUndefined())
        ++found;
    return v;
}

int16_t int16Of(const QJsonValue& v, const Path& path) {
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

QString textOf(const QJsonValue& v, const Path& path) {
    if (v.isUndefined())
        return {};
    if (!v.isString())
        fail(path, QStringLiteral("expected a text"));
    QString s = v.toString();
    // A counted string holds at most 65535 bytes; refuse rather than cut the text.
    if (s.size() > dvl::MaxStringBytes && text::toCp1252(s).size() > dvl::MaxStringBytes)
        fail(path, QStringLiteral("longer than %1 bytes").arg(dvl::MaxStringBytes));
    return s;
}

// A nested object such as "date": missing reads as all zero.
template <size_t N, size_t K>
void readGroup(const QJsonValue& v, const Path& path, const char* const (&names)[K],
               std::array<int16_t, N>& into, size_t first) {
    if (v.isUndefined())
        return;
    const QJsonObject o = asObject(v, path);
    QJsonValue values[K];
    qsizetype found = 0;
    for (size_t i = 0; i < K; ++i)
        values[i] = lookUp(o, names[i], found);
    if (found != o.size())
        onlyKeys(o, path, names);
    for (size_t i = 0; i < K; ++i)
        into[first + i] = int16Of(values[i], child(path, names[i]));
}

DiveRecord readDive(const QJsonValue& v, const Path& path) {
    const QJsonObject o = asObject(v, path);
    qsizetype found = 0;
    lookUp(o, "number", found); // written by dump, never read: the position gives the number
    const QJsonValue date = lookUp(o, "date", found);
    const QJsonValue entry = lookUp(o, "entry", found);
    const QJsonValue exitTime = lookUp(o, "exit", found);
    QJsonValue diveData[std::size(keys::DiveData)];
    for (size_t i = 0; i < std::size(keys::DiveData); ++i)
        diveData[i] = lookUp(o, keys::DiveData[i], found);
    QJsonValue listData[std::size(keys::ListData)];
    for (size_t i = 0; i < std::size(keys::ListData); ++i)
        listData[i] = lookUp(o, keys::ListData[i], found);
    const QJsonValue comments = lookUp(o, "comments", found);
    const QJsonValue conditions = lookUp(o, "conditions", found);
    const QJsonValue rating = lookUp(o, "rating", found);
    const QJsonValue profile = lookUp(o, "profile", found);
    if (found != o.size()) {
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
                fail(path.text() + QLatin1Char('.') + k, QStringLiteral("unknown key"));
        }
    }
    DiveRecord d;
    readGroup(date, child(path, "date"), keys::Date, d.TimeData, 0);
    readGroup(entry, child(path, "entry"), keys::Clock, d.TimeData, 3);
    readGroup(exitTime, child(path, "exit"), keys::Clock, d.TimeData, 5);
    for (size_t i = 0; i < std::size(keys::DiveData); ++i)
        d.DiveData[i] = int16Of(diveData[i], child(path, keys::DiveData[i]));
    for (size_t i = 0; i < std::size(keys::ListData); ++i)
        d.ListData[i] = int16Of(listData[i], child(path, keys::ListData[i]));
    d.Comments = textOf(comments, child(path, "comments"));
    readGroup(conditions, child(path, "conditions"), keys::Conditions, d.CondData, 0);
    d.Rating = int16Of(rating, child(path, "rating"));
    d.ProfileNum = int16Of(profile, child(path, "profile"));
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
    const Path listPath{nullptr, key, -1};
    RefList list;
    list.reserve(static_cast<size_t>(a.size()));
    for (qsizetype i = 0; i < a.size(); ++i) {
        const Path path = item(listPath, i);
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
void readPoints(const QJsonObject& o, const Path& path, const char* key,
                std::array<int16_t, N>& into) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return;
    const Path p = child(path, key);
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
        const Path profilesPath{nullptr, "profiles", -1};
        for (qsizetype i = 0; i < a.size(); ++i) {
            const Path path = item(profilesPath, i);
            const QJsonObject o = asObject(a[i], path);
            onlyKeys(o, path, {"times", "depths", "notes"});
            ProfileRecord p;
            readPoints(o, path, "times", p.Times);
            readPoints(o, path, "depths", p.Depths);
            const QJsonValue notes = o.value(QLatin1String("notes"));
            if (!notes.isUndefined()) {
                const Path np = child(path, "notes");
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

// Walks JSON text without building a document. value() only finds where a value ends
// (strings skipped whole, brackets counted) and leaves checking it to the parser; the readers
// of keys, numbers and texts take only the plain forms dump writes and say no to the rest.
class Scanner {
  public:
    Scanner(const char* begin, const char* end) : p_(begin), end_(end) {}

    const char* at() const { return p_; }
    void seek(const char* p) { p_ = p; }
    bool atEnd() const { return p_ == end_; }

    void space() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r'))
            ++p_;
    }

    bool take(char c) {
        if (p_ == end_ || *p_ != c)
            return false;
        ++p_;
        return true;
    }

    // Past a string that starts here; escaped() tells whether it held a backslash.
    bool string() {
        if (!take('"'))
            return false;
        bool escaped = false;
        const char* p = p_; // kept in a register: a store through p_ could change any byte
        while (p < end_) {
            const char c = *p++;
            if (c == '"') {
                p_ = p;
                escaped_ = escaped;
                return true;
            }
            if (c == '\\') {
                escaped = true;
                ++p; // the escaped character may be a quote
            }
        }
        return false;
    }
    bool escaped() const { return escaped_; }

    // Past one value that starts here.
    bool value() {
        if (p_ == end_)
            return false;
        if (*p_ == '"')
            return string();
        if (*p_ == '{' || *p_ == '[') {
            int depth = 0;
            while (p_ < end_) {
                const char c = *p_;
                if (c == '"') {
                    if (!string())
                        return false;
                    continue;
                }
                ++p_;
                if (c == '{' || c == '[')
                    ++depth;
                else if ((c == '}' || c == ']') && --depth == 0)
                    return true;
            }
            return false;
        }
        const char* start = p_;
        while (p_ < end_ && *p_ != ',' && *p_ != '}' && *p_ != ']' && *p_ != ' ' && *p_ != '\t' &&
               *p_ != '\n' && *p_ != '\r')
            ++p_;
        return p_ > start;
    }

    // A key without escapes, quotes stripped.
    bool plainKey(std::string_view& key) {
        const char* start = p_ + 1;
        if (!string())
            return false;
        key = std::string_view(start, static_cast<size_t>(p_ - 1 - start));
        return !escaped_;
    }

    // A whole number of at most `digits` digits as JSON writes it (no leading zero, fraction
    // or exponent), in [least, most].
    bool whole(long long& v, int digits, long long least, long long most) {
        const bool minus = take('-');
        const char* start = p_;
        v = 0;
        while (p_ < end_ && *p_ >= '0' && *p_ <= '9' && p_ - start <= digits)
            v = v * 10 + (*p_++ - '0');
        const qsizetype n = p_ - start;
        if (n == 0 || n > digits || (n > 1 && *start == '0'))
            return false;
        if (p_ < end_ && (*p_ == '.' || *p_ == 'e' || *p_ == 'E' || (*p_ >= '0' && *p_ <= '9')))
            return false;
        if (minus)
            v = -v;
        return v >= least && v <= most;
    }

    bool int16(int16_t& into) {
        long long v = 0;
        if (!whole(v, 5, -32768, 32767))
            return false;
        into = static_cast<int16_t>(v);
        return true;
    }

    // A text of valid UTF-8 with the escapes JSON has for single characters (\uXXXX outside
    // the surrogates); false for anything else. `scratch` holds the unescaped bytes.
    bool text(QString& into, QByteArray& scratch) {
        const char* start = p_ + 1;
        if (!string())
            return false;
        const char* stop = p_ - 1;
        const size_t size = static_cast<size_t>(stop - start);
        // One pass the compiler can turn into vector code: a control character (which JSON
        // does not allow raw) and anything outside ASCII.
        unsigned char any = 0, least = 0xFF;
        for (size_t k = 0; k < size; ++k) {
            const auto c = static_cast<unsigned char>(start[k]);
            any |= c;
            least = std::min(least, c);
        }
        if (least < 0x20)
            return false;
        const bool escapes = escaped_;
        if (!escapes && any < 0x80) {
            into = QString::fromLatin1(start, static_cast<qsizetype>(size));
            return true;
        }
        std::string_view bytes(start, static_cast<size_t>(stop - start));
        if (escapes) {
            // Unescaped text is never longer: an escape of two bytes stands for one, one of
            // six for at most three.
            scratch.resize(static_cast<qsizetype>(size));
            char* out = scratch.data();
            for (const char* q = start; q < stop; ++q) {
                if (*q != '\\') {
                    *out++ = *q;
                    continue;
                }
                const char e = *++q;
                const char* simple = strchr("\"\\/bfnrt", e);
                if (e && simple) {
                    *out++ = "\"\\/\b\f\n\r\t"[simple - "\"\\/bfnrt"];
                    continue;
                }
                if (e != 'u' || stop - q < 5)
                    return false;
                unsigned u = 0;
                for (int k = 1; k <= 4; ++k) {
                    const char h = q[k];
                    const int digit = h >= '0' && h <= '9'   ? h - '0'
                                      : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                      : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                             : -1;
                    if (digit < 0)
                        return false;
                    u = u * 16 + static_cast<unsigned>(digit);
                }
                q += 4;
                if (QChar::isSurrogate(u))
                    return false;
                if (u < 0x80) {
                    *out++ = static_cast<char>(u);
                } else if (u < 0x800) {
                    *out++ = static_cast<char>(0xC0 | (u >> 6));
                    *out++ = static_cast<char>(0x80 | (u & 0x3F));
                } else {
                    *out++ = static_cast<char>(0xE0 | (u >> 12));
                    *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
                    *out++ = static_cast<char>(0x80 | (u & 0x3F));
                }
            }
            bytes = std::string_view(scratch.constData(),
                                     static_cast<size_t>(out - scratch.constData()));
        }
        // The decoder stands in for invalid UTF-8 with U+FFFD where the parser refuses it, and
        // might drop a leading byte order mark: leave both to the parser.
        if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
            return false;
        into = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return !into.contains(QChar(0xFFFD));
    }

  private:
    const char* p_;
    const char* end_;
    bool escaped_ = false;
};

// Key comparison without a call for a few bytes.
bool sameKey(std::string_view key, const char* name) {
    size_t i = 0;
    for (; i < key.size(); ++i)
        if (name[i] == '\0' || name[i] != key[i])
            return false;
    return name[i] == '\0';
}

using Span = std::pair<const char*, const char*>;

// The members of an object of whole numbers such as "date", each key at most once; a key
// missing leaves its number alone.
bool numbersObject(Scanner& s, const char* const* names, size_t count, int16_t* into) {
    if (!s.take('{'))
        return false;
    s.space();
    if (s.take('}'))
        return true;
    unsigned seen = 0;
    size_t last = size_t(-1);
    for (;;) {
        std::string_view key;
        if (!s.plainKey(key))
            return false;
        // Keys usually come in the order dump writes them.
        size_t k = last + 1 < count && sameKey(key, names[last + 1]) ? last + 1 : 0;
        while (k < count && !sameKey(key, names[k]))
            ++k;
        last = k;
        if (k == count || (seen & (1U << k)))
            return false;
        seen |= 1U << k;
        s.space();
        if (!s.take(':'))
            return false;
        s.space();
        if (!s.int16(into[k]))
            return false;
        s.space();
        if (s.take('}'))
            return true;
        if (!s.take(','))
            return false;
        s.space();
    }
}

// A dive in the shape dump writes it, read straight from its text: known keys each at most
// once, whole numbers in range, texts as above. False for anything else, and the parser
// reads that dive instead (and names what is wrong, if anything is). What comes back here
// is what the parser and readDive make of the same text.
bool quickDive(Scanner& s, DiveRecord& d, QByteArray& scratch) {
    enum : size_t { Number = 0, Date, Entry, Exit, Comments, Conditions, Rating, Profile, Fixed };
    static const char* const names[Fixed] = {"number",   "date",       "entry",  "exit",
                                             "comments", "conditions", "rating", "profile"};
    constexpr size_t diveData = Fixed, listData = diveData + std::size(keys::DiveData);
    constexpr size_t slotCount = listData + std::size(keys::ListData);
    static const std::array<const char*, slotCount> slotNames = [] {
        std::array<const char*, slotCount> all{};
        for (size_t k = 0; k < Fixed; ++k)
            all[k] = names[k];
        for (size_t k = 0; k < std::size(keys::DiveData); ++k)
            all[diveData + k] = keys::DiveData[k];
        for (size_t k = 0; k < std::size(keys::ListData); ++k)
            all[listData + k] = keys::ListData[k];
        return all;
    }();
    // Keys usually come in the order dump writes them: try the one after the last first.
    static const std::array<size_t, slotCount> dumpOrder = [] {
        std::array<size_t, slotCount> order{Number, Date, Entry, Exit};
        for (size_t k = 0; k < std::size(keys::DiveData); ++k)
            order[4 + k] = diveData + k;
        for (size_t k = 0; k < std::size(keys::ListData); ++k)
            order[4 + std::size(keys::DiveData) + k] = listData + k;
        order[slotCount - 4] = Comments;
        order[slotCount - 3] = Conditions;
        order[slotCount - 2] = Rating;
        order[slotCount - 1] = Profile;
        return order;
    }();
    size_t next = 0; // in dumpOrder
    auto slotOf = [&next](std::string_view key) {
        size_t k =
            next < slotCount && sameKey(key, slotNames[dumpOrder[next]]) ? dumpOrder[next] : 0;
        while (k < slotCount && !sameKey(key, slotNames[k]))
            ++k;
        next = std::find(dumpOrder.begin(), dumpOrder.end(), k) - dumpOrder.begin() + 1;
        return k;
    };
    if (!s.take('{'))
        return false;
    s.space();
    unsigned seen = 0;
    bool more = !s.take('}');
    while (more) {
        std::string_view key;
        if (!s.plainKey(key))
            return false;
        const size_t slot = slotOf(key);
        if (slot == slotCount || (seen & (1U << slot)))
            return false;
        seen |= 1U << slot;
        s.space();
        if (!s.take(':'))
            return false;
        s.space();
        long long ignored = 0;
        bool ok = false;
        switch (slot) {
        case Number:
            ok = s.whole(ignored, 12, std::numeric_limits<long long>::min(),
                         std::numeric_limits<long long>::max());
            break;
        case Date:
            ok = numbersObject(s, keys::Date, 3, d.TimeData.data());
            break;
        case Entry:
            ok = numbersObject(s, keys::Clock, 2, d.TimeData.data() + 3);
            break;
        case Exit:
            ok = numbersObject(s, keys::Clock, 2, d.TimeData.data() + 5);
            break;
        case Comments:
            ok = s.text(d.Comments, scratch) && d.Comments.size() <= dvl::MaxStringBytes;
            break;
        case Conditions:
            ok = numbersObject(s, keys::Conditions, 8, d.CondData.data());
            break;
        case Rating:
            ok = s.int16(d.Rating);
            break;
        case Profile:
            ok = s.int16(d.ProfileNum);
            break;
        default:
            ok = slot < listData ? s.int16(d.DiveData[slot - diveData])
                                 : s.int16(d.ListData[slot - listData]);
        }
        if (!ok)
            return false;
        s.space();
        more = !s.take('}');
        if (more && !s.take(','))
            return false;
        s.space();
    }
    return true;
}

// Past the array of dives: each in dump's shape read straight into `records`, each other
// one noted in `others` with its place, to go through the parser. Record 0 is the empty one
// the log always has.
bool readDives(Scanner& s, std::vector<DiveRecord>& records,
               std::vector<std::pair<size_t, Span>>& others, QByteArray& scratch) {
    records.emplace_back();
    if (!s.take('['))
        return false;
    s.space();
    if (s.take(']'))
        return true;
    for (;;) {
        if (records.size() > static_cast<size_t>(MaxDives))
            return false;
        s.space();
        const char* start = s.at();
        DiveRecord d;
        if (!quickDive(s, d, scratch)) {
            s.seek(start);
            if (!s.value())
                return false;
            others.emplace_back(records.size(), Span{start, s.at()});
        }
        records.push_back(std::move(d));
        s.space();
        if (s.take(']'))
            return true;
        if (!s.take(','))
            return false;
    }
}

// The good path for a large log. Parsing the whole text at once holds every dive as a JSON
// object, several times the size of the text; here the text around "dives" is parsed on its
// own and each dive in turn, so no more than one dive's objects exist at a time. The values
// are the parser's own for the same bytes, read by the same readers, so a file read here
// gives the same records. Anything out of the ordinary (a bad value, a syntax error, a key
// written with escapes, "dives" twice) returns false with `state` unchanged, and the caller
// reads the whole text the usual way, which also finds the words for what is wrong.
bool loadInPieces(const QByteArray& json, AppState& state) {
    const char* const begin = json.constData();
    Scanner s(begin, begin + json.size());
    Span dives{nullptr, nullptr};
    std::vector<DiveRecord> records;
    std::vector<std::pair<size_t, Span>> others;
    QByteArray scratch;
    s.space();
    if (!s.take('{'))
        return false;
    for (;;) {
        s.space();
        const char* keyStart = s.at();
        if (!s.string())
            return false;
        const std::string_view key(keyStart + 1, static_cast<size_t>(s.at() - keyStart - 2));
        if (s.escaped())
            return false;
        s.space();
        if (!s.take(':'))
            return false;
        s.space();
        const char* valueStart = s.at();
        if (key == "dives") {
            if (dives.first || !readDives(s, records, others, scratch))
                return false;
            dives = {valueStart, s.at()};
        } else if (!s.value()) {
            return false;
        }
        s.space();
        if (s.take('}'))
            break;
        if (!s.take(','))
            return false;
    }
    s.space();
    if (!s.atEnd() || !dives.first || records.size() < 2)
        return false;

    QByteArray rest;
    rest.reserve(json.size() - (dives.second - dives.first) + 2);
    rest.append(begin, dives.first - begin);
    rest.append("[]");
    rest.append(dives.second, begin + json.size() - dives.second);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(rest, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    try {
        const QJsonObject top = doc.object();
        onlyKeys(top, Path{},
                 {"diver", "offset", "files", "dives", "locations", "types", "buddies", "gear",
                  "profiles"});
        const Path divesPath{nullptr, "dives", -1};
        QByteArray piece;
        for (const auto& [index, text] : others) {
            piece.resize(0);
            piece.append('[');
            piece.append(text.first, text.second - text.first);
            piece.append(']');
            const QJsonDocument one = QJsonDocument::fromJson(piece, &error);
            if (error.error != QJsonParseError::NoError || one.array().size() != 1)
                return false;
            records[index] =
                readDive(one.array().at(0), item(divesPath, static_cast<qsizetype>(index) - 1));
        }
        RefList lists[4];
        for (int which = 0; which < 4; ++which)
            lists[which] = readList(top, which);
        std::vector<ProfileRecord> profiles = readProfiles(top);

        state.Dives = std::move(records);
        for (int which = 0; which < 4; ++which)
            state.list(which) = std::move(lists[which]);
        state.Profiles = std::move(profiles);
        state.CurrentDive = state.DiveCount();
    } catch (const BadField&) {
        return false;
    }
    return true;
}

} // namespace

QString loadJson(const QByteArray& json, AppState& state) {
    if (loadInPieces(json, state))
        return {};
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
        onlyKeys(top, Path{},
                 {"diver", "offset", "files", "dives", "locations", "types", "buddies", "gear",
                  "profiles"});
        const QJsonArray a =
            requiredArray(top, "dives", MaxDives, "a log always holds at least one dive");
        std::vector<DiveRecord> dives;
        dives.reserve(static_cast<size_t>(a.size()) + 1);
        dives.emplace_back();
        const Path divesPath{nullptr, "dives", -1};
        for (qsizetype i = 0; i < a.size(); ++i)
            dives.push_back(readDive(a[i], item(divesPath, i)));
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
