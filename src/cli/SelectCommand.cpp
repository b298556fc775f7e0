// reefbook-cli select: the Charting search without a window. Each argument fills one of the
// chart dialog's boxes with its text, so the search reads it exactly as the dialog would.
#include "Cli.h"

#include "search/DiveSearch.h"

#include <QSet>

namespace cli {

namespace {

const char* const ConditionNames[8] = {"freshwater", "saltwater", "boat", "shore",
                                       "waves",      "current",   "surf", "surge"};
// By ListData element, as the options name them.
const char* const ListOptions[4] = {"--location", "--type", "--buddy", "--gear"};
const char* const ListRoles[4] = {"location", "dive type", "buddy", "gear"};

// "LO-HI" split at the first '-' that is not a leading sign; no '-' leaves HI empty.
std::pair<QString, QString> splitRange(const QString& value) {
    const qsizetype dash = value.indexOf(QLatin1Char('-'), 1);
    if (dash < 0) return {value, QString()};
    return {value.left(dash), value.mid(dash + 1)};
}

// "M/D/Y" into the three boxes; an empty date leaves them empty. False when malformed.
bool splitDate(const QString& date, std::array<QString, 3>& boxes) {
    if (date.isEmpty()) return true;
    const QStringList parts = date.split(QLatin1Char('/'));
    if (parts.size() != 3) return false;
    for (size_t i = 0; i < 3; ++i)
        boxes[i] = parts[static_cast<qsizetype>(i)];
    return true;
}

// The dialog reads a box that is not a number as its default; typed on the command line such a
// value is a mistake, so it is refused. An empty part keeps its meaning (the default).
QString notANumber(const QString& option, const QString& value,
                   std::initializer_list<QString> parts) {
    for (const QString& part : parts) {
        bool ok = part.trimmed().isEmpty();
        if (!ok) part.trimmed().toInt(&ok);
        if (!ok)
            return QStringLiteral("%1 \"%2\": \"%3\" is not a number").arg(option, value, part);
    }
    return {};
}

bool parsePositions(const QString& value, std::vector<int>& lines) {
    for (const QString& part : value.split(QLatin1Char(','))) {
        bool ok = false;
        const int line = part.trimmed().toInt(&ok);
        if (!ok || line < 0) return false;
        lines.push_back(line);
    }
    return true;
}

void writeNumbers(QString& text, const std::vector<int>& numbers) {
    for (size_t i = 0; i < numbers.size(); ++i)
        text += (i ? QStringLiteral(", ") : QString()) + QString::number(numbers[i]);
}

} // namespace

const char* const SelectHelp =
    "Usage: reefbook-cli [--diver NAME] select [CRITERIA...] [--json]\n"
    "\n"
    "Lists the dives that meet the criteria, as the Charting window finds them. Each value is\n"
    "read as the window reads the box it stands for.\n"
    "\n"
    "Which dives (neither: all dives):\n"
    "  --dates M/D/Y-M/D/Y      dives dated from the first date to the second, inclusive;\n"
    "                           either date may be left empty\n"
    "  --numbers FROM-TO        log positions, 1 = first entry; an empty TO means the last\n"
    "A dive in that range is listed when it meets any one of:\n"
    "  --all-in-range           every dive in the range\n"
    "  --good, --average, --poor  its rating\n"
    "  --tank LO[-HI], --bottom-time LO[-HI], --depth LO[-HI]\n"
    "                           at least LO and below HI; no HI means no upper bound\n"
    "  --condition NAME         freshwater, saltwater, boat, shore, waves, current, surf or\n"
    "                           surge; may be repeated\n"
    "  --location N[,N...], --type N[,N...], --buddy N[,N...], --gear N[,N...]\n"
    "                           uses one of these entries (positions in the list, from 0)\n"
    "  --comment TEXT           the comment contains TEXT, in capitals or not\n"
    "\n"
    "Prints Matched, Total Dives, % Matched and the dive numbers, or with --json one object:\n"
    "{\"matched\", \"total\", \"percent\", \"dives\" (numbers), \"indexes\" (log positions)}.\n";

int selectCommand(Context& ctx) {
    if (ctx.args.contains(QStringLiteral("--help"))) {
        ctx.out.write(SelectHelp);
        return ExitOk;
    }
    search::ChartCriteria c;
    bool json = false, byDate = false, byNumber = false;
    QSet<QString> seen;
    const QStringList& args = ctx.args;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString option = args[i], value;
        bool inlineValue = false;
        if (const qsizetype eq = option.indexOf(QLatin1Char('='));
            option.startsWith(u"--") && eq > 2) {
            value = option.mid(eq + 1);
            option = option.left(eq);
            inlineValue = true;
        }
        const auto flag = [&](bool& target) {
            if (inlineValue) return ctx.fail(QStringLiteral("%1 takes no value").arg(option));
            target = true;
            return 0;
        };
        if (option == u"--json") {
            if (flag(json)) return ExitError;
            continue;
        }
        if (option == u"--all-in-range") {
            if (flag(c.AllInRange)) return ExitError;
            continue;
        }
        if (option == u"--good" || option == u"--average" || option == u"--poor") {
            const size_t rating = option == u"--good" ? 2 : option == u"--average" ? 1 : 0;
            if (flag(c.Ratings[rating])) return ExitError;
            continue;
        }

        static const QStringList valued = {
            QStringLiteral("--dates"),    QStringLiteral("--numbers"),
            QStringLiteral("--tank"),     QStringLiteral("--bottom-time"),
            QStringLiteral("--depth"),    QStringLiteral("--condition"),
            QStringLiteral("--location"), QStringLiteral("--type"),
            QStringLiteral("--buddy"),    QStringLiteral("--gear"),
            QStringLiteral("--comment")};
        if (!valued.contains(option))
            return ctx.fail(
                QStringLiteral("select: unknown argument \"%1\" (try --help)").arg(args[i]));
        if (!inlineValue) {
            if (i + 1 >= args.size())
                return ctx.fail(QStringLiteral("%1 needs a value").arg(option));
            value = args[++i];
        }
        if (option != u"--condition" && seen.contains(option))
            return ctx.fail(QStringLiteral("%1 given twice").arg(option));
        seen.insert(option);

        if (option == u"--dates") {
            const qsizetype dash = value.indexOf(QLatin1Char('-'));
            if (dash < 0 || !splitDate(value.left(dash), c.DateFrom) ||
                !splitDate(value.mid(dash + 1), c.DateTo))
                return ctx.fail(QStringLiteral("--dates \"%1\": expected M/D/Y-M/D/Y").arg(value));
            for (const auto* date : {&c.DateFrom, &c.DateTo})
                if (const QString bad = notANumber(option, value, {(*date)[0], (*date)[1], (*date)[2]});
                    !bad.isEmpty())
                    return ctx.fail(bad);
            byDate = true;
        } else if (option == u"--numbers") {
            const qsizetype dash = value.indexOf(QLatin1Char('-'));
            if (dash < 0)
                return ctx.fail(QStringLiteral("--numbers \"%1\": expected FROM-TO").arg(value));
            c.NumFrom = value.left(dash);
            c.NumTo = value.mid(dash + 1);
            if (const QString bad = notANumber(option, value, {c.NumFrom, c.NumTo}); !bad.isEmpty())
                return ctx.fail(bad);
            byNumber = true;
        } else if (option == u"--tank" || option == u"--bottom-time" || option == u"--depth") {
            const size_t r = option == u"--tank" ? 0 : option == u"--bottom-time" ? 1 : 2;
            c.UseRange[r] = true;
            std::tie(c.RangeMin[r], c.RangeMax[r]) = splitRange(value);
            if (const QString bad = notANumber(option, value, {c.RangeMin[r], c.RangeMax[r]});
                !bad.isEmpty())
                return ctx.fail(bad);
        } else if (option == u"--condition") {
            size_t k = 0;
            while (k < 8 &&
                   value.compare(QLatin1String(ConditionNames[k]), Qt::CaseInsensitive) != 0)
                ++k;
            if (k == 8)
                return ctx.fail(QStringLiteral("--condition \"%1\": expected freshwater, "
                                               "saltwater, boat, shore, waves, current, surf "
                                               "or surge")
                                    .arg(value));
            c.Conds[k] = true;
        } else if (option == u"--comment") {
            c.UseComment = true;
            c.Comment = value;
        } else {
            size_t k = 0;
            while (option != QLatin1String(ListOptions[k]))
                ++k;
            c.UseList[k] = true;
            if (!parsePositions(value, c.ListLines[k]))
                return ctx.fail(QStringLiteral("%1 \"%2\": expected line positions from 0, "
                                               "such as 0,2")
                                    .arg(option, value));
        }
    }
    if (byDate && byNumber)
        return ctx.fail(QStringLiteral("--dates and --numbers cannot be used together"));
    c.SelectionMode = byDate ? search::ByDate : byNumber ? search::ByNumber : search::AllDives;

    AppState state;
    FileProblems problems;
    if (!openFileSet(ctx, state, problems)) return ExitError;
    for (const FileProblem& p : problems)
        ctx.warn(QStringLiteral("%1: %2").arg(p.file, p.what));
    // The dialog only offers the lines its lists have.
    for (size_t k = 0; k < 4; ++k) {
        const int size = static_cast<int>(state.list(static_cast<int>(k)).size());
        for (int line : c.ListLines[k])
            if (line >= size)
                return ctx.fail(QStringLiteral("%1 %2: the %3 list has %4 (positions 0-%5)")
                                    .arg(QLatin1String(ListOptions[k]))
                                    .arg(line)
                                    .arg(QLatin1String(ListRoles[k]),
                                         size == 1 ? QStringLiteral("1 entry")
                                                   : QStringLiteral("%1 entries").arg(size))
                                    .arg(size - 1));
    }

    search::RunSearch(c, state);
    const search::ResultFigures f = search::Figures(state);
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
