#include "LogOps.h"

#include "DvlFormat.h"
#include "FileNames.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>

namespace store {

namespace {

// What a file held, for telling later whether it changed: empty when it was not there.
QByteArray digestOf(const fileio::ReadResult& r) {
    switch (r.status) {
    case fileio::ReadStatus::Missing:
        return {};
    case fileio::ReadStatus::Ok:
        return QCryptographicHash::hash(r.data, QCryptographicHash::Sha256);
    default:
        return QByteArrayLiteral("unreadable: ") + r.error.toUtf8();
    }
}

void recordDigest(const AppState& s, const QString& name, const QByteArray& digest) {
    const auto names = s.Files.names();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) s.FileDigests[i] = digest;
}

// Reads one file of the set. Missing files are not a problem in themselves; the caller says
// whether a missing file matters. A name that cannot be a data file of the set is not read.
QByteArray readPart(AppState& s, const QString& name, qint64 most, FileProblems& problems,
                    bool* missing = nullptr) {
    for (const fileio::NameProblem& bad : fileio::fileSetNameProblems(s.Files))
        if (bad.name == name) {
            const FileProblem problem{
                name, fileio::isSafeFileName(name)
                          ? QStringLiteral("the %1 file name is %2; it is neither read nor "
                                           "written")
                                .arg(QLatin1String(fileio::roleName(bad.role)), bad.why)
                          : QStringLiteral("unsafe file name (a data file must be a bare name "
                                           "in the log folder)")};
            if (std::find(problems.begin(), problems.end(), problem) == problems.end())
                problems.push_back(problem);
            if (missing) *missing = true;
            return {};
        }
    const fileio::ReadResult r = fileio::readWhole(name, most);
    recordDigest(s, name, digestOf(r));
    if (missing)
        *missing = r.status == fileio::ReadStatus::Missing;
    if (r.status == fileio::ReadStatus::Unsafe || r.status == fileio::ReadStatus::Failed)
        problems.push_back({name, r.error});
    if (r.status == fileio::ReadStatus::Failed)
        s.DamagedFiles.push_back(name);
    return r.data;
}

// A file that was read only in part is kept aside at the next save (see SaveLog).
void note(AppState& s, FileProblems& problems, const QString& file, const QString& problem,
          const QString& leftover = {}) {
    const QString what = problem.isEmpty() || leftover.isEmpty()
                             ? problem + leftover
                             : problem + QStringLiteral(". ") + leftover;
    if (what.isEmpty())
        return;
    problems.push_back({file, what});
    if (std::find(s.DamagedFiles.begin(), s.DamagedFiles.end(), file) == s.DamagedFiles.end())
        s.DamagedFiles.push_back(file);
}

// The first free name of "<name>.damaged", "<name>.damaged2", ..., also past names already
// taken by copies of this save.
QString asideName(const QString& name, const std::vector<QString>& taken = {}) {
    QString aside = name + QLatin1String(".damaged");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink() ||
                    std::find(taken.begin(), taken.end(), aside) != taken.end();
         ++n)
        aside = name + QLatin1String(".damaged") + QString::number(n);
    return aside;
}

QString counted(qsizetype n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// What bytes after the counted records are, and what the diver should do about them. The next
// save would drop them, so the file is kept aside first like any damaged file.
QString leftoverProblem(const QString& file, const dvl::Leftover& rest, int read, const char* one,
                        const char* many) {
    if (rest.bytes == 0)
        return {};
    QString what;
    if (rest.records == 0)
        what = QStringLiteral("%1 after the last counted %2 could not be read (left over from an "
                              "older save, or the count is damaged).")
                   .arg(counted(rest.bytes, "byte", "bytes"), QLatin1String(one));
    else
        what = QStringLiteral("%1 counted, but the file seems to hold %2 more (%3 in all%4): the "
                              "count is probably damaged.")
                   .arg(counted(read, one, many))
                   .arg(rest.records)
                   .arg(read + rest.records)
                   .arg(rest.exact ? QString()
                                   : QStringLiteral(", then bytes that are not a whole %1")
                                         .arg(QLatin1String(one)));
    return what + QStringLiteral(" Only the counted %1 are read; keep the copy \"%2\" made at "
                                 "the next save, %3.")
                      .arg(QLatin1String(many), asideName(file),
                           rest.records ? QStringLiteral("it holds the rest")
                                        : QStringLiteral("until you are sure nothing is missing"));
}

// A list file: its entries when it has any, otherwise the default entry.
void readList(AppState& s, int which, const QString& file, bool logHasDives,
              FileProblems& problems) {
    bool missing = false;
    const QByteArray data = readPart(s, file, dvl::MaxListBytes, problems, &missing);
    QString problem;
    dvl::Leftover rest;
    RefList list = dvl::parseList(data, which == field::Location, &problem, &rest);
    note(s, problems, file, problem,
         leftoverProblem(file, rest, static_cast<int>(list.size()), "entry", "entries"));
    if (list.empty()) {
        if (logHasDives && missing)
            problems.push_back({file, QStringLiteral("the list file is missing; it starts again "
                                                     "with its default entry")});
        list = defaultList(which);
    }
    s.list(which) = std::move(list);
}

} // namespace

