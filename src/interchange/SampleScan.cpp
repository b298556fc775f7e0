#include "SampleScan.h"

#include <cstdlib>
#include <cstring>

namespace interchange {

namespace {

bool space(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}
bool nameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}
bool startsWith(const char* p, const char* end, const char* word) {
    const size_t n = std::strlen(word);
    return static_cast<size_t>(end - p) >= n && std::memcmp(p, word, n) == 0;
}

// A number written as an element's whole text, blanks around it allowed.
bool number(const char* from, const char* to, double* v) {
    while (from < to && space(*from))
        ++from;
    while (to > from && space(to[-1]))
        --to;
    char buffer[64];
    const size_t n = static_cast<size_t>(to - from);
    if (n == 0 || n >= sizeof buffer) return false;
    std::memcpy(buffer, from, n);
    buffer[n] = '\0';
    char* stop = nullptr;
    *v = std::strtod(buffer, &stop);
    return stop == buffer + n;
}

// The waypoints between `p` and `end` (the inside of one <samples> element). False when
// anything is not of the plain form; the XML reader then reads the block.
bool scanBlock(const char* p, const char* end, ScannedSamples& out) {
    for (;;) {
        while (p < end && space(*p))
            ++p;
        if (p == end) return true;
        if (!startsWith(p, end, "<waypoint>")) return false;
        p += 10;
        Sample s;
        bool time = false;
        for (;;) {
            while (p < end && space(*p))
                ++p;
            if (startsWith(p, end, "</waypoint>")) {
                p += 11;
                break;
            }
            if (p == end || *p != '<') return false;
            const char* name = ++p;
            while (p < end && nameChar(*p))
                ++p;
            const size_t nameSize = static_cast<size_t>(p - name);
            if (nameSize == 0) return false;
            // Attributes (a tank pressure's link) are passed over; their values hold no '<'.
            bool empty = false;
            while (p < end && *p != '>') {
                if (*p == '<' || *p == '&') return false;
                if (*p == '/' && p + 1 < end && p[1] == '>') empty = true;
                ++p;
            }
            if (p == end) return false;
            ++p;
            if (empty) continue;
            const char* text = p;
            while (p < end && *p != '<') {
                if (*p == '&') return false;
                ++p;
            }
            if (end - p < static_cast<ptrdiff_t>(nameSize + 3) || p[1] != '/' ||
                std::memcmp(p + 2, name, nameSize) != 0 || p[2 + nameSize] != '>')
                return false;
            const char* textEnd = p;
            p += nameSize + 3;
            double v = 0;
            const bool read = number(text, textEnd, &v);
            auto is = [&](const char* w) {
                return nameSize == std::strlen(w) && std::memcmp(name, w, nameSize) == 0;
            };
            if (is("depth")) {
                s.depth = read ? v : 0;
            } else if (is("divetime")) {
                time = read;
                s.seconds = read ? v : 0;
            } else if (is("temperature") && read && v > 0) {
                out.lowestKelvin = out.temperature ? std::min(out.lowestKelvin, v) : v;
                out.temperature = true;
            }
        }
        if (time && (out.samples.empty() || s.seconds >= out.samples.back().seconds))
            out.samples.push_back(s);
    }
}

} // namespace

SampleScan scanSamples(const QByteArray& document) {
    SampleScan scan;
    const char* begin = document.constData();
    const char* end = begin + document.size();
    // Only UTF-8 (or ASCII) without comments or CDATA, where every "<samples>" is an element.
    const QByteArray head = document.left(200).toLower();
    const bool otherEncoding =
        head.startsWith("\xff\xfe") || head.startsWith("\xfe\xff") ||
        (head.contains("encoding=") && !head.contains("encoding=\"utf-8\"") &&
         !head.contains("encoding='utf-8'"));
    if (otherEncoding || document.contains("<!--") || document.contains("<![CDATA[")) {
        scan.reduced = document;
        return scan;
    }
    scan.reduced.reserve(document.size() / 8);
    const char* copied = begin;
    for (qsizetype at = document.indexOf("<samples>"); at >= 0;
         at = document.indexOf("<samples>", at + 1)) {
        const char* inside = begin + at + 9;
        const qsizetype close = document.indexOf("</samples>", at);
        if (close < 0) break;
        ScannedSamples block;
        if (!scanBlock(inside, begin + close, block)) continue;
        scan.reduced.append(copied, inside - copied);
        scan.reduced.append("<?").append(SampleBlockTarget).append(' ');
        scan.reduced.append(QByteArray::number(static_cast<qulonglong>(scan.blocks.size())));
        scan.reduced.append("?>");
        for (const char* p = inside; p < begin + close; ++p)
            if (*p == '\n') scan.reduced.append('\n');
        copied = begin + close;
        scan.blocks.push_back(std::move(block));
        at = close;
    }
    scan.reduced.append(copied, end - copied);
    return scan;
}

} // namespace interchange
