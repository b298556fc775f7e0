#include "Recovery.h"

#include "DvlFormat.h"
#include "FileIO.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>

namespace store {

namespace recovery {

namespace {

const QByteArray Magic = QByteArrayLiteral("RBRECOV1");
constexpr int Parts = 6;

// The six files' bytes, as a save would write them.
QByteArray parts(const AppState& state) {
    QByteArray out;
    auto add = [&out](const QByteArray& bytes) {
        char length[4];
        qToLittleEndian<quint32>(static_cast<quint32>(bytes.size()), length);
        out.append(length, 4);
        out.append(bytes);
    };
    QByteArray log;
    dvl::appendLog(log, state.Dives.data() + 1, std::max(state.DiveCount(), 0));
    add(log);
    for (int which = 0; which < 4; ++which)
        add(dvl::serializeList(state.list(which), which == field::Location));
    add(dvl::serializeProfiles(state.Profiles));
    return out;
}

QByteArray journalOf(const AppState& state, const QByteArray& content) {
    QByteArray out = Magic;
    char shown[2];
    qToLittleEndian<qint16>(static_cast<qint16>(state.CurrentDive), shown);
    out.append(shown, 2);
    return out + content;
}

} // namespace

QString journalName(const FileSet& files) {
    const QString name = files.LogFile + QStringLiteral(".recovery");
    const auto own = files.names();
    return std::find(own.begin(), own.end(), name) == own.end() ? name : QString();
}

QByteArray buildJournal(const AppState& state) {
    return journalOf(state, parts(state));
}

bool restoreJournal(const QByteArray& data, AppState& state) {
    if (!data.startsWith(Magic) || data.size() < Magic.size() + 2) return false;
    qsizetype at = Magic.size();
    const int shown = qFromLittleEndian<qint16>(data.constData() + at);
    at += 2;
    QByteArray part[Parts];
    for (QByteArray& p : part) {
        if (data.size() - at < 4) return false;
        const quint32 length = qFromLittleEndian<quint32>(data.constData() + at);
        at += 4;
        if (length > static_cast<quint64>(data.size() - at)) return false;
        p = data.mid(at, static_cast<qsizetype>(length));
        at += static_cast<qsizetype>(length);
    }
    if (at != data.size()) return false;

    // Every part must read back whole, or none is taken.
    QString problem;
    std::vector<DiveRecord> dives(1);
    dvl::appendParsedLog(part[0], dives, &problem);
    RefList lists[4];
    for (int which = 0; which < 4 && problem.isEmpty(); ++which) {
        lists[which] = dvl::parseList(part[1 + which], which == field::Location, &problem);
        if (lists[which].empty()) problem = QStringLiteral("empty list");
    }
    std::vector<ProfileRecord> profiles;
    if (problem.isEmpty()) profiles = dvl::parseProfiles(part[5], &problem);
    if (!problem.isEmpty() || dives.size() < 2 || profiles.empty()) return false;

    state.Dives = std::move(dives);
    for (int which = 0; which < 4; ++which)
        state.list(which) = std::move(lists[which]);
    state.Profiles = std::move(profiles);
    state.CurrentDive = shown >= 1 && shown <= state.DiveCount() ? shown : state.DiveCount();
    return true;
}

Found findJournal(const FileSet& files) {
    const QFileInfo journal(journalName(files));
    if (journalName(files).isEmpty() || !journal.isFile()) return Found::None;
    const QFileInfo log(files.LogFile);
    if (!log.exists()) return Found::Newer;
    // Asking about a journal as old as the log loses nothing; ignoring a newer one would.
    return journal.lastModified() >= log.lastModified() ? Found::Newer : Found::Older;
}

FileProblems journalProblems(const FileSet& files) {
    switch (findJournal(files)) {
    case Found::None:
        return {};
    case Found::Newer:
        return {{journalName(files),
                 QStringLiteral("Reefbook was not closed properly; this recovery file may hold "
                                "dives entered since the last save. Start Reefbook to restore "
                                "them or set them aside")}};
    case Found::Older:
        break;
    }
    return {{journalName(files),
             QStringLiteral("an out-of-date recovery file (the log was saved after it); Reefbook "
                            "sets it aside as \"%1-old\" at its next start")
                 .arg(journalName(files))}};
}

QString setAside(const FileSet& files) {
    const QString name = journalName(files);
    if (name.isEmpty()) return {};
    QString aside = name + QStringLiteral("-old");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = name + QStringLiteral("-old") + QString::number(n);
    return QFile::rename(name, aside) ? aside : QString();
}

QByteArray Journal::content() const {
    return parts(state);
}

void Journal::opened() {
    onDisk = content();
    written = onDisk;
}

void Journal::restored() {
    written = content();
    owned = true; // what it holds is in memory now, and goes to the files at the next save
}

QString Journal::saved() {
    onDisk = content();
    written = onDisk;
    const QString name = journalName(state.Files);
    if (name.isEmpty() || !owned) return {};
    owned = false;
    return fileio::removeFile(name);
}

QString Journal::update() {
    const QString name = journalName(state.Files);
    const QByteArray now = content();
    if (name.isEmpty() || now == written) return {};
    const bool back = now == onDisk;
    if (back && !owned) {
        written = now;
        return {};
    }
    const QString reason =
        back ? fileio::removeFile(name) : fileio::writeWhole(name, journalOf(state, now));
    if (reason.isEmpty()) {
        written = now;
        owned = !back;
    }
    return reason;
}

} // namespace recovery

} // namespace store