RefList defaultList(int which) {
    static const char* const names[] = {"Pool", "Pleasure", "None", "Standard"};
    return {ListEntry{QString::fromLatin1(names[which]), {}, {}}};
}

void StartDefaultLists(AppState& state) {
    for (int which = 0; which < 4; ++which)
        state.list(which) = defaultList(which);
    state.Profiles.assign(1, ProfileRecord{});
}

void StartNewLog(AppState& state) {
    state.Dives.assign(2, DiveRecord{});
    state.CurrentDive = 1;
    StartDefaultLists(state);
}

FileProblems OpenLog(AppState& state) {
    FileProblems problems;
    const FileSet& f = state.Files;
    state.DamagedFiles.clear();

    const QByteArray logData = readPart(state, f.LogFile, dvl::MaxLogBytes, problems);
    QString problem;
    dvl::Leftover rest;
    std::vector<DiveRecord> dives(1); // index 0 holds no dive
    dvl::appendParsedLog(logData, dives, &problem, &rest);
    note(state, problems, f.LogFile, problem,
         leftoverProblem(f.LogFile, rest, static_cast<int>(dives.size()) - 1, "dive", "dives"));

    const bool hasDives = dives.size() > 1;
    if (hasDives)
        state.Dives = std::move(dives);
    else
        StartNewLog(state);

    const QString listFiles[4] = {f.LocFile, f.TypeFile, f.BudFile, f.GearFile};
    for (int which = 0; which < 4; ++which)
        readList(state, which, listFiles[which], hasDives, problems);

    const QByteArray profData = readPart(state, f.ProfFile, dvl::MaxProfileBytes, problems);
    problem.clear();
    std::vector<ProfileRecord> profiles = dvl::parseProfiles(profData, &problem, &rest);
    note(state, problems, f.ProfFile, problem,
         leftoverProblem(f.ProfFile, rest, static_cast<int>(profiles.size()), "profile",
                         "profiles"));
    if (profiles.empty())
        profiles.emplace_back();
    state.Profiles = std::move(profiles);

    state.CurrentDive = state.DiveCount();
    return problems;
}

FileProblems SaveLog(const AppState& state, bool* leftMixed) {
    FileProblems failures;
    if (leftMixed) *leftMixed = false;
    const FileSet& f = state.Files;
    // A name that cannot be one of the diver's data files is never written, and then nothing
    // is: the set would not read back as it was saved.
    for (const fileio::NameProblem& bad : fileio::fileSetNameProblems(f))
        failures.push_back(
            {bad.name, QStringLiteral("the %1 file name is %2")
                           .arg(QLatin1String(fileio::roleName(bad.role)), bad.why)});
    if (!failures.empty()) return failures;
    auto& damaged = state.DamagedFiles;
    // Every file goes to a temporary file first; only when all of them were written is any
    // one replaced, so a failure never leaves a set whose dives point at another set's lists.
    fileio::WriteBatch batch;
    std::vector<QString> keptAside; // damaged files whose copy is in the batch
    std::vector<QString> asideNames;
    std::vector<std::pair<QString, QByteArray>> written; // each file's digest once committed
    auto save = [&](const QString& name, size_t records, size_t most, qint64 mostBytes,
                    auto serialize) {
        // A count that does not fit the 16-bit header would be written wrapped (negative) and
        // the file would read back empty, so such a file is not written and the old one stays.
        if (records > most) {
            failures.push_back({name, QStringLiteral("%1 records are more than the file can "
                                                     "count (%2); the file was not written")
                                          .arg(records)
                                          .arg(most)});
            return;
        }
        // The bytes of a file that was not read whole are copied aside before it is replaced.
        const bool isDamaged = std::find(damaged.begin(), damaged.end(), name) != damaged.end();
        if (isDamaged && QFileInfo(name).isFile() &&
            std::find(keptAside.begin(), keptAside.end(), name) == keptAside.end()) {
            const fileio::ReadResult old = fileio::readWhole(name, mostBytes);
            const QString aside = asideName(name, asideNames);
            const QString reason =
                old.status == fileio::ReadStatus::Ok ? batch.add(aside, old.data) : old.error;
            if (!reason.isEmpty()) {
                failures.push_back({name, QStringLiteral("the file was not read whole and could "
                                                         "not be kept aside as %1: %2")
                                              .arg(aside, reason)});
                return;
            }
            asideNames.push_back(aside);
            keptAside.push_back(name);
        }
        const QByteArray bytes = serialize();
        if (const QString reason = batch.addDataFile(name, bytes); !reason.isEmpty())
            failures.push_back({name, reason});
        fileio::ReadResult as;
        as.status = fileio::ReadStatus::Ok;
        as.data = bytes;
        written.emplace_back(name, digestOf(as));
    };
    const size_t dives = static_cast<size_t>(std::max(state.DiveCount(), 0));
    save(f.LogFile, dives, MaxDives, dvl::MaxLogBytes, [&state] {
        QByteArray log;
        dvl::appendLog(log, state.Dives.data() + 1, state.DiveCount());
        return log;
    });
    // List and profile files store the highest index: up to 32768 records.
    constexpr size_t MaxIndexed = 32768;
    const QString listFiles[4] = {f.LocFile, f.TypeFile, f.BudFile, f.GearFile};
    for (int which = 0; which < 4; ++which) {
        const RefList& list = state.list(which);
        save(listFiles[which], list.size(), MaxIndexed, dvl::MaxListBytes,
             [&list, which] { return dvl::serializeList(list, which == field::Location); });
    }
    save(f.ProfFile, state.Profiles.size(), MaxIndexed, dvl::MaxProfileBytes,
         [&state] { return dvl::serializeProfiles(state.Profiles); });
    if (!failures.empty())
        return failures; // the batch is dropped: no file was replaced
    failures = batch.commit();
    if (leftMixed) *leftMixed = batch.leftMixed();
    if (failures.empty())
        for (const auto& [name, digest] : written)
            recordDigest(state, name, digest);
    // A file set aside and written anew is whole again.
    if (failures.empty())
        for (const QString& name : keptAside)
            damaged.erase(std::find(damaged.begin(), damaged.end(), name));
    return failures;
}

