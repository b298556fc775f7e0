#pragma once

#include "Records.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace store {

// The byte layout of every .dvl file: a 16-bit little-endian count or highest index, then
// records of 16-bit numbers and counted strings (16-bit length, then Windows-1252 bytes).
//
// Parsers never trust a count. A file that ends early keeps the complete records before the
// cut and drops the one cut short; a negative count reads as empty. When the data was not a
// complete file, `problem` (if given) is set to a sentence saying what was wrong.
namespace dvl {

// Bytes after the records a header announced. Older writers did not shorten their files, so
// such bytes may be harmless leftovers, or real records behind a damaged count: the reader
// cannot tell, and says what they read as.
struct Leftover {
    qsizetype bytes = 0; // after the last announced record
    int records = 0;     // complete records they read as, one after the other
    bool exact = false;  // those records end exactly at the end of the file
};

// The largest file of each kind: the most records its count can announce, each with the
// longest texts. A larger file is none of ours, and is refused before it is read.
constexpr qint64 MaxCountedText = 2 + 65535;
constexpr qint64 MaxLogBytes = 2 + 32767LL * (64 + 65535);
constexpr qint64 MaxListBytes = 2 + 32768LL * 3 * MaxCountedText;
constexpr qint64 MaxProfileBytes =
    2 + 32768LL * (4 * ProfileRecord::PointSlots + ProfileRecord::NoteCount * MaxCountedText);
constexpr qint64 MaxDiversBytes = 2 + 32767LL * 7 * MaxCountedText;

// Log: count, then the dives (index 1 first). Returns the dives only, without index 0.
std::vector<DiveRecord> parseLog(const QByteArray& data, QString* problem = nullptr);
// The same, appending the dives to `into` (OpenLog reads straight into Dives after index 0).
void appendParsedLog(const QByteArray& data, std::vector<DiveRecord>& into,
                     QString* problem = nullptr, Leftover* rest = nullptr);
void appendLog(QByteArray& out, const DiveRecord* first, int count);
QByteArray serializeLog(const std::vector<DiveRecord>& dives);

// Location, type, buddy and gear lists: highest index, then records of three strings.
// The third string is the location's picture; for the other lists it is written empty
// and ignored on reading (withPicture = false).
RefList parseList(const QByteArray& data, bool withPicture, QString* problem = nullptr,
                  Leftover* rest = nullptr);
QByteArray serializeList(const RefList& list, bool withPicture);

// Profiles: highest index, then records of 151 times, 151 depths and 7 notes.
std::vector<ProfileRecord> parseProfiles(const QByteArray& data, QString* problem = nullptr,
                                         Leftover* rest = nullptr);
QByteArray serializeProfiles(const std::vector<ProfileRecord>& profiles);

// divers.dvl: count, then seven strings per diver.
std::vector<DiverEntry> parseDivers(const QByteArray& data, QString* problem = nullptr);
QByteArray serializeDivers(const std::vector<DiverEntry>& divers);

// Longest text a counted string can hold, in bytes; longer text is cut to this on writing.
constexpr int MaxStringBytes = 65535;

} // namespace dvl

} // namespace store
