#include "InfoCommand.h"

#include "Cli.h"

#include "store/Totals.h"

namespace cli {

namespace {

QString entries(int n) {
    return n == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(n);
}

} // namespace

InfoCommand::InfoCommand()
    : Command(QStringLiteral("info"), QString(),
              QStringLiteral("diver, files, dive count, totals and list sizes")) {}

int InfoCommand::run(Context& ctx) const {
    if (!noArguments(ctx, "info")) return ExitError;
    store::AppState state;
    if (!openForReading(ctx, state)) return ExitError;

    const store::LogTotals t = store::totalsUpTo(state, state.DiveCount());
    const store::FileSet& f = state.Files;
    QString text;
    QTextStream s(&text);
    s << "Diver: " << state.DiverName << '\n'
      << "Log: " << f.LogFile << '\n'
      << "Total Dives: " << state.DiveCount() << '\n'
      << "Dive Numbers: " << 1 + state.DiveOffset << '-' << state.DiveCount() + state.DiveOffset
      << '\n'
      << "Time to Date: " << store::timeToDateText(t.minutes) << '\n'
      << "Avg. Depth: " << t.avgDepth() << '\n'
      << "Avg. Time: " << t.avgTime() << '\n'
      << "Locations: " << entries(static_cast<int>(state.LocationList.size())) << " in "
      << f.LocFile << '\n'
      << "Dive Types: " << entries(static_cast<int>(state.TypeList.size())) << " in " << f.TypeFile
      << '\n'
      << "Buddies: " << entries(static_cast<int>(state.BuddyList.size())) << " in " << f.BudFile
      << '\n'
      << "Gear: " << entries(static_cast<int>(state.GearList.size())) << " in " << f.GearFile
      << '\n'
      // Record 0 is a placeholder no dive refers to, so it is not counted.
      << "Profiles: " << state.Profiles.size() - 1 << " in " << f.ProfFile << '\n';
    s.flush();
    ctx.out.write(text.toUtf8());
    return ExitOk;
}

} // namespace cli
