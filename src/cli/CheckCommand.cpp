#include "CheckCommand.h"

#include "Cli.h"

#include "divers/DiverList.h"
#include "settings/Settings.h"
#include "store/Consistency.h"
#include "store/LogOps.h"
#include "store/Recovery.h"

namespace cli {

namespace {

// Problems of divers.dvl itself: a file cut short, names a diver's files must not have.
store::FileProblems checkDiverList() {
    store::FileProblems problems;
    const QString& list = divers::ListFileName;
    const divers::DiverFile f = divers::readDiverFile();
    if (f.status == store::fileio::ReadStatus::Missing) return problems;
    if (f.status != store::fileio::ReadStatus::Ok) {
        problems.push_back({list, f.error});
        return problems;
    }
    if (!f.problem.isEmpty()) problems.push_back({list, f.problem});
    const std::vector<store::DiverEntry>& all = f.divers;
    for (size_t d = 0; d < all.size(); ++d)
        for (const store::fileio::NameProblem& bad :
             store::fileio::fileSetNameProblems(all[d].Files, settings::settingsFile()))
            problems.push_back(
                {list, QStringLiteral("diver %1 (%2): %3")
                           .arg(d + 1)
                           .arg(all[d].Name,
                                store::fileio::isSafeFileName(bad.name)
                                    ? fileNameProblem(bad)
                                    : QStringLiteral("unsafe %1 file name \"%2\"")
                                          .arg(QLatin1String(fileRole(bad.role)), bad.name))});
    return problems;
}

} // namespace

CheckCommand::CheckCommand()
    : Command(QStringLiteral("check"), QString(),
              QStringLiteral("report damaged files and references that point nowhere")) {}

int CheckCommand::run(Context& ctx) const {
    if (!noArguments(ctx, "check")) return ExitError;
    store::AppState state;
    if (!resolveFileSet(ctx, state)) return ExitError;
    // Unsafe names are among the problems to list, so the set is opened without the refusal
    // openFileSet makes; OpenLog itself never touches such a name.
    store::FileProblems problems = store::OpenLog(state);
    const store::FileProblems refs = store::consistency::checkReferences(state);
    problems.insert(problems.end(), refs.begin(), refs.end());
    const store::FileProblems diverList = checkDiverList();
    problems.insert(problems.end(), diverList.begin(), diverList.end());
    const store::FileProblems journal = store::recovery::journalProblems(state.Files);
    problems.insert(problems.end(), journal.begin(), journal.end());

    QByteArray text;
    for (const store::FileProblem& p : problems)
        text += QStringLiteral("%1: %2\n").arg(p.file, p.what).toUtf8();
    if (problems.empty()) text = "No problems found.\n";
    ctx.out.write(text);
    return problems.empty() ? ExitOk : ExitProblems;
}

} // namespace cli
