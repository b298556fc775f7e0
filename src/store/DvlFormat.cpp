#include "DvlFormat.h"

#include "Text.h"

#include <QtEndian>

#include <algorithm>

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
        for (size_t i = 0; i < N; ++i)
            a[i] = qFromLittleEndian<qint16>(d.constData() + pos + 2 * static_cast<qsizetype>(i));
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
        QString ignored;
        return readString(ignored);
    }
    qsizetype remaining() const { return d.size() - pos; }

private:
    const QByteArray& d;
    qsizetype pos = 0;
};

void putInt16(QByteArray& out, int16_t v) {
    char b[2];
    qToLittleEndian<qint16>(v, b);
    out.append(b, 2);
}

template <size_t N> void putArray(QByteArray& out, const std::array<int16_t, N>& a) {
    for (int16_t v : a)
        putInt16(out, v);
}

void putString(QByteArray& out, const QString& s) {
    const qsizetype lenPos = out.size();
    out.append(2, '\0');
    text::appendCp1252(out, s);
    qsizetype len = out.size() - lenPos - 2;
    if (len > dvl::MaxStringBytes) {
        out.truncate(lenPos + 2 + dvl::MaxStringBytes);
        len = dvl::MaxStringBytes;
    }
    qToLittleEndian<quint16>(static_cast<quint16>(len), out.data() + lenPos);
}

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

// Reserve no more records than the remaining bytes could hold.
template <typename V> void reserveBounded(V& v, int n, qsizetype remaining, qsizetype minSize) {
    v.reserve(static_cast<size_t>(std::min<qsizetype>(n, remaining / minSize)));
}

} // namespace

namespace dvl {

std::vector<DiveRecord> parseLog(const QByteArray& data, QString* problem) {
    ByteReader r(data);
    const int n = announced(r, false, problem, "dive count");
    std::vector<DiveRecord> dives;
    reserveBounded(dives, n, r.remaining(), 64);
    for (int i = 0; i < n; ++i) {
        DiveRecord d;
        if (!r.readArray(d.TimeData) || !r.readArray(d.DiveData) || !r.readArray(d.ListData) ||
            !r.readString(d.Comments) || !r.readArray(d.CondData) || !r.readInt16(d.Rating) ||
            !r.readInt16(d.ProfileNum)) {
            reportCut(problem, i, n, "dives");
            break;
        }
        dives.push_back(std::move(d));
    }
    return dives;
}

void appendLog(QByteArray& out, const DiveRecord* first, int count) {
    putInt16(out, static_cast<int16_t>(count));
    for (int i = 0; i < count; ++i) {
        const DiveRecord& d = first[i];
        putArray(out, d.TimeData);
        putArray(out, d.DiveData);
        putArray(out, d.ListData);
        putString(out, d.Comments);
        putArray(out, d.CondData);
        putInt16(out, d.Rating);
        putInt16(out, d.ProfileNum);
    }
}

QByteArray serializeLog(const std::vector<DiveRecord>& dives) {
    QByteArray out;
    out.reserve(2 + static_cast<qsizetype>(dives.size()) * 80);
    appendLog(out, dives.data(), static_cast<int>(dives.size()));
    return out;
}

RefList parseList(const QByteArray& data, bool withPicture, QString* problem) {
    ByteReader r(data);
    const int n = announced(r, true, problem, "highest index");
    RefList list;
    reserveBounded(list, n, r.remaining(), 6);
    for (int i = 0; i < n; ++i) {
        ListEntry e;
        const bool ok = r.readString(e.Name) && r.readString(e.Info) &&
                        (withPicture ? r.readString(e.Picture) : r.skipString());
        if (!ok) {
            reportCut(problem, i, n, "entries");
            break;
        }
        list.push_back(std::move(e));
    }
    return list;
}

QByteArray serializeList(const RefList& list, bool withPicture) {
    QByteArray out;
    putInt16(out, static_cast<int16_t>(static_cast<int>(list.size()) - 1));
    for (const ListEntry& e : list) {
        putString(out, e.Name);
        putString(out, e.Info);
        putString(out, withPicture ? e.Picture : QString());
    }
    return out;
}

std::vector<ProfileRecord> parseProfiles(const QByteArray& data, QString* problem) {
    ByteReader r(data);
    const int n = announced(r, true, problem, "highest index");
    std::vector<ProfileRecord> profiles;
    reserveBounded(profiles, n, r.remaining(), 618);
    for (int i = 0; i < n; ++i) {
        ProfileRecord p;
        bool ok = r.readArray(p.Times) && r.readArray(p.Depths);
        for (QString& note : p.Notes)
            ok = ok && r.readString(note);
        if (!ok) {
            reportCut(problem, i, n, "profiles");
            break;
        }
        profiles.push_back(std::move(p));
    }
    return profiles;
}

QByteArray serializeProfiles(const std::vector<ProfileRecord>& profiles) {
    QByteArray out;
    out.reserve(2 + static_cast<qsizetype>(profiles.size()) * 620);
    putInt16(out, static_cast<int16_t>(static_cast<int>(profiles.size()) - 1));
    for (const ProfileRecord& p : profiles) {
        putArray(out, p.Times);
        putArray(out, p.Depths);
        for (const QString& note : p.Notes)
            putString(out, note);
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
    QByteArray out;
    putInt16(out, static_cast<int16_t>(divers.size()));
    for (const DiverEntry& e : divers) {
        putString(out, e.Name);
        for (const QString& name : e.Files.names())
            putString(out, name);
    }
    return out;
}

} // namespace dvl
