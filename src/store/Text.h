#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace store {

// Text on disk is Windows-1252. Every byte 0x00-0xFF decodes to one character and encodes
// back to the same byte; the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) travel as U+0081 ... U+009D. A character the code page cannot hold encodes as '?'.
namespace text {
QString fromCp1252(const char* data, qsizetype size);
inline QString fromCp1252(const QByteArray& bytes) {
    return fromCp1252(bytes.constData(), bytes.size());
}
QByteArray toCp1252(const QString& s);
// Appends the encoding of s to out (saves an allocation per string when writing whole files).
void appendCp1252(QByteArray& out, const QString& s);
// Encodes s into dst, at most maxBytes bytes (the rest of s is dropped); returns the bytes
// written. A character never takes more than one byte, so s.size() bytes always suffice.
qsizetype encodeCp1252(const QString& s, char* dst, qsizetype maxBytes);
// The same for the n UTF-16 units at src.
qsizetype encodeCp1252(const char16_t* src, qsizetype n, char* dst, qsizetype maxBytes);
// The characters of s that Windows-1252 cannot hold (each once, in the order they come), which
// a file would keep as '?'. Empty when s is stored as it is.
QStringList unstorable(const QString& s);
} // namespace text

} // namespace store
