#include "Text.h"

#include <algorithm>
#include <array>

namespace store {

namespace {

// Unicode for bytes 0x80..0x9F; the undefined ones map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Unicode of every byte; one lookup per byte keeps reading a large log cheap.
constexpr std::array<char16_t, 256> makeDecodeTable() {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[static_cast<size_t>(b)] =
            (b >= 0x80 && b < 0xA0) ? kHigh[static_cast<size_t>(b - 0x80)] : char16_t(b);
    return t;
}
constexpr std::array<char16_t, 256> kDecode = makeDecodeTable();

// Characters outside Latin-1 or in its C1 range: the 32 special bytes, or '?'.
char encodeSpecial(char16_t c) {
    for (int i = 0; i < 32; ++i)
        if (kHigh[static_cast<size_t>(i)] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

namespace text {

QString fromCp1252(const char* data, qsizetype size) {
    if (size <= 0)
        return {};
    const auto* src = reinterpret_cast<const unsigned char*>(data);
    QString out(size, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    // Windows-1252 is Latin-1 except for 0x80-0x9F. Widen every byte as Latin-1 and note the
    // smallest b - 0x80 on the way (a loop the compiler turns into vector code); only a text
    // that holds one of those 32 bytes needs the lookup table.
    unsigned char least = 0xFF;
    for (qsizetype k = 0; k < size; ++k) {
        dst[k] = src[k];
        least = std::min<unsigned char>(least, static_cast<unsigned char>(src[k] - 0x80));
    }
    if (least < 0x20)
        for (qsizetype k = 0; k < size; ++k)
            dst[k] = kDecode[src[k]];
    return out;
}

qsizetype encodeCp1252(const QString& s, char* dst, qsizetype maxBytes) {
    return encodeCp1252(reinterpret_cast<const char16_t*>(s.constData()), s.size(), dst, maxBytes);
}

qsizetype encodeCp1252(const char16_t* src, qsizetype n, char* dst, qsizetype maxBytes) {
    qsizetype out = 0;
    for (qsizetype i = 0; i < n && out < maxBytes; ++i) {
        // Eight characters at a time while they are plain ASCII (a loop the compiler turns
        // into vector code); a text outside ASCII still has long ASCII stretches.
        while (i + 8 <= n && out + 8 <= maxBytes) {
            char16_t all = 0;
            for (int k = 0; k < 8; ++k)
                all |= src[i + k];
            if (all >= 0x80)
                break;
            for (int k = 0; k < 8; ++k)
                dst[out + k] = static_cast<char>(src[i + k]);
            i += 8;
            out += 8;
        }
        if (i >= n || out >= maxBytes)
            break;
        const char16_t c = src[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            dst[out++] = static_cast<char>(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1])) {
            // A surrogate pair is one character that the code page cannot hold: one '?'.
            dst[out++] = '?';
            ++i;
        } else {
            dst[out++] = encodeSpecial(c);
        }
    }
    return out;
}

void appendCp1252(QByteArray& out, const QString& s) {
    const qsizetype start = out.size();
    out.resize(start + s.size());
    out.resize(start + encodeCp1252(s, out.data() + start, s.size()));
}

QByteArray toCp1252(const QString& s) {
    QByteArray out;
    appendCp1252(out, s);
    return out;
}

QStringList unstorable(const QString& s) {
    QStringList found;
    // Nearly every text is stored whole: one trip through the code page says so; only a text
    // that does not come back is searched character by character.
    if (fromCp1252(toCp1252(s)) == s) return found;
    for (qsizetype k = 0; k < s.size(); ++k) {
        const bool pair = s[k].isHighSurrogate() && k + 1 < s.size() && s[k + 1].isLowSurrogate();
        const QString c = s.mid(k, pair ? 2 : 1);
        if (pair) ++k;
        if (fromCp1252(toCp1252(c)) != c && !found.contains(c)) found << c;
    }
    return found;
}

} // namespace text

} // namespace store
