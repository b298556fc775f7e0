#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstring>
#include <string_view>

namespace output {

struct Figure;

// Builds an exported file in memory. An export of a large log is tens of megabytes made of
// short pieces, so appending has to cost little more than copying the bytes: the buffer
// grows by doubling and pieces are copied straight into it.
//
// Given a device, the writer sends what has gathered to it at each drain() once a chunk has
// gathered, so a large export to a stream reuses one buffer of about a chunk instead of
// touching fresh memory for the whole file.
class ByteWriter {
  public:
    explicit ByteWriter(qsizetype expected = 0);
    explicit ByteWriter(QIODevice& device, qsizetype chunk = qsizetype(1) << 20);

    // Writes out what has gathered when it passes a chunk, or whatever there is when `last`.
    // False once the device has refused bytes; what follows is then dropped.
    bool drain(bool last = false);

    void put(std::string_view s) {
        reserveMore(static_cast<qsizetype>(s.size()));
        std::memcpy(buf_.data() + used_, s.data(), s.size());
        used_ += static_cast<qsizetype>(s.size());
    }
    void put(char c) {
        reserveMore(1);
        buf_.data()[used_++] = c;
    }
    // Room for up to n more bytes at the end: write into it, then commit() the bytes used.
    char* room(qsizetype n) {
        reserveMore(n);
        return buf_.data() + used_;
    }
    void commit(qsizetype n) { used_ += n; }

    // The text in Windows-1252.
    void text(const QString& s);
    void text(const Figure& f);
    // The text in Windows-1252 with "&", "<", ">" and the double quote as HTML entities.
    void escaped(const QString& s);

    QByteArray take();

  private:
    void reserveMore(qsizetype n) {
        if (used_ + n > buf_.size()) grow(used_ + n);
    }
    void grow(qsizetype needed);

    QByteArray buf_;
    qsizetype used_ = 0;
    QIODevice* device_ = nullptr;
    qsizetype chunk_ = 0;
    bool refused_ = false;
};

} // namespace output
