#include "DiverList.h"

#include "store/DvlFormat.h"
#include "store/Text.h"

#include <algorithm>

namespace divers {

void InitDiverList(store::AppState& state) {
    state.DiverList.assign(1, store::DiverEntry{state.DiverName, state.Files});
}

DiverFile readDiverFile() {
    DiverFile f;
    store::fileio::ReadResult r =
        store::fileio::readWhole(ListFileName, store::dvl::MaxDiversBytes);
    f.status = r.status;
    f.error = r.error;
    f.divers = store::dvl::parseDivers(r.data, &f.problem);
    return f;
}

store::FileProblems LoadDiverList(store::AppState& state) {
    store::FileProblems problems;
    DiverFile f = readDiverFile();
    if (f.status == store::fileio::ReadStatus::Failed ||
        f.status == store::fileio::ReadStatus::Unsafe)
        problems.push_back({ListFileName, f.error});
    // A missing list is created empty, so the folder shows where the divers will be kept. A
    // folder that takes no new file says so at the first Select, which writes the list.
    if (f.status == store::fileio::ReadStatus::Missing)
        store::fileio::writeWhole(ListFileName, QByteArray());
    if (!f.problem.isEmpty())
        problems.push_back({ListFileName, f.problem});
    std::vector<store::DiverEntry>& list = f.divers;
    if (list.empty())
        InitDiverList(state);
    else
        state.DiverList = std::move(list);
    return problems;
}

store::FileProblems SaveDiverList(const store::AppState& state) {
    const QString reason =
        store::fileio::writeWhole(ListFileName, store::dvl::serializeDivers(state.DiverList));
    if (reason.isEmpty())
        return {};
    return {{ListFileName, reason}};
}

namespace {
bool namedByAnyone(const store::AppState& state, const QString& file) {
    for (const store::DiverEntry& d : state.DiverList)
        for (const QString& n : d.Files.names())
            if (n.compare(file, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}
} // namespace

void AddDiver(store::AppState& state, const QString& name, const std::array<int, 4>& shared) {
    // The number in generated names is the new count, as divers expect; after a deletion that
    // number may already be taken, so step on to the first number whose files are all free.
    const int count = static_cast<int>(state.DiverList.size()) + 1;
    int n = count;
    auto taken = [&state](const store::FileSet& f) {
        for (const QString& file : f.names())
            if (namedByAnyone(state, file) || store::fileio::FileExists(file)) return true;
        return false;
    };
    while (taken(store::FileSet::numbered(n)) && n < 32767)
        ++n;
    const store::FileSet fresh = store::FileSet::numbered(n);

    store::DiverEntry e;
    e.Name = name;
    e.Files = fresh;
    QString* lists[4] = {&e.Files.LocFile, &e.Files.TypeFile, &e.Files.BudFile, &e.Files.GearFile};
    for (int k = 0; k < 4; ++k) {
        const int p = shared[static_cast<size_t>(k)];
        if (p >= 1 && p <= static_cast<int>(state.DiverList.size())) {
            const store::FileSet& other = state.DiverList[static_cast<size_t>(p - 1)].Files;
            const QString* from[4] = {&other.LocFile, &other.TypeFile, &other.BudFile,
                                      &other.GearFile};
            *lists[k] = *from[k];
        }
    }
    state.DiverList.push_back(std::move(e));
}

store::FileProblems DeleteData(const store::AppState& state, int position) {
    store::FileProblems failures;
    const int count = static_cast<int>(state.DiverList.size());
    if (position < 1 || position > count)
        return failures;
    auto namedByOthers = [&](const QString& file) {
        for (int p = 1; p <= count; ++p)
            if (p != position)
                for (const QString& n : state.DiverList[static_cast<size_t>(p - 1)].Files.names())
                    if (n.compare(file, Qt::CaseInsensitive) == 0)
                        return true;
        return false;
    };
    for (const QString& file : state.DiverList[static_cast<size_t>(position - 1)].Files.names()) {
        if (namedByOthers(file))
            continue;
        const QString reason = store::fileio::discardFile(file);
        if (!reason.isEmpty())
            failures.push_back({file, reason});
    }
    return failures;
}

NameCheck checkNewName(const store::AppState& state, const QString& typed, QString* name) {
    const QString trimmed = typed.trimmed();
    if (name)
        *name = trimmed;
    if (trimmed.isEmpty())
        return NameCheck::Empty;
    for (const store::DiverEntry& d : state.DiverList)
        if (d.Name.trimmed().compare(trimmed, Qt::CaseInsensitive) == 0)
            return NameCheck::Used;
    // Stored as "?" the name could no longer be told apart from others or typed again.
    if (store::text::fromCp1252(store::text::toCp1252(trimmed)) != trimmed)
        return NameCheck::NotStorable;
    return NameCheck::Ok;
}

store::FileProblems SelectDiver(store::AppState& state, int position) {
    const int count = static_cast<int>(state.DiverList.size());
    if (position < 1 || position > count)
        position = state.DefaultDiver;
    if (position >= 1 && position <= count) {
        const store::DiverEntry& d = state.DiverList[static_cast<size_t>(position - 1)];
        state.DiverName = d.Name;
        state.Files = d.Files;
    }
    return SaveDiverList(state);
}

DeleteCheck checkDelete(const store::AppState& state, int position) {
    if (position < 1 || position > static_cast<int>(state.DiverList.size()))
        return DeleteCheck::NoSelection;
    if (position == state.DefaultDiver)
        return DeleteCheck::IsDefault;
    return DeleteCheck::Ok;
}

QStringList sharedWith(const store::AppState& state, int which) {
    const auto listFile = [which](const store::FileSet& f) {
        const QString files[4] = {f.LocFile, f.TypeFile, f.BudFile, f.GearFile};
        return files[std::clamp(which, 0, 3)];
    };
    const QString mine = listFile(state.Files);
    QStringList others;
    for (const store::DiverEntry& d : readDiverFile().divers) {
        const bool isMe = d.Files.LogFile == state.Files.LogFile;
        const QString theirs = listFile(d.Files);
        if (!isMe && store::fileio::isSafeFileName(theirs) &&
            (theirs == mine || store::fileio::sameFile(theirs, mine)) && !others.contains(d.Name))
            others << d.Name;
    }
    return others;
}

} // namespace divers
