#include "JsonLoad.h"

#include "store/JsonKeys.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "store/Text.h"

#include <simdjson.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

namespace {

namespace od = simdjson::ondemand;

// Thrown inside this file only, to leave the nested readers at the first bad field.
struct BadField {
    QString message;
};

// Thrown when the text is not JSON at all: the parser's words for it.
struct BadJson {
    simdjson::error_code code;
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
        if (index >= 0) return up + QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
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

template <typename T> T ok(simdjson::simdjson_result<T>&& r) {
    T value{};
    if (const simdjson::error_code e = std::move(r).get(value); e != simdjson::SUCCESS)
        throw BadJson{e};
    return value;
}

QString numberText(double d) {
    return QString::number(d, 'g', 15);
}

od::json_type typeOf(od::value& v) {
    return ok(v.type());
}

// A key as the format spells it: straight from the text, unescaped only when it holds an
// escape, so a good file copies no key.
std::string_view keyOf(od::field& f) {
    const char* raw = f.key().raw();
    const char* end = raw;
    while (*end != '"' && *end != '\\')
        ++end;
    if (*end == '"') return std::string_view(raw, static_cast<size_t>(end - raw));
    return ok(f.unescaped_key());
}

// Reads a number, text, true, false or null to its end: a value, or a whole document.
template <typename Value> void walkScalar(Value& v, od::json_type type) {
    switch (type) {
    case od::json_type::number:
        ok(v.get_double());
        break;
    case od::json_type::string:
        ok(v.get_string());
        break;
    case od::json_type::boolean:
        ok(v.get_bool());
        break;
    case od::json_type::null:
        if (!ok(v.is_null())) throw BadJson{simdjson::N_ATOM_ERROR};
        break;
    default:
        break;
    }
}

// Reads a value nobody uses ("number", "diver", ...) to its end, so that a file is JSON
// throughout whatever part of it is used.
void walk(od::value v) {
    const od::json_type type = typeOf(v);
    if (type == od::json_type::object) {
        for (auto field : ok(v.get_object())) {
            od::field f = ok(std::move(field));
            keyOf(f);
            walk(f.value());
        }
    } else if (type == od::json_type::array) {
        for (auto element : ok(v.get_array()))
            walk(ok(std::move(element)));
    } else {
        walkScalar(v, type);
    }
}

// The members of an object are read as they come; what is wrong is named as if they had
// been read in the format's order, a key the format does not have before anything else, so
// the message does not depend on the order the keys are written in. A key given twice counts
// the last time, for its value and for what is wrong with it.
class Members {
  public:
    Members(const Path& path, size_t count) : path_(path), wrong_(count) {}

    // Runs `read` for the member in `slot`, keeping what is wrong with it for later.
    template <typename Read> void read(size_t slot, Read&& read) {
        wrong_[slot].clear();
        try {
            read();
        } catch (const BadField& bad) {
            wrong_[slot] = bad.message;
        }
    }

    // A member the format requires is not there.
    void missing(size_t slot, const QString& message) { wrong_[slot] = message; }

    void unknown(std::string_view key) {
        const QString k = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
        if (unknown_.isNull() || k < unknown_) unknown_ = k;
    }

    // Throws for the first thing wrong, if any.
    void done() const {
        if (!unknown_.isNull()) {
            const QString p = path_.text();
            fail(p.isEmpty() ? unknown_ : p + QLatin1Char('.') + unknown_,
                 QStringLiteral("unknown key"));
        }
        for (const QString& w : wrong_)
            if (!w.isEmpty()) throw BadField{w};
    }

  private:
    const Path& path_;
    std::vector<QString> wrong_;
    QString unknown_;
};

// The keys of one kind of object, looked up first where the last one found was followed, so
// the keys of a dump, always in the same order, are found at the first try.
class KeyTable {
  public:
    template <typename Names> explicit KeyTable(const Names& names) {
        for (const char* n : names)
            keys_.emplace_back(n);
    }

    // The slot of `key`, or the table's size when it is not one of them.
    // `next` is where to look first, kept by the caller for one object.
    size_t find(std::string_view key, size_t& next) const {
        if (next < keys_.size() && keys_[next] == key) return next++;
        for (size_t k = 0; k < keys_.size(); ++k)
            if (keys_[k] == key) {
                next = k + 1;
                return k;
            }
        return keys_.size();
    }

    size_t size() const { return keys_.size(); }