bool AppendEntry(AppState& state) {
    if (state.DiveCount() >= MaxDives)
        return false;
    state.Dives.emplace_back();
    state.CurrentDive = state.DiveCount();
    return true;
}

void RemoveEntry(AppState& state) {
    if (state.DiveCount() < 2 || state.CurrentDive < 1 || state.CurrentDive > state.DiveCount())
        return;
    state.Dives.erase(state.Dives.begin() + state.CurrentDive);
    if (state.CurrentDive > state.DiveCount())
        state.CurrentDive = state.DiveCount();
}

std::vector<QString> ChangedOnDisk(const AppState& state) {
    std::vector<QString> changed;
    const auto names = state.Files.names();
    // Only a file there to read can hold another program's work: one removed, or replaced by
    // something that is not a file, loses nothing by the save (which reports the latter).
    for (size_t i = 0; i < names.size(); ++i) {
        if (std::find(changed.begin(), changed.end(), names[i]) != changed.end()) continue;
        const qint64 most[6] = {dvl::MaxLogBytes,  dvl::MaxListBytes, dvl::MaxListBytes,
                                dvl::MaxListBytes, dvl::MaxListBytes, dvl::MaxProfileBytes};
        const fileio::ReadResult now = fileio::readWhole(names[i], most[i]);
        if (now.status == fileio::ReadStatus::Ok && digestOf(now) != state.FileDigests[i])
            changed.push_back(names[i]);
    }
    return changed;
}

FileSet KeepBothNames(const FileSet& files) {
    const auto kept = [&files](const QString& suffix) {
        auto rename = [&suffix](const QString& name) {
            const QString stem =
                name.endsWith(QLatin1String(".dvl"), Qt::CaseInsensitive) ? name.chopped(4) : name;
            return stem + suffix + QStringLiteral(".dvl");
        };
        FileSet k;
        k.LogFile = rename(files.LogFile);
        k.LocFile = rename(files.LocFile);
        k.TypeFile = rename(files.TypeFile);
        k.BudFile = rename(files.BudFile);
        k.GearFile = rename(files.GearFile);
        k.ProfFile = rename(files.ProfFile);
        return k;
    };
    for (int n = 1;; ++n) {
        const FileSet k =
            kept(n == 1 ? QStringLiteral("-kept") : QStringLiteral("-kept") + QString::number(n));
        const auto names = k.names();
        if (std::none_of(names.begin(), names.end(), [](const QString& name) {
                return QFileInfo::exists(name) || QFileInfo(name).isSymLink();
            }))
            return k;
    }
}

FileProblems SaveLogAs(const AppState& state, const FileSet& names) {
    AppState copy = state;
    copy.Files = names;
    copy.DamagedFiles.clear(); // the files kept apart are new: nothing of them to set aside
    return SaveLog(copy);
}

} // namespace store
