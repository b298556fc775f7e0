#include "ByteWriter.h"

#include "HtmlExport.h"
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
        scratch_.resize(0);
        text::appendCp1252(scratch_, s);
        put(std::string_view(scratch_.constData(), static_cast<size_t>(scratch_.size())));
        return;
    }
    reserveMore(n);
    char* dst = buf_.data() + used_;
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = static_cast<char>(src[i]);
    used_ += n;
}

void ByteWriter::escaped(const QString& s) {
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'&' || u == u'<' || u == u'>' || u == u'"') {
            text(htmlEscaped(s));
            return;
        }
    }
    text(s);
}

QByteArray ByteWriter::take() {
    buf_.resize(used_);
    used_ = 0;
    return std::move(buf_);
}

} // namespace output
