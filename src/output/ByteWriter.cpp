#include "ByteWriter.h"

#include "DiveValues.h"

#include "store/Text.h"

#include <algorithm>

namespace output {

ByteWriter::ByteWriter(qsizetype expected) {
    buf_.resize(std::max<qsizetype>(expected, 256));
}

void ByteWriter::grow(qsizetype needed) {
    buf_.resize(std::max(needed, buf_.size() * 2));
}

void ByteWriter::text(const QString& s) {
    const qsizetype n = s.size();
    const char16_t* src = reinterpret_cast<const char16_t*>(s.constData());
    // Two simple passes (is it all ASCII? then narrow) that the compiler can vectorise; almost
    // every text of a logbook is plain ASCII.
    char16_t all = 0;
    for (qsizetype i = 0; i < n; ++i)
        all |= src[i];
    if (all >= 0x80) {
        // A character never takes more than one byte.
        commit(text::encodeCp1252(src, n, room(n), n));
        return;
    }
    reserveMore(n);
    char* dst = buf_.data() + used_;
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = static_cast<char>(src[i]);
    used_ += n;
}

void ByteWriter::text(const Figure& f) {
    put(f.view());
}

void ByteWriter::escaped(const QString& s) {
    const qsizetype n = s.size();
    const char16_t* src = reinterpret_cast<const char16_t*>(s.constData());
    // An entity takes at most six bytes, any other character one.
    char* const start = room(6 * n);
    char* d = start;
    qsizetype run = 0; // start of the characters not yet written
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c > u'>') continue; // the four characters to replace are all below '>'
        std::string_view entity;
        switch (c) {
        case u'&':
            entity = "&amp;";
            break;
        case u'<':
            entity = "&lt;";
            break;
        case u'>':
            entity = "&gt;";
            break;
        case u'"':
            entity = "&quot;";
            break;
        default:
            continue;
        }
        // The run before an ASCII character never ends inside a surrogate pair.
        d += text::encodeCp1252(src + run, i - run, d, i - run);
        std::memcpy(d, entity.data(), entity.size());
        d += entity.size();
        run = i + 1;
    }
    d += text::encodeCp1252(src + run, n - run, d, n - run);
    commit(d - start);
}

QByteArray ByteWriter::take() {
    buf_.resize(used_);
    used_ = 0;
    return std::move(buf_);
}

} // namespace output
