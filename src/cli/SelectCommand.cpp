// reefbook-cli select: the Charting search without a window. Each argument fills one of the
// chart dialog's boxes with its text, so the search reads it exactly as the dialog would.
#include "SelectCommand.h"
#include "SelectionOptions.h"

namespace cli {

namespace {

void writeNumbers(QString& text, const std::vector<int>& numbers) {
    for (size_t i = 0; i < numbers.size(); ++i)
        text += (i ? QStringLiteral(", ") : QString()) + QString::number(numbers[i]);
}

const char* const SelectUsage =
    "Lists the dives that meet the criteria, as the Charting window finds them. Each value is\n"
    "read as the window reads the box it stands for.\n"
    "\n";
const char* const SelectOutput =
    "\n"
    "Prints Matched, Total Dives, % Matched and the dive numbers, or with --json one object:\n"
    "{\"matched\", \"total\", \"percent\", \"dives\" (numbers), \"indexes\" (log positions)}.\n";

} // namespace

SelectCommand::SelectCommand()
    : Command(QStringLiteral("select"), QStringLiteral("[CRITERIA...] [--json]"),
              QStringLiteral("the dives that meet the criteria (select --help)"),
              withSelection({jsonOption()}),
              QString::fromUtf8(QByteArray(SelectUsage) + SelectionHelp + SelectOutput)) {}

int SelectCommand::run(Context& ctx) const {
    Selection selection;
    const bool json = ctx.line->isSet(QStringLiteral("json"));
    if (!parseSelection(ctx, QStringLiteral("select"), selection)) return ExitError;

    store::AppState state;
    if (!openForSelection(ctx, selection.criteria, state)) return ExitError;

    std::vector<int16_t> flagged;
    search::RunSearch(selection.criteria, state, flagged);
    const search::ResultFigures f = search::Figures(state, flagged);
    QString text;
    if (json) {
        text = QStringLiteral("{\"matched\": %1, \"total\": %2, \"percent\": %3, \"dives\": [")
                   .arg(f.matched)
                   .arg(f.total)
                   .arg(f.percent);
        writeNumbers(text, f.displayed);
        text += QStringLiteral("], \"indexes\": [");
        writeNumbers(text, f.indexes);
        text += QStringLiteral("]}\n");
    } else {
        text = QStringLiteral("Matched: %1\nTotal Dives: %2\n% Matched: %3\n")
                   .arg(f.matched)
                   .arg(f.total)
                   .arg(f.percent);
        for (int number : f.displayed)
            text += QString::number(number) + QLatin1Char('\n');
    }
    const QByteArray bytes = text.toUtf8();
    if (ctx.out.write(bytes) != bytes.size())
        return ctx.fail(QStringLiteral("cannot write the output: %1").arg(ctx.out.errorString()));
    return ExitOk;
}

} // namespace cli
