#include "DumpCommand.h"

#include "Cli.h"
#include "JsonDump.h"

namespace cli {

DumpCommand::DumpCommand()
    : Command(QStringLiteral("dump"), QString(),
              QStringLiteral("write the whole file set as JSON to standard output")) {}

int DumpCommand::run(Context& ctx) const {
    if (!noArguments(ctx, "dump")) return ExitError;
    store::AppState state;
    if (!openForReading(ctx, state)) return ExitError;
    const QByteArray json = dumpJson(state);
    if (ctx.out.write(json) != json.size())
        return ctx.fail(QStringLiteral("cannot write the output: %1").arg(ctx.out.errorString()));
    return ExitOk;
}

} // namespace cli
