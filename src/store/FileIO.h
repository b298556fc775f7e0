#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Something wrong with one file: its name and a sentence saying what.
struct FileProblem {
    QString file;
    QString what;
    bool operator==(const FileProblem& o) const { return file == o.file && what == o.what; }
};
using FileProblems = std::vector<FileProblem>;

// "file: what" lines, one per problem, for a message box or the terminal.
QString describeProblems(const FileProblems& problems);

// Data files are bare names opened in the current directory.
namespace fileio {

// False for an empty name, a name holding a path separator or "..", or a NUL character.
bool isSafeFileName(const QString& name);

enum class ReadStatus { Ok, Missing, Unsafe, Failed };
struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    QByteArray data;
    QString error; // set unless Ok or Missing
};
ReadResult readWhole(const QString& name);

// Writes the whole file through a temporary file and a rename, so a failure leaves the
// previous file as it was. Returns an empty string on success, otherwise the reason.
QString writeWhole(const QString& name, const QByteArray& data);

// True when a directory lookup of a safe name finds a file.
bool FileExists(const QString& name);

// Removes a file; returns an empty string on success (also when it did not exist).
QString removeFile(const QString& name);

// Like removeFile, but the file goes to the desktop's trash when the user has one, so a
// deletion asked for by mistake can be undone. `trashed` says which happened.
QString discardFile(const QString& name, bool* trashed = nullptr);

} // namespace fileio