  private:
    std::vector<std::string_view> keys_;
};

od::object objectOf(od::value& v, const Path& path) {
    if (typeOf(v) != od::json_type::object) fail(path, QStringLiteral("expected an object"));
    return ok(v.get_object());
}

od::array arrayOf(od::value& v, const Path& path) {
    if (typeOf(v) != od::json_type::array) fail(path, QStringLiteral("expected an array"));
    return ok(v.get_array());
}

// Reads the members of `object` whose keys are the first `known` of `table`, each with
// `each(slot, value)`, into `members` (whose done() the caller calls).
template <typename Each>
void readMembers(od::object object, const KeyTable& table, size_t known, Members& members,
                 Each&& each) {
    size_t next = 0;
    for (auto field : object) {
        od::field f = ok(std::move(field));
        const std::string_view key = keyOf(f);
        const size_t slot = table.find(key, next);
        if (slot >= known) {
            members.unknown(key);
            continue;
        }
        members.read(slot, [&] { each(slot, f.value()); });
    }
}

int16_t int16Of(od::value v, const Path& path) {
    // Most numbers are plain whole numbers; a failed try leaves the value to be read again.
    int64_t whole = 0;
    if (v.get_int64().get(whole) == simdjson::SUCCESS && whole >= -32768 && whole <= 32767)
        return static_cast<int16_t>(whole);
    if (typeOf(v) != od::json_type::number) fail(path, QStringLiteral("expected a number"));
    const double d = ok(v.get_double());
    if (d < -32768 || d > 32767)
        fail(path, numberText(d) + QStringLiteral(" is out of range (-32768 to 32767)"));
    if (std::trunc(d) != d) fail(path, numberText(d) + QStringLiteral(" is not a whole number"));
    return static_cast<int16_t>(d);
}

QString textOf(od::value v, const Path& path) {
    if (typeOf(v) != od::json_type::string) fail(path, QStringLiteral("expected a text"));
    const std::string_view bytes = ok(v.get_string());
    QString s = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // A counted string holds at most 65535 bytes; refuse rather than cut the text.
    if (s.size() > store::dvl::MaxStringBytes &&
        store::text::toCp1252(s).size() > store::dvl::MaxStringBytes)
        fail(path, QStringLiteral("longer than %1 bytes").arg(store::dvl::MaxStringBytes));
    return s;
}

// A nested object of whole numbers such as "date", its keys `names`; a key missing reads as 0.
template <const auto& names> void readGroup(od::value v, const Path& path, int16_t* into) {
    constexpr size_t K = std::size(names);
    std::array<int16_t, K> values{};
    static const KeyTable table(names);
    Members members(path, K);
    readMembers(objectOf(v, path), table, K, members, [&](size_t slot, od::value value) {
        values[slot] = int16Of(value, child(path, names[slot]));
    });
    members.done();
    std::copy(values.begin(), values.end(), into);
}

store::DiveRecord readDive(od::value v, const Path& path) {
    enum : size_t { Date, Entry, Exit, DiveData };
    constexpr size_t ListData = DiveData + std::size(store::jsonkeys::DiveData);
    constexpr size_t Comments = ListData + std::size(store::jsonkeys::ListData);
    constexpr size_t Conditions = Comments + 1, Rating = Conditions + 1, Profile = Rating + 1;
    constexpr size_t Number = Profile + 1, Slots = Number + 1;
    // The format's order, which is the order what is wrong is named in.
    static const std::array<const char*, Slots> names = [] {
        std::array<const char*, Slots> all{"date", "entry", "exit"};
        std::copy(std::begin(store::jsonkeys::DiveData), std::end(store::jsonkeys::DiveData),
                  all.begin() + DiveData);
        std::copy(std::begin(store::jsonkeys::ListData), std::end(store::jsonkeys::ListData),
                  all.begin() + ListData);
        all[Comments] = "comments";
        all[Conditions] = "conditions";
        all[Rating] = "rating";
        all[Profile] = "profile";
        all[Number] = "number"; // written by dump, never read: the position gives the number
        return all;
    }();

    store::DiveRecord d;
    static const KeyTable table(names);
    Members members(path, Slots);
    readMembers(objectOf(v, path), table, Slots, members, [&](size_t slot, od::value value) {
        const Path at = child(path, names[slot]);
        switch (slot) {
        case Date:
            return readGroup<store::jsonkeys::Date>(value, at, d.TimeData.data());
        case Entry:
            return readGroup<store::jsonkeys::Clock>(value, at, d.TimeData.data() + 3);
        case Exit:
            return readGroup<store::jsonkeys::Clock>(value, at, d.TimeData.data() + 5);
        case Comments:
            d.Comments = textOf(value, at);
            return;
        case Conditions:
            return readGroup<store::jsonkeys::Conditions>(value, at, d.CondData.data());
        case Rating:
            d.Rating = int16Of(value, at);
            return;
        case Profile:
            d.ProfileNum = int16Of(value, at);
            return;
        case Number:
            return walk(value);
        default:
            (slot < ListData ? d.DiveData[slot - DiveData] : d.ListData[slot - ListData]) =
                int16Of(value, at);
        }
    });
    members.done();
    return d;
}

// Reads the items of an array in turn with `each(value, path, index)`. How many there are is
// checked before what is wrong with any of them; returns the count.
template <typename Each>
size_t readArray(od::value v, const Path& path, size_t most, const char* what, const char* holds,
                 Each&& each) {
    size_t count = 0;
    QString wrong;
    for (auto element : arrayOf(v, path)) {
        od::value e = ok(std::move(element));
        if (count < most && wrong.isEmpty()) {
            try {
                each(e, item(path, static_cast<qsizetype>(count)), count);
            } catch (const BadField& bad) {
                wrong = bad.message;
            }
        }
        ++count;
    }
    if (count > most)
        fail(path, QStringLiteral("%1 %2; %3 %4")
                       .arg(count)
                       .arg(QLatin1String(what), QLatin1String(holds))
                       .arg(most));
    if (!wrong.isEmpty()) throw BadField{wrong};
    return count;
}

// The dives, a list or the profiles at the top: between 1 (0 with `emptyReason` null) and
// `most` items.
template <typename Each>
void readTopArray(od::value v, const char* key, size_t most, const char* emptyReason, Each&& each) {
    const Path path{nullptr, key, -1};
    if (readArray(v, path, most, "items", "the file holds at most", each) == 0 && emptyReason)
        fail(path, QLatin1String(emptyReason));
}

store::ListEntry readEntry(od::value v, const Path& path, bool withPicture) {
    static const char* const names[] = {"name", "info", "picture"};
    const size_t count = withPicture ? 3 : 2;
    store::ListEntry e;
    QString* into[] = {&e.Name, &e.Info, &e.Picture};
    static const KeyTable table(names);
    Members members(path, count);
    readMembers(objectOf(v, path), table, count, members, [&](size_t slot, od::value value) {
        *into[slot] = textOf(value, child(path, names[slot]));
    });
    members.done();
    return e;
}

store::ProfileRecord readProfile(od::value v, const Path& path) {
    enum : size_t { Times, Depths, Notes, Slots };
    static const char* const names[Slots] = {"times", "depths", "notes"};
    store::ProfileRecord p;
    static const KeyTable table(names);
    Members members(path, Slots);
    readMembers(objectOf(v, path), table, Slots, members, [&](size_t slot, od::value value) {
        const Path at = child(path, names[slot]);
        if (slot == Notes) {
            p.Notes = {};
            readArray(value, at, store::ProfileRecord::NoteCount, "texts", "a profile holds",
                      [&p](od::value n, const Path& np, size_t k) { p.Notes[k] = textOf(n, np); });
            return;
        }
        auto& points = slot == Times ? p.Times : p.Depths;
        points = {};
        readArray(value, at, points.size(), "values", "a profile holds",
                  [&points](od::value n, const Path& np, size_t k) { points[k] = int16Of(n, np); });
    });
    members.done();
    return p;
}

// Nothing after the top object but white space.
void checkEnd(od::document& doc) {
    const char* at = nullptr;
    if (doc.current_location().get(at) != simdjson::OUT_OF_BOUNDS)
        throw BadJson{simdjson::TRAILING_CONTENT};
}

// Reads the whole document into `state`; throws for the first thing wrong.
void readLog(od::document& doc, store::AppState& state) {
    od::object top;
    if (doc.get_object().get(top) != simdjson::SUCCESS)
        throw BadField{QStringLiteral("not valid JSON for a log: expected an object at the top")};
    // The format's order, which is the order what is wrong is named in; the diver, offset and
    // files belong to the caller's settings and are read past, never used.
    enum : size_t { Dives, Lists, Profiles = Lists + 4, Diver, Offset, Files, Slots };
    static const char* const names[Slots] = {"dives",
                                             store::jsonkeys::Lists[0],
                                             store::jsonkeys::Lists[1],
                                             store::jsonkeys::Lists[2],
                                             store::jsonkeys::Lists[3],
                                             "profiles",
                                             "diver",
                                             "offset",
                                             "files"};
    std::vector<store::DiveRecord> dives;
    store::RefList lists[4];
    std::vector<store::ProfileRecord> profiles;
    bool seen[Slots] = {};
    const Path topPath;
    static const KeyTable table(names);
    Members members(topPath, Slots);
    readMembers(top, table, Slots, members, [&](size_t slot, od::value value) {
        seen[slot] = true;
        if (slot == Dives) {
            dives.assign(1, store::DiveRecord()); // record 0 is the empty one a log always has
            readTopArray(value, names[slot], store::MaxDives,
                         "a log always holds at least one dive",
                         [&dives](od::value v, const Path& path, size_t) {
                             dives.push_back(readDive(v, path));
                         });
        } else if (slot < Profiles) {
            store::RefList& list = lists[slot - Lists];
            list.clear();
            // The header stores the highest index as a 16-bit number.
            readTopArray(value, names[slot], 32768, "a list always holds at least one entry",
                         [&list, slot](od::value v, const Path& path, size_t) {
                             list.push_back(
                                 readEntry(v, path, slot == Lists + store::field::Location));
                         });
        } else if (slot == Profiles) {
            profiles.clear();
            readTopArray(value, names[slot], 32768, nullptr,
                         [&profiles](od::value v, const Path& path, size_t) {
                             profiles.push_back(readProfile(v, path));
                         });
        } else {
            walk(value);
        }
    });
    for (size_t slot = Dives; slot < Profiles; ++slot)
        if (!seen[slot])
            members.missing(slot, QLatin1String(names[slot]) + QStringLiteral(": missing"));
    members.done();
    checkEnd(doc);

    // Record 0 always exists; dives never refer to it.
    if (profiles.empty()) profiles.emplace_back();
    state.Dives = std::move(dives);
    for (int which = 0; which < 4; ++which)
        state.list(which) = std::move(lists[which]);
    state.Profiles = std::move(profiles);
    state.CurrentDive = state.DiveCount();
}

// Why the text is not JSON, or an empty text when it is: every value read to its end.
QString notJson(od::parser& parser, const simdjson::padded_string_view& text) {
    od::document doc;
    simdjson::error_code e = parser.iterate(text).get(doc);
    try {
        if (e != simdjson::SUCCESS) throw BadJson{e};
        // A bare number, text, true, false or null at the top is JSON, but never a log.
        const od::json_type type = ok(doc.type());
        if (type == od::json_type::object || type == od::json_type::array) {
            walk(ok(doc.get_value()));
            checkEnd(doc);
        } else {
            walkScalar(doc, type);
        }
        return {};
    } catch (const BadJson& bad) {
        e = bad.code;
    }
    QString where;
    const char* at = nullptr;
    // Only a document the parser took knows where it stopped.
    if (doc.is_alive() && doc.current_location().get(at) == simdjson::SUCCESS && at >= text.data())
        where = QStringLiteral(" at byte %1").arg(at - text.data());
    QString why = QLatin1String(simdjson::error_message(e));
    if (why.endsWith(QLatin1Char('.'))) why.chop(1);
    return QStringLiteral("not valid JSON: %1%2").arg(why, where);
}

} // namespace

QString loadJson(const QByteArray& json, store::AppState& state) {
    // The parser reads a little past the end of the text: a buffer that has the room is used
    // as it stands, any other is copied once.
    const char* data = json.constData();
    size_t size = static_cast<size_t>(json.size());
    size_t room = static_cast<size_t>(json.capacity());
    simdjson::padded_string copy;
    if (room < size + simdjson::SIMDJSON_PADDING) {
        copy = simdjson::padded_string(data, size);
        data = copy.data();
        room = size + simdjson::SIMDJSON_PADDING;
    }
    // A byte order mark is not part of the JSON.
    if (json.startsWith("\xEF\xBB\xBF")) {
        data += 3;
        size -= 3;
        room -= 3;
    }
    const simdjson::padded_string_view text(data, size, room);
    od::parser parser;
    try {
        od::document doc = ok(parser.iterate(text));
        readLog(doc, state);
        return {};
    } catch (const BadJson&) {
    } catch (const BadField& bad) {
        // What is wrong with a field counts only in a file that is JSON throughout.
        if (const QString why = notJson(parser, text); !why.isEmpty()) return why;
        return bad.message;
    }
    return notJson(parser, text);
}

} // namespace cli
