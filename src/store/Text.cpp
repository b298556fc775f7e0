#include "Text.h"

#include <array>

namespace {

// Unicode for bytes 0x80..0x9F; the undefined ones map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[static_cast<size_t>(i)] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

namespace text {

QString fromCp1252(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80u]) : QChar(b);
    }
    return out;
}

void appendCp1252(QByteArray& out, const QString& s) {
    const qsizetype start = out.size();
    out.resize(start + s.size());
    char* dst = out.data() + start;
    const QChar* src = s.constData();
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = src[i].unicode();
        // Surrogate pairs are one character that the code page cannot hold: one '?'.
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && src[i + 1].isLowSurrogate()) {
            *dst++ = '?';
            ++i;
            continue;
        }
        *dst++ = encodeChar(c);
    }
    out.resize(dst - out.data());
}

QByteArray toCp1252(const QString& s) {
    QByteArray out;
    appendCp1252(out, s);
    return out;
}

} // namespace text
