#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QFileDevice;
class QTemporaryFile;

namespace store {

// Something wrong with one file: its name and a sentence saying what.
struct FileProblem {
    QString file;
    QString what;
    bool operator==(const FileProblem& o) const { return file == o.file && what == o.what; }
};
using FileProblems = std::vector<FileProblem>;

// "file: what" lines, one per problem, for a message box or the terminal.
QString describeProblems(const FileProblems& problems);

// Data files are bare names opened in the current directory. A name that is a symbolic link is
// read and written through the link: the file it points at is replaced, the link stays.
namespace fileio {

// False for an empty name, a name holding a path separator or "..", or a NUL character.
bool isSafeFileName(const QString& name);

enum class ReadStatus { Ok, Missing, Unsafe, Failed };
struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    QByteArray data;
    QString error; // set unless Ok or Missing
};
// Anything but a regular file (a folder, a pipe, a device) is refused unread: a pipe would
// wait for a writer for ever and a device such as /dev/zero never ends. So is a file of more
// than `most` bytes (when given), with its size in the reason.
ReadResult readWhole(const QString& name, qint64 most = -1);

// Why the last operation on `f` failed, in the system's words ("No space left on device").
QString failureReason(const QFileDevice& f);
// Writes all of `data` to an open device; returns an empty string or the reason. Open the
// device Unbuffered: a buffered write fails later in flush(), where Qt has lost the reason.
QString writeAll(QFileDevice& f, const QByteArray& data);

// Files replaced as one: each is written whole to a temporary file beside its target first, and
// only when every one of them was written completely are they renamed over their targets, in
// the order they were added. The files they replace are kept (a second name on the same bytes)
// until every rename succeeded; when one fails, every file already replaced is put back, so the
// set is either all new or all as it was. Temporary files not committed are removed on
// destruction, so a batch that is dropped after a failure replaces nothing.
class WriteBatch {
public:
    WriteBatch();
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // A data file: the name must be safe and stand for a regular, writable file or nothing.
    // Returns an empty string when the temporary file holds `data`, otherwise the reason.
    QString addDataFile(const QString& name, const QByteArray& data);
    // Any path (a file the user named): only the temporary file and its rename.
    QString add(const QString& path, const QByteArray& data);
    // Renames every temporary file over its target. Returns the files that failed; each
    // problem says truthfully whether the set was left as it was.
    FileProblems commit();
    // After commit: true when a file was replaced although the commit failed (it could not be
    // put back). Then the problems name the copy that holds the previous file.
    bool leftMixed() const { return mixed; }

    // The rename of one file (from, to), returning the system's reason on failure. A test puts
    // in one that fails, standing for a file that is busy.
    using Rename = std::function<QString(const QString& from, const QString& to)>;
    void setRename(Rename rename);

  private:
    struct Pending;
    std::vector<std::unique_ptr<Pending>> files;
    Rename rename;
    bool mixed = false;
};

// Renames `from` over `to` as the system does (replacing `to`); the reason on failure.
QString renameFile(const QString& from, const QString& to);

// One data file through a WriteBatch of its own. Returns an empty string on success,
// otherwise the reason; on failure the previous file is as it was.
QString writeWhole(const QString& name, const QByteArray& data);

// True when the two paths name the same file: the same file after following symbolic links
// and "..", or the same file under two names (a hard link). Also for files not there yet.
bool sameFile(const QString& a, const QString& b);

// True when a directory lookup of a safe name finds a file.
bool FileExists(const QString& name);

// Removes a file; returns an empty string on success (also when it did not exist).
QString removeFile(const QString& name);

// Whether discardFile can move files to the desktop's trash here (else it deletes them).
bool trashAvailable();

// Like removeFile, but the file goes to the desktop's trash when the user has one, so a
// deletion asked for by mistake can be undone. `trashed` says which happened.
QString discardFile(const QString& name, bool* trashed = nullptr);

} // namespace fileio

} // namespace store
