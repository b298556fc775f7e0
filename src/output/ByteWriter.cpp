#include "ByteWriter.h"

#include "DiveValues.h"

#include "store/Text.h"

#include <algorithm>

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
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c >= 0x80) {
            // A surrogate pair is one character, written as one byte.
            const qsizetype units =
                QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]) ? 2 : 1;
            d += text::encodeCp1252(src + i, units, d, 1);
            i += units - 1;
            continue;
        }
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
            *d++ = static_cast<char>(c);
            continue;
        }
        std::memcpy(d, entity.data(), entity.size());
        d += entity.size();
    }
    commit(d - start);
}

QByteArray ByteWriter::take() {
    buf_.resize(used_);
    used_ = 0;
    return std::move(buf_);
}

} // namespace output
