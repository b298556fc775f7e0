#include "DvlFormat.h"

#include "Text.h"

#include <QtEndian>

#include <algorithm>

namespace store {

namespace {

class ByteReader {
public:
    explicit ByteReader(const QByteArray& data) : d(data) {}

    bool readInt16(int16_t& v) {
        if (d.size() - pos < 2)
            return false;
        v = qFromLittleEndian<qint16>(d.constData() + pos);
        pos += 2;
        return true;
    }
    template <size_t N> bool readArray(std::array<int16_t, N>& a) {
        if (d.size() - pos < static_cast<qsizetype>(2 * N))
            return false;
        qFromLittleEndian<qint16>(d.constData() + pos, static_cast<qsizetype>(N), a.data());
        pos += 2 * static_cast<qsizetype>(N);
        return true;
    }
    bool readString(QString& s) {
        if (d.size() - pos < 2)
            return false;
        const qsizetype len = qFromLittleEndian<quint16>(d.constData() + pos);
        if (d.size() - pos - 2 < len)
            return false;
        s = text::fromCp1252(d.constData() + pos + 2, len);
        pos += 2 + len;
        return true;
    }
    bool skipString() {
        if (d.size() - pos < 2)
            return false;
        const qsizetype len = qFromLittleEndian<quint16>(d.constData() + pos);
        if (d.size() - pos - 2 < len)
            return false;
        pos += 2 + len;
        return true;
    }
    qsizetype remaining() const { return d.size() - pos; }
    bool atStart() const { return pos == 0; }

private:
    const QByteArray& d;
    qsizetype pos = 0;
};

// Writes a whole file into a buffer sized once for the worst case (every text one byte per
// character) and trims it when it goes out of scope: growing a buffer number by number was
// most of the cost of a save.
class ByteWriter {
public:
    ByteWriter(QByteArray& target, qsizetype most) : out(target), start(target.size()) {
        out.resize(start + most);
        p = out.data() + start;
    }
    ~ByteWriter() { out.resize(p - out.constData()); }

