#include "DiverList.h"

#include "DvlFormat.h"

namespace divers {

void InitDiverList(AppState& state) {
    state.DiverList.assign(1, DiverEntry{state.DiverName, state.Files});
}

FileProblems LoadDiverList(AppState& state) {
    FileProblems problems;
    const fileio::ReadResult r = fileio::readWhole(ListFileName);
    if (r.status == fileio::ReadStatus::Failed || r.status == fileio::ReadStatus::Unsafe)
        problems.push_back({ListFileName, r.error});
    QString problem;
    std::vector<DiverEntry> list = dvl::parseDivers(r.data, &problem);
    if (!problem.isEmpty())
        problems.push_back({ListFileName, problem});
    if (list.empty())
        InitDiverList(state);
    else
        state.DiverList = std::move(list);
    return problems;
}

FileProblems SaveDiverList(const AppState& state) {
    const QString reason = fileio::writeWhole(ListFileName, dvl::serializeDivers(state.DiverList));
    if (reason.isEmpty())
        return {};
    return {{ListFileName, reason}};
}

namespace {
bool namedByAnyone(const AppState& state, const QString& file) {
    for (const DiverEntry& d : state.DiverList)
        for (const QString& n : d.Files.names())
            if (n.compare(file, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}
} // namespace

void AddDiver(AppState& state, const QString& name, const std::array<int, 4>& shared) {
    // The number in generated names is the new count, as divers expect; after a deletion that
    // number may already be taken, so step on to the first number whose files are all free.
    const int count = static_cast<int>(state.DiverList.size()) + 1;
    int n = count;
    auto taken = [&state](const FileSet& f) {
        for (const QString& file : f.names())
            if (namedByAnyone(state, file) || fileio::FileExists(file))
                return true;
        return false;
    };
    while (taken(FileSet::numbered(n)) && n < 32767)
        ++n;
    const FileSet fresh = FileSet::numbered(n);

    DiverEntry e;
    e.Name = name;
    e.Files = fresh;
    QString* lists[4] = {&e.Files.LocFile, &e.Files.TypeFile, &e.Files.BudFile, &e.Files.GearFile};
    for (int k = 0; k < 4; ++k) {
        const int p = shared[static_cast<size_t>(k)];
        if (p >= 1 && p <= static_cast<int>(state.DiverList.size())) {
            const FileSet& other = state.DiverList[static_cast<size_t>(p - 1)].Files;
            const QString* from[4] = {&other.LocFile, &other.TypeFile, &other.BudFile,
                                      &other.GearFile};
            *lists[k] = *from[k];
        }
    }
    state.DiverList.push_back(std::move(e));
}

FileProblems DeleteData(const AppState& state, int position) {
    FileProblems failures;
    if (position < 1 || position > static_cast<int>(state.DiverList.size()))
        return failures;
    for (const QString& file : state.DiverList[static_cast<size_t>(position - 1)].Files.names()) {
        const QString reason = fileio::removeFile(file);
        if (!reason.isEmpty())
            failures.push_back({file, reason});
    }
    return failures;
}

} // namespace divers
