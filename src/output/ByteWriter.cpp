#include "ByteWriter.h"

#include "DiveValues.h"

#include "store/Text.h"

#include <algorithm>
#include <array>

namespace output {

ByteWriter::ByteWriter(qsizetype expected) {
    buf_.resize(std::max<qsizetype>(expected, 256));
}

ByteWriter::ByteWriter(QIODevice& device, qsizetype chunk) : ByteWriter(chunk + chunk / 4) {
    device_ = &device;
    chunk_ = chunk;
}

bool ByteWriter::drain(bool last) {
    if (!device_ || (!last && used_ < chunk_)) return !refused_;
    if (!refused_ && used_ > 0) refused_ = device_->write(buf_.constData(), used_) != used_;
    used_ = 0;
    return !refused_;
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
        commit(store::text::encodeCp1252(src, n, room(n), n));
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

namespace {

// What an ASCII character becomes on the page, padded to eight bytes so that it is copied
// with one fixed-size move and no branch: itself, or one of the four entities.
struct Escape {
    char text[8];
    qsizetype size;
};

constexpr std::array<Escape, 128> makeEscapes() {
    std::array<Escape, 128> all{};
    for (int c = 0; c < 128; ++c)
        all[static_cast<size_t>(c)] = {{static_cast<char>(c)}, 1};
    all['&'] = {"&amp;", 5};
    all['<'] = {"&lt;", 4};
    all['>'] = {"&gt;", 4};
    all['"'] = {"&quot;", 6};
    return all;
}
constexpr std::array<Escape, 128> kEscapes = makeEscapes();

} // namespace

void ByteWriter::escaped(const QString& s) {
    const qsizetype n = s.size();
    const char16_t* src = reinterpret_cast<const char16_t*>(s.constData());
    // An entity takes at most six bytes (eight are moved), any other character one.
    char* const start = room(6 * n + 2);
    char* d = start;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c < 0x80) {
            const Escape& e = kEscapes[c];
            std::memcpy(d, e.text, sizeof e.text);
            d += e.size;
        } else if (c >= 0xA0 && c <= 0xFF) {
            *d++ = static_cast<char>(c); // the same byte in Windows-1252
        } else {
            // A surrogate pair is one character, written as one byte.
            const qsizetype units =
                QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]) ? 2 : 1;
            d += store::text::encodeCp1252(src + i, units, d, 1);
            i += units - 1;
        }
    }
    commit(d - start);
}

QByteArray ByteWriter::take() {
    buf_.resize(used_);
    used_ = 0;
    return std::move(buf_);
}

} // namespace output