    void int16(int16_t v) {
        qToLittleEndian<qint16>(v, p);
        p += 2;
    }
    template <size_t N> void array(const std::array<int16_t, N>& a) {
        qToLittleEndian<qint16>(a.data(), static_cast<qsizetype>(N), p);
        p += 2 * static_cast<qsizetype>(N);
    }
    void string(const QString& s) {
        const qsizetype len = text::encodeCp1252(s, p + 2, dvl::MaxStringBytes);
        qToLittleEndian<quint16>(static_cast<quint16>(len), p);
        p += 2 + len;
    }
    // Room a string can take at most.
    static qsizetype bound(const QString& s) {
        return 2 + std::min<qsizetype>(s.size(), dvl::MaxStringBytes);
    }

private:
    QByteArray& out;
    qsizetype start;
    char* p = nullptr;
};

// Number of records the header announces; `highestIndex` files store count - 1.
int announced(ByteReader& r, bool highestIndex, QString* problem, const char* what) {
    int16_t head = 0;
    if (!r.readInt16(head)) {
        if (problem && r.remaining() == 1)
            *problem = QStringLiteral("the file is too short to hold its %1").arg(QLatin1String(what));
        return 0;
    }
    const int n = highestIndex ? head + 1 : head;
    if (n < 0) {
        if (problem)
            *problem = QStringLiteral("the %1 is negative (%2); read as empty")
                           .arg(QLatin1String(what))
                           .arg(head);
        return 0;
    }
    return n;
}

void reportCut(QString* problem, int got, int want, const char* noun) {
    if (problem)
        *problem = QStringLiteral("the file ends after %1 of %2 %3; the rest was dropped")
                       .arg(got)
                       .arg(want)
                       .arg(QLatin1String(noun));
}

// Counts what the bytes after the announced records read as. `readOne` reads one record into
// scratch space and returns false when the bytes left do not hold a whole one.
template <typename ReadOne>
void measureLeftover(ByteReader& r, dvl::Leftover* rest, ReadOne readOne) {
    if (!rest)
        return;
    *rest = {};
    if (r.atStart()) // not even the header was there
        return;
    rest->bytes = r.remaining();
    // A file cannot count more records than this, so there is no need to look further.
    while (r.remaining() > 0 && rest->records < 32768 && readOne())
        ++rest->records;
    rest->exact = rest->records > 0 && r.remaining() == 0;
}

bool readDive(ByteReader& r, DiveRecord& d) {
    return r.readArray(d.TimeData) && r.readArray(d.DiveData) && r.readArray(d.ListData) &&
           r.readString(d.Comments) && r.readArray(d.CondData) && r.readInt16(d.Rating) &&
           r.readInt16(d.ProfileNum);
}

bool readEntry(ByteReader& r, ListEntry& e, bool withPicture) {
    return r.readString(e.Name) && r.readString(e.Info) &&
           (withPicture ? r.readString(e.Picture) : r.skipString());
}

bool readProfile(ByteReader& r, ProfileRecord& p) {
    bool ok = r.readArray(p.Times) && r.readArray(p.Depths);
    for (QString& note : p.Notes)
        ok = ok && r.readString(note);
    return ok;
}

// Reserve no more records than the remaining bytes could hold.
template <typename V> void reserveBounded(V& v, int n, qsizetype remaining, qsizetype minSize) {
    v.reserve(static_cast<size_t>(std::min<qsizetype>(n, remaining / minSize)));
}

} // namespace

namespace dvl {

void appendParsedLog(const QByteArray& data, std::vector<DiveRecord>& into, QString* problem,
                     Leftover* rest) {
    ByteReader r(data);
    const int n = announced(r, false, problem, "dive count");
    // No more records than the remaining bytes could hold, whatever the count says.
    into.reserve(into.size() + static_cast<size_t>(std::min<qsizetype>(n, r.remaining() / 64)));
    for (int i = 0; i < n; ++i) {
        if (!readDive(r, into.emplace_back())) {
            into.pop_back();
            reportCut(problem, i, n, "dives");
            return;
        }
    }
    DiveRecord scratch;
    measureLeftover(r, rest, [&] { return readDive(r, scratch); });
}

std::vector<DiveRecord> parseLog(const QByteArray& data, QString* problem) {
    std::vector<DiveRecord> dives;
    appendParsedLog(data, dives, problem);
    return dives;
}

void appendLog(QByteArray& out, const DiveRecord* first, int count) {
    qsizetype most = 2;
    for (int i = 0; i < count; ++i)
        most += 62 + ByteWriter::bound(first[i].Comments);
    ByteWriter w(out, most);
    w.int16(static_cast<int16_t>(count));
    for (int i = 0; i < count; ++i) {
        const DiveRecord& d = first[i];
        w.array(d.TimeData);
        w.array(d.DiveData);
        w.array(d.ListData);
        w.string(d.Comments);
        w.array(d.CondData);
        w.int16(d.Rating);
        w.int16(d.ProfileNum);
    }
}

QByteArray serializeLog(const std::vector<DiveRecord>& dives) {
    QByteArray out;
    appendLog(out, dives.data(), static_cast<int>(dives.size()));
    return out;
}

RefList parseList(const QByteArray& data, bool withPicture, QString* problem, Leftover* rest) {
    ByteReader r(data);
    const int n = announced(r, true, problem, "highest index");
    RefList list;
    reserveBounded(list, n, r.remaining(), 6);
    for (int i = 0; i < n; ++i) {
        ListEntry e;
        if (!readEntry(r, e, withPicture)) {
            reportCut(problem, i, n, "entries");
            return list;
        }
        list.push_back(std::move(e));
    }
    ListEntry scratch;
    measureLeftover(r, rest, [&] { return readEntry(r, scratch, withPicture); });
    return list;
}

QByteArray serializeList(const RefList& list, bool withPicture) {
    qsizetype most = 2;
    for (const ListEntry& e : list)
        most += ByteWriter::bound(e.Name) + ByteWriter::bound(e.Info) +
                (withPicture ? ByteWriter::bound(e.Picture) : 2);
    QByteArray out;
    {
        ByteWriter w(out, most);
        w.int16(static_cast<int16_t>(static_cast<int>(list.size()) - 1));
        for (const ListEntry& e : list) {
            w.string(e.Name);
            w.string(e.Info);
            w.string(withPicture ? e.Picture : QString());
        }
    }
    return out;
}

std::vector<ProfileRecord> parseProfiles(const QByteArray& data, QString* problem,
                                         Leftover* rest) {
    ByteReader r(data);
    const int n = announced(r, true, problem, "highest index");
    std::vector<ProfileRecord> profiles;
    reserveBounded(profiles, n, r.remaining(), 618);
    for (int i = 0; i < n; ++i) {
        // Read in place: a record is 600 bytes.
        if (!readProfile(r, profiles.emplace_back())) {
            profiles.pop_back();
            reportCut(problem, i, n, "profiles");
            return profiles;
        }
    }
    ProfileRecord scratch;
    measureLeftover(r, rest, [&] { return readProfile(r, scratch); });
    return profiles;
}

QByteArray serializeProfiles(const std::vector<ProfileRecord>& profiles) {
    qsizetype most = 2;
    for (const ProfileRecord& p : profiles) {
        most += 4 * ProfileRecord::PointSlots;
        for (const QString& note : p.Notes)
            most += ByteWriter::bound(note);
    }
    QByteArray out;
    {
        ByteWriter w(out, most);
        w.int16(static_cast<int16_t>(static_cast<int>(profiles.size()) - 1));
        for (const ProfileRecord& p : profiles) {
            w.array(p.Times);
            w.array(p.Depths);
            for (const QString& note : p.Notes)
                w.string(note);
        }
    }
    return out;
}

std::vector<DiverEntry> parseDivers(const QByteArray& data, QString* problem) {
    ByteReader r(data);
    const int n = announced(r, false, problem, "diver count");
    std::vector<DiverEntry> divers;
    reserveBounded(divers, n, r.remaining(), 14);
    for (int i = 0; i < n; ++i) {
        DiverEntry e;
        FileSet& f = e.Files;
        const bool ok = r.readString(e.Name) && r.readString(f.LogFile) &&
                        r.readString(f.LocFile) && r.readString(f.TypeFile) &&
                        r.readString(f.BudFile) && r.readString(f.GearFile) &&
                        r.readString(f.ProfFile);
        if (!ok) {
            reportCut(problem, i, n, "divers");
            break;
        }
        divers.push_back(std::move(e));
    }
    return divers;
}

QByteArray serializeDivers(const std::vector<DiverEntry>& divers) {
    qsizetype most = 2;
    for (const DiverEntry& e : divers) {
        most += ByteWriter::bound(e.Name);
        for (const QString& name : e.Files.names())
            most += ByteWriter::bound(name);
    }
    QByteArray out;
    {
        ByteWriter w(out, most);
        w.int16(static_cast<int16_t>(divers.size()));
        for (const DiverEntry& e : divers) {
            w.string(e.Name);
            for (const QString& name : e.Files.names())
                w.string(name);
        }
    }
    return out;
}

} // namespace dvl

} // namespace store
