#include "LoadCommand.h"

#include "Cli.h"
#include "JsonLoad.h"

#include "divers/DiverList.h"
#include "lists/ListOps.h"
#include "session/Session.h"
#include "store/Consistency.h"
#include "store/LogOps.h"

#include <QFile>
#include <QFileInfo>

namespace cli {

LoadCommand::LoadCommand()
    : Command(QStringLiteral("load"), QStringLiteral("FILE.json"),
              QStringLiteral("write the six files of the set from JSON shaped like dump's")) {}

int LoadCommand::run(Context& ctx) const {
    if (ctx.args.size() != 1) return ctx.fail(QStringLiteral("load needs exactly one JSON file"));
    const QString source = ctx.typedPath(ctx.args.first());
    store::FolderLock lock;
    if (!lockForWriting(ctx, lock)) return ExitError;
    store::AppState state;
    if (!resolveFileSet(ctx, state)) return ExitError;
    if (const QString unsafe = unsafeFileName(state.Files); !unsafe.isEmpty())
        return ctx.fail(unsafe + QStringLiteral("; nothing was written"));

    QFile in(source);
    if (QFileInfo(source).isDir())
        return ctx.fail(QStringLiteral("cannot read %1: it is a folder").arg(source));
    if (!in.open(QIODevice::ReadOnly))
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    QByteArray json;
    if (const QString why = readAtMost(in, MaxJsonBytes, json); !why.isEmpty())
        return ctx.fail(QStringLiteral("cannot read %1: %2").arg(source, why));

    if (const QString bad = loadJson(json, state); !bad.isEmpty())
        return ctx.fail(QStringLiteral("%1: %2; nothing was written").arg(source, bad));
    // JSON holds any text; what the files cannot hold is said, not replaced in silence.
    warnAll(ctx, store::consistency::unstorableTexts(state));

    // The files replaced may hold what a reader could not show (a damaged count); they are
    // kept as "<name>.damaged" first, as the desktop program's save does.
    store::AppState onDisk;
    onDisk.Files = state.Files;
    store::OpenLog(onDisk);
    state.DamagedFiles = onDisk.DamagedFiles;

    // Other divers' dives name the entries of a list they share by position: those entries
    // keep their places.
    for (int which = 0; which < 4; ++which) {
        const QStringList others = divers::sharedWith(state, which);
        if (others.isEmpty()) continue;
        if (const QString change = lists::sharedListChange(onDisk.list(which), state.list(which));
            !change.isEmpty())
            return ctx.fail(QStringLiteral("%1 is shared with %2: %3, and their dives would name "
                                           "another entry; nothing was written")
                                .arg(state.Files.names()[static_cast<size_t>(which) + 1],
                                     others.join(QStringLiteral(", ")), change));
    }

    bool mixed = false;
    const store::FileProblems failures = session::Session(state).save(&mixed);
    for (const store::FileProblem& p : failures)
        ctx.fail(QStringLiteral("cannot write %1: %2").arg(p.file, p.what));
    if (failures.empty()) return ExitOk;
    if (mixed)
        return ctx.fail(QStringLiteral("the files could not all be put back as they were; run "
                                       "reefbook-cli check and keep the copies named above"));
    return ctx.fail(QStringLiteral("no file was replaced; the six files are as they were"));
}

} // namespace cli
