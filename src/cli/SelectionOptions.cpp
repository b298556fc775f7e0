#include "SelectionOptions.h"


#include <algorithm>

namespace cli {

namespace {

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

} // namespace

std::vector<OptionDef> selectionOptions() {
    const QString range = QStringLiteral("LO[-HI]");
    const QString within =
        QStringLiteral("at least LO and below HI; no HI means no upper bound");
    const QString positions = QStringLiteral("N[,N...]");
    const QString uses =
        QStringLiteral("uses one of these entries (positions in the list, from 0)");
    return {
        {QStringLiteral("dates"), QStringLiteral("M/D/Y-M/D/Y"),
         QStringLiteral("dives dated from the first date to the second, inclusive;\n"
                        "either date may be left empty")},
        {QStringLiteral("numbers"), QStringLiteral("FROM-TO"),
         QStringLiteral("log positions, 1 = first entry; an empty TO means the last")},
        {QStringLiteral("all-in-range"), {}, QStringLiteral("every dive in the range")},
        {QStringLiteral("good"), {}, QStringLiteral("rated good")},
        {QStringLiteral("average"), {}, QStringLiteral("rated average")},
        {QStringLiteral("poor"), {}, QStringLiteral("rated poor")},
        {QStringLiteral("tank"), range, QStringLiteral("tank size ") + within},
        {QStringLiteral("bottom-time"), range, QStringLiteral("bottom time ") + within},
        {QStringLiteral("depth"), range, QStringLiteral("maximum depth ") + within},
        {QStringLiteral("condition"), QStringLiteral("NAME"),
         QStringLiteral("freshwater, saltwater, boat, shore, waves, current, surf or\n"
                        "surge; may be repeated")},
        {QStringLiteral("location"), positions, uses},
        {QStringLiteral("type"), positions, uses},
        {QStringLiteral("buddy"), positions, uses},
        {QStringLiteral("gear"), positions, uses},
        {QStringLiteral("comment"), QStringLiteral("TEXT"),
         QStringLiteral("the comment contains TEXT, in capitals or not")},
    };
}

std::vector<OptionDef> withSelection(std::vector<OptionDef> own) {
    const std::vector<OptionDef> s = selectionOptions();
    own.insert(own.begin(), s.begin(), s.end());
    return own;
}

const char* const SelectionHelp =
    "Which dives: --dates or --numbers (neither: all dives). A dive in that range is chosen\n"
    "when it meets any one of the other criteria.\n";

bool parseSelection(Context& ctx, const QString& command, Selection& selection) {
    search::ChartCriteria& c = selection.criteria;
    const CommandLine& line = *ctx.line;
    if (!ctx.args.isEmpty()) {
        ctx.fail(QStringLiteral("%1: unknown argument \"%2\" (try --help)")
                     .arg(command, ctx.args.first()));
        return false;
    }
    bool byDate = false, byNumber = false;
    for (const OptionDef& def : selectionOptions()) {
        const QString option = CommandLine::typed(def.name);
        const QStringList values = line.values(def.name);
        if (!line.isSet(def.name)) continue;
        selection.given = true;
        if (def.valueName.isEmpty()) {
            if (def.name == u"all-in-range")
                c.AllInRange = true;
            else
                c.Ratings[static_cast<size_t>(store::field::ratingFromName(def.name))] = true;
            continue;
        }
        if (option != u"--condition" && values.size() > 1) {
            ctx.fail(QStringLiteral("%1 given twice").arg(option));
            return false;
        }
        for (const QString& value : values) {
            if (option == u"--dates") {
                const qsizetype dash = value.indexOf(QLatin1Char('-'));
                if (dash < 0 || !splitDate(value.left(dash), c.DateFrom) ||
                    !splitDate(value.mid(dash + 1), c.DateTo)) {
                    ctx.fail(QStringLiteral("--dates \"%1\": expected M/D/Y-M/D/Y").arg(value));
                    return false;
                }
                for (const auto* date : {&c.DateFrom, &c.DateTo})
                    if (const QString bad =
                            notANumber(option, value, {(*date)[0], (*date)[1], (*date)[2]});
                        !bad.isEmpty()) {
                        ctx.fail(bad);
                        return false;
                    }
                byDate = true;
            } else if (option == u"--numbers") {
                const qsizetype dash = value.indexOf(QLatin1Char('-'));
                if (dash < 0) {
                    ctx.fail(QStringLiteral("--numbers \"%1\": expected FROM-TO").arg(value));
                    return false;
                }
                c.NumFrom = value.left(dash);
                c.NumTo = value.mid(dash + 1);
                if (const QString bad = notANumber(option, value, {c.NumFrom, c.NumTo});
                    !bad.isEmpty()) {
                    ctx.fail(bad);
                    return false;
                }
                byNumber = true;
            } else if (option == u"--tank" || option == u"--bottom-time" ||
                       option == u"--depth") {
                const size_t r = option == u"--tank" ? 0 : option == u"--bottom-time" ? 1 : 2;
                c.UseRange[r] = true;
                std::tie(c.RangeMin[r], c.RangeMax[r]) = splitRange(value);
                if (const QString bad = notANumber(option, value, {c.RangeMin[r], c.RangeMax[r]});
                    !bad.isEmpty()) {
                    ctx.fail(bad);
                    return false;
                }
            } else if (option == u"--condition") {
                size_t k = 0;
                while (k < store::field::ConditionNames.size() &&
                       value.compare(QLatin1String(store::field::ConditionNames[k]),
                                     Qt::CaseInsensitive) != 0)
                    ++k;
                if (k == store::field::ConditionNames.size()) {
                    ctx.fail(QStringLiteral("--condition \"%1\": expected freshwater, saltwater, "
                                            "boat, shore, waves, current, surf or surge")
                                 .arg(value));
                    return false;
                }
                c.Conds[k] = true;
            } else if (option == u"--comment") {
                c.UseComment = true;
                c.Comment = value;
            } else {
                size_t k = 0;
                while (option != QLatin1String(ListOptions[k]))
                    ++k;
                c.UseList[k] = true;
                if (!parsePositions(value, c.ListLines[k])) {
                    ctx.fail(
                        QStringLiteral("%1 \"%2\": expected line positions from 0, such as 0,2")
                            .arg(option, value));
                    return false;
                }
            }
        }
    }
    if (byDate && byNumber) {
        ctx.fail(QStringLiteral("--dates and --numbers cannot be used together"));
        return false;
    }
    c.SelectionMode = byDate ? search::ByDate : byNumber ? search::ByNumber : search::AllDives;
    return true;
}

bool checkListPositions(Context& ctx, const search::ChartCriteria& c,
                        const store::AppState& state) {
    for (size_t k = 0; k < 4; ++k) {
        const int size = static_cast<int>(state.list(static_cast<int>(k)).size());
        for (int line : c.ListLines[k])
            if (line >= size) {
                ctx.fail(QStringLiteral("%1 %2: the %3 list has %4 (positions 0-%5)")
                             .arg(QLatin1String(ListOptions[k]))
                             .arg(line)
                             .arg(QLatin1String(ListRoles[k]),
                                  size == 1 ? QStringLiteral("1 entry")
                                            : QStringLiteral("%1 entries").arg(size))
                             .arg(size - 1));
                return false;
            }
    }
    return true;
}

std::vector<int> selectedDives(search::ChartCriteria& criteria, store::AppState& state) {
    std::vector<int16_t> flagged;
    search::RunSearch(criteria, state, flagged);
    return std::vector<int>(flagged.begin() + 1, flagged.end());
}

bool openForSelection(Context& ctx, const search::ChartCriteria& criteria, store::AppState& state) {
    return openForReading(ctx, state) && checkListPositions(ctx, criteria, state);
}

} // namespace cli
