#pragma once

#include "AppState.h"
#include "DvlFormat.h"
#include "FileIO.h"

#include <QByteArray>
#include <QString>

namespace store {

// The recovery journal: between saves, the whole log in memory is copied now and then to a
// file beside the log ("log1.dvl.recovery"), so a crash, a power cut or a killed process
// loses at most the last few seconds of work. The six data files themselves are still
// written only by a save.
//
// The journal is the six files' bytes exactly as a save would write them, each behind its
// length, so reading it back goes through the same readers as the files themselves:
//   8 bytes "RBRECOV1", int16 shown dive, then six times: uint32 length, that many bytes
//   (log, locations, types, buddies, gear, profiles); all numbers little-endian.
namespace recovery {

// The largest journal: the header and the six largest files behind their lengths.
constexpr qint64 MaxJournalBytes =
    8 + 2 + 6 * 4 + dvl::MaxLogBytes + 4 * dvl::MaxListBytes + dvl::MaxProfileBytes;

// "<log file>.recovery"; empty when that name is one of the set's own files.
QString journalName(const FileSet& files);

QByteArray buildJournal(const AppState& state);

// Puts the journal's dives, lists, profiles and shown dive into `state`. False, and nothing
// changed, when the data is not a whole journal.
bool restoreJournal(const QByteArray& data, AppState& state);

enum class Found {
    None,  // no journal
    Newer, // written after the log was last saved: it holds work the files do not
    Older  // the log was saved after it (by another program): it is out of date
};
Found findJournal(const FileSet& files);

// What `check` says about a journal beside the log: nothing when there is none.
FileProblems journalProblems(const FileSet& files);

// Moves the journal to "<journal>-old" (or "-old2", ...). Returns the new name, or an
// empty text when it could not be moved.
QString setAside(const FileSet& files);

// Writes only when the log in memory differs from what the files hold, and only what has
// not been written already; a journal that no longer holds anything new goes. A journal file
// belongs to the program that wrote it (or restored from it): one left by another program,
// killed while this one ran, is never removed by this one's save.
class Journal {
  public:
    explicit Journal(const AppState& log) : state(log) {}

    // The log was just opened: memory and files agree, and any journal has been dealt with.
    void opened();
    // The journal was just read back into memory: it holds what memory holds.
    void restored();
    // The log was just saved: the journal is removed. Returns the reason when it could not be.
    QString saved();
    // Writes the journal if there is something new to keep, removes it when memory matches
    // the files again; returns the reason of a failure.
    QString update();

  private:
    QByteArray content() const;
    const AppState& state;
    QByteArray onDisk;  // what the six files hold, as journal content
    QByteArray written; // what the journal file holds; equal to onDisk when there is none
    bool owned = false; // the journal file is this program's
};

} // namespace recovery

} // namespace store
