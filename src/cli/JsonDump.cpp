#include "JsonDump.h"

#include "JsonKeys.h"

namespace cli {

namespace {

QByteArray num(int v) { return QByteArray::number(v); }

QByteArray key(const char* k) { return '"' + QByteArray(k) + "\": "; }

// {"k0": v0, "k1": v1, ...} over elements [first, first + count) of a record array.
template <size_t N>
QByteArray numbersObject(const char* const* names, const std::array<int16_t, N>& values,
                         size_t first, size_t count) {
    QByteArray out = "{";
    for (size_t i = 0; i < count; ++i) {
        if (i)
            out += ", ";
        out += key(names[i]) + num(values[first + i]);
    }
    return out + '}';
}

template <size_t N> QByteArray numberArray(const std::array<int16_t, N>& values) {
    QByteArray out = "[";
    for (size_t i = 0; i < N; ++i) {
        if (i)
            out += ", ";
        out += num(values[i]);
    }
    return out + ']';
}

void appendDive(QByteArray& out, const DiveRecord& d, int number) {
    out += "{" + key("number") + num(number);
    out += ", " + key("date") + numbersObject(keys::Date, d.TimeData, 0, 3);
    out += ", " + key("entry") + numbersObject(keys::Clock, d.TimeData, 3, 2);
    out += ", " + key("exit") + numbersObject(keys::Clock, d.TimeData, 5, 2);
    for (size_t i = 0; i < d.DiveData.size(); ++i)
        out += ", " + key(keys::DiveData[i]) + num(d.DiveData[i]);
    for (size_t i = 0; i < d.ListData.size(); ++i)
        out += ", " + key(keys::ListData[i]) + num(d.ListData[i]);
    out += ", " + key("comments") + jsonString(d.Comments);
    out += ", " + key("conditions") + numbersObject(keys::Conditions, d.CondData, 0, 8);
    out += ", " + key("rating") + num(d.Rating);
    out += ", " + key("profile") + num(d.ProfileNum) + '}';
}

void appendEntry(QByteArray& out, const ListEntry& e, bool withPicture) {
    out += "{" + key("name") + jsonString(e.Name) + ", " + key("info") + jsonString(e.Info);
    if (withPicture)
        out += ", " + key("picture") + jsonString(e.Picture);
    out += '}';
}

void appendProfile(QByteArray& out, const ProfileRecord& p) {
    out += "{" + key("times") + numberArray(p.Times) + ", " + key("depths") +
           numberArray(p.Depths) + ", " + key("notes") + '[';
    for (size_t i = 0; i < p.Notes.size(); ++i) {
        if (i)
            out += ", ";
        out += jsonString(p.Notes[i]);
    }
    out += "]}";
}

// "  \"name\": [\n    item,\n    item\n  ]" with one item per line.
template <typename T, typename F>
void appendArray(QByteArray& out, const char* name, const T* first, size_t count, F item) {
    out += "  " + key(name) + '[';
    for (size_t i = 0; i < count; ++i) {
        out += i ? ",\n    " : "\n    ";
        item(out, first[i], i);
    }
    out += count ? "\n  ]" : "]";
}

} // namespace

QByteArray jsonString(const QString& s) {
    QByteArray out = "\"";
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'"':
            out += "\\\"";
            continue;
        case u'\\':
            out += "\\\\";
            continue;
        case u'\n':
            out += "\\n";
            continue;
        case u'\r':
            out += "\\r";
            continue;
        case u'\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || ch.isSurrogate()) {
            // A lone surrogate cannot come from a file; escaping keeps the output valid UTF-8.
            out += "\\u" + QByteArray::number(c, 16).rightJustified(4, '0');
        } else {
            out += QString(ch).toUtf8();
        }
    }
    return out + '"';
}

QByteArray dumpJson(const AppState& state) {
    QByteArray out;
    out.reserve(1024 + state.DiveCount() * 600);
    const FileSet& f = state.Files;
    out += "{\n  " + key("diver") + jsonString(state.DiverName) + ",\n";
    out += "  " + key("offset") + num(state.DiveOffset) + ",\n";
    out += "  " + key("files") + "{" + key("log") + jsonString(f.LogFile) + ", " +
           key("locations") + jsonString(f.LocFile) + ", " + key("types") +
           jsonString(f.TypeFile) + ", " + key("buddies") + jsonString(f.BudFile) + ", " +
           key("gear") + jsonString(f.GearFile) + ", " + key("profiles") +
           jsonString(f.ProfFile) + "},\n";

    const int offset = state.DiveOffset;
    appendArray(out, "dives", state.Dives.data() + 1, static_cast<size_t>(state.DiveCount()),
                [offset](QByteArray& o, const DiveRecord& d, size_t i) {
                    appendDive(o, d, static_cast<int>(i) + 1 + offset);
                });
    for (int which = 0; which < 4; ++which) {
        out += ",\n";
        const RefList& list = state.list(which);
        appendArray(out, keys::Lists[which], list.data(), list.size(),
                    [which](QByteArray& o, const ListEntry& e, size_t) {
                        appendEntry(o, e, which == field::Location);
                    });
    }
    out += ",\n";
    appendArray(out, "profiles", state.Profiles.data(), state.Profiles.size(),
                [](QByteArray& o, const ProfileRecord& p, size_t) { appendProfile(o, p); });
    out += "\n}\n";
    return out;
}

} // namespace cli
