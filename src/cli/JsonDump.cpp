#include "JsonDump.h"

#include "store/JsonKeys.h"
#include "output/ByteWriter.h"

namespace cli {

namespace {

using output::ByteWriter;

// A dump of a full log is tens of megabytes of short pieces: every piece is copied straight
// into one growing buffer, with no temporary strings on the way.
void num(ByteWriter& out, int v) {
    char text[12];
    char* end = text + sizeof text;
    char* p = end;
    unsigned m = v < 0 ? 0U - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    do {
        *--p = static_cast<char>('0' + m % 10);
        m /= 10;
    } while (m != 0);
    if (v < 0)
        *--p = '-';
    out.put(std::string_view(p, static_cast<size_t>(end - p)));
}

// "\"k\": "
void key(ByteWriter& out, const char* k) {
    out.put('"');
    out.put(std::string_view(k));
    out.put("\": ");
}

// ", \"k\": "
void nextKey(ByteWriter& out, const char* k) {
    out.put(", ");
    key(out, k);
}

// {"k0": v0, "k1": v1, ...} over elements [first, first + count) of a record array.
template <size_t N>
void numbersObject(ByteWriter& out, const char* const* names, const std::array<int16_t, N>& values,
                   size_t first, size_t count) {
    out.put('{');
    for (size_t i = 0; i < count; ++i) {
        if (i)
            out.put(", ");
        key(out, names[i]);
        num(out, values[first + i]);
    }
    out.put('}');
}

template <size_t N> void numberArray(ByteWriter& out, const std::array<int16_t, N>& values) {
    out.put('[');
    for (size_t i = 0; i < N; ++i) {
        if (i)
            out.put(", ");
        num(out, values[i]);
    }
    out.put(']');
}

constexpr char kHex[] = "0123456789abcdef";

void string(ByteWriter& out, const QString& s) {
    const qsizetype n = s.size();
    const char16_t* src = reinterpret_cast<const char16_t*>(s.constData());
    // No character takes more than six bytes ("\u001f", or three of UTF-8).
    char* const start = out.room(2 + 6 * n);
    char* d = start;
    *d++ = '"';
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c >= 0x20 && c < 0x7F) {
            if (c == u'"' || c == u'\\')
                *d++ = '\\';
            *d++ = static_cast<char>(c);
            continue;
        }
        switch (c) {
        case u'\n':
            *d++ = '\\';
            *d++ = 'n';
            continue;
        case u'\r':
            *d++ = '\\';
            *d++ = 'r';
            continue;
        case u'\t':
            *d++ = '\\';
            *d++ = 't';
            continue;
        default:
            break;
        }
        if (c < 0xA0 || QChar::isSurrogate(c)) {
            // A lone surrogate cannot come from a file; escaping keeps the output valid UTF-8.
            *d++ = '\\';
            *d++ = 'u';
            *d++ = kHex[c >> 12];
            *d++ = kHex[(c >> 8) & 0xF];
            *d++ = kHex[(c >> 4) & 0xF];
            *d++ = kHex[c & 0xF];
        } else if (c < 0x800) {
            *d++ = static_cast<char>(0xC0 | (c >> 6));
            *d++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *d++ = static_cast<char>(0xE0 | (c >> 12));
            *d++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    *d++ = '"';
    out.commit(d - start);
}

void appendDive(ByteWriter& out, const store::DiveRecord& d, int number) {
    out.put('{');
    key(out, "number");
    num(out, number);
    nextKey(out, "date");
    numbersObject(out, store::jsonkeys::Date, d.TimeData, 0, 3);
    nextKey(out, "entry");
    numbersObject(out, store::jsonkeys::Clock, d.TimeData, 3, 2);
    nextKey(out, "exit");
    numbersObject(out, store::jsonkeys::Clock, d.TimeData, 5, 2);
    for (size_t i = 0; i < d.DiveData.size(); ++i) {
        nextKey(out, store::jsonkeys::DiveData[i]);
        num(out, d.DiveData[i]);
    }
    for (size_t i = 0; i < d.ListData.size(); ++i) {
        nextKey(out, store::jsonkeys::ListData[i]);
        num(out, d.ListData[i]);
    }
    nextKey(out, "comments");
    string(out, d.Comments);
    nextKey(out, "conditions");
    numbersObject(out, store::jsonkeys::Conditions, d.CondData, 0, 8);
    nextKey(out, "rating");
    num(out, d.Rating);
    nextKey(out, "profile");
    num(out, d.ProfileNum);
    out.put('}');
}

void appendEntry(ByteWriter& out, const store::ListEntry& e, bool withPicture) {
    out.put('{');
    key(out, "name");
    string(out, e.Name);
    nextKey(out, "info");
    string(out, e.Info);
    if (withPicture) {
        nextKey(out, "picture");
        string(out, e.Picture);
    }
    out.put('}');
}

void appendProfile(ByteWriter& out, const store::ProfileRecord& p) {
    out.put('{');
    key(out, "times");
    numberArray(out, p.Times);
    nextKey(out, "depths");
    numberArray(out, p.Depths);
    nextKey(out, "notes");
    out.put('[');
    for (size_t i = 0; i < p.Notes.size(); ++i) {
        if (i)
            out.put(", ");
        string(out, p.Notes[i]);
    }
    out.put("]}");
}

// "  \"name\": [\n    item,\n    item\n  ]" with one item per line.
template <typename T, typename F>
void appendArray(ByteWriter& out, const char* name, const T* first, size_t count, F item) {
    out.put("  ");
    key(out, name);
    out.put('[');
    for (size_t i = 0; i < count; ++i) {
        out.put(i ? ",\n    " : "\n    ");
        item(out, first[i], i);
    }
    out.put(count ? "\n  ]" : "]");
}

// Enough for the usual log in one allocation: the fixed part of a dive, then its comment
// (one byte a character, more when escaped or outside ASCII; the buffer grows if need be).
qsizetype expectedSize(const store::AppState& state) {
    qsizetype bytes = 4096;
    for (size_t i = 1; i < state.Dives.size(); ++i)
        bytes += 640 + state.Dives[i].Comments.size() * 9 / 8;
    return bytes;
}

} // namespace

QByteArray jsonString(const QString& s) {
    ByteWriter out(s.size() + 2);
    string(out, s);
    return out.take();
}

QByteArray dumpJson(const store::AppState& state) {
    ByteWriter out(expectedSize(state));
    const store::FileSet& f = state.Files;
    out.put("{\n  ");
    key(out, "diver");
    string(out, state.DiverName);
    out.put(",\n  ");
    key(out, "offset");
    num(out, state.DiveOffset);
    out.put(",\n  ");
    key(out, "files");
    out.put('{');
    key(out, "log");
    string(out, f.LogFile);
    nextKey(out, "locations");
    string(out, f.LocFile);
    nextKey(out, "types");
    string(out, f.TypeFile);
    nextKey(out, "buddies");
    string(out, f.BudFile);
    nextKey(out, "gear");
    string(out, f.GearFile);
    nextKey(out, "profiles");
    string(out, f.ProfFile);
    out.put("},\n");

    const int offset = state.DiveOffset;
    appendArray(out, "dives", state.Dives.data() + 1, static_cast<size_t>(state.DiveCount()),
                [offset](ByteWriter& o, const store::DiveRecord& d, size_t i) {
                    appendDive(o, d, static_cast<int>(i) + 1 + offset);
                });
    for (int which = 0; which < 4; ++which) {
        out.put(",\n");
        const store::RefList& list = state.list(which);
        appendArray(out, store::jsonkeys::Lists[which], list.data(), list.size(),
                    [which](ByteWriter& o, const store::ListEntry& e, size_t) {
                        appendEntry(o, e, which == store::field::Location);
                    });
    }
    out.put(",\n");
    appendArray(out, "profiles", state.Profiles.data(), state.Profiles.size(),
                [](ByteWriter& o, const store::ProfileRecord& p, size_t) { appendProfile(o, p); });
    out.put("\n}\n");
    return out.take();
}

} // namespace cli
