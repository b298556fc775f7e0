#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A round trip that came back different is a finding like a crash: report it and abort, so
// libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// The input without a copy, so a read past its end is caught by AddressSanitizer.
inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

// A reader that reported nothing wrong understood every byte it kept: writing what it read
// gives those bytes back unchanged (bytes after the last record are not part of a record).
inline bool writtenBackAsRead(const QByteArray& input, const QByteArray& written) {
    return input.size() < 2 || input.startsWith(written);
}

} // namespace fuzz
