#include "LogOps.h"

#include "DvlFormat.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>

namespace {

// Reads one file of the set. Missing files are not a problem in themselves; the caller says
// whether a missing file matters.
QByteArray readPart(AppState& s, const QString& name, FileProblems& problems,
                    bool* missing = nullptr) {
    const fileio::ReadResult r = fileio::readWhole(name);
    if (missing)
        *missing = r.status == fileio::ReadStatus::Missing;
    if (r.status == fileio::ReadStatus::Unsafe || r.status == fileio::ReadStatus::Failed)
        problems.push_back({name, r.error});
    if (r.status == fileio::ReadStatus::Failed)
        s.DamagedFiles.push_back(name);
    return r.data;
}

// A file that was read only in part is kept aside at the next save (see SaveLog).
void note(AppState& s, FileProblems& problems, const QString& file, const QString& what) {
    if (what.isEmpty())
        return;
    problems.push_back({file, what});
    if (std::find(s.DamagedFiles.begin(), s.DamagedFiles.end(), file) == s.DamagedFiles.end())
        s.DamagedFiles.push_back(file);
}

// Renames a damaged file to the first free "<name>.damaged", "<name>.damaged2", ...
// Returns an empty text when the file is out of the way (or was already gone).
QString setAside(const QString& name) {
    // A folder in the file's place is not ours to move; writing over it fails on its own.
    if (!QFileInfo(name).isFile())
        return {};
    QString aside = name + QLatin1String(".damaged");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = name + QLatin1String(".damaged") + QString::number(n);
    if (!QFile::rename(name, aside))
        return QStringLiteral("the file could not be read whole when the log was opened and "
                              "could not be kept aside, so it was left as it was");
    return {};
}

// A list file: its entries when it has any, otherwise the default entry.
void readList(AppState& s, int which, const QString& file, bool logHasDives,
              FileProblems& problems) {
    bool missing = false;
    const QByteArray data = readPart(s, file, problems, &missing);
    QString problem;
    RefList list = dvl::parseList(data, which == field::Location, &problem);
    note(s, problems, file, problem);
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

    const QByteArray logData = readPart(state, f.LogFile, problems);
    QString problem;
    std::vector<DiveRecord> dives(1); // index 0 holds no dive
    dvl::appendParsedLog(logData, dives, &problem);
    note(state, problems, f.LogFile, problem);

    const bool hasDives = dives.size() > 1;
    if (hasDives)
        state.Dives = std::move(dives);
    else
        StartNewLog(state);

    const QString listFiles[4] = {f.LocFile, f.TypeFile, f.BudFile, f.GearFile};
    for (int which = 0; which < 4; ++which)
        readList(state, which, listFiles[which], hasDives, problems);

    const QByteArray profData = readPart(state, f.ProfFile, problems);
    problem.clear();
    std::vector<ProfileRecord> profiles = dvl::parseProfiles(profData, &problem);
    note(state, problems, f.ProfFile, problem);
    if (profiles.empty())
        profiles.emplace_back();
    state.Profiles = std::move(profiles);

    state.CurrentDive = state.DiveCount();
    return problems;
}

FileProblems SaveLog(const AppState& state) {
    FileProblems failures;
    const FileSet& f = state.Files;
    // A count that does not fit the 16-bit header would be written wrapped (negative) and the
    // file would read back empty, so such a file is not written and the old one stays.
    auto save = [&failures, &state](const QString& name, size_t records, size_t most,
                                    auto serialize) {
        if (records > most) {
            failures.push_back({name, QStringLiteral("%1 records are more than the file can "
                                                     "count (%2); the file was not written")
                                          .arg(records)
                                          .arg(most)});
            return;
        }
        auto& damaged = state.DamagedFiles;
        const auto known = std::find(damaged.begin(), damaged.end(), name);
        if (known != damaged.end()) {
            if (const QString reason = setAside(name); !reason.isEmpty()) {
                failures.push_back({name, reason});
                return;
            }
        }
        const QString reason = fileio::writeWhole(name, serialize());
        if (!reason.isEmpty())
            failures.push_back({name, reason});
        else if (known != damaged.end())
            damaged.erase(known);
    };
    const size_t dives = static_cast<size_t>(std::max(state.DiveCount(), 0));
    save(f.LogFile, dives, MaxDives, [&state] {
        QByteArray log;
        dvl::appendLog(log, state.Dives.data() + 1, state.DiveCount());
        return log;
    });
    // List and profile files store the highest index: up to 32768 records.
    constexpr size_t MaxIndexed = 32768;
    const QString listFiles[4] = {f.LocFile, f.TypeFile, f.BudFile, f.GearFile};
    for (int which = 0; which < 4; ++which) {
        const RefList& list = state.list(which);
        save(listFiles[which], list.size(), MaxIndexed,
             [&list, which] { return dvl::serializeList(list, which == field::Location); });
    }
    save(f.ProfFile, state.Profiles.size(), MaxIndexed,
         [&state] { return dvl::serializeProfiles(state.Profiles); });
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
