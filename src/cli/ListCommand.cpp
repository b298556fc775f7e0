// reefbook-cli list: the rows of the Dive List window, in its order and with its filter.
#include "ListCommand.h"

#include "Cli.h"

#include "divelist/DiveColumns.h"
#include "divelist/DiveOrder.h"
#include "divelist/QuickFilter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

const char* const ListHelp =
    "Prints the dives as the Dive List window shows them: one line per dive, the columns\n"
    "separated by tabs, under a line naming them.\n";

QString allNames() {
    QStringList names;
    for (int c = 0; c < divelist::ColumnCount; ++c)
        names << divelist::columnKey(c);
    return names.join(QLatin1Char(','));
}

QString defaultNames() {
    QStringList names;
    for (int c = 0; c < divelist::ColumnCount; ++c)
        if (divelist::shownByDefault(c)) names << divelist::columnKey(c);
    return names.join(QLatin1Char(','));
}

// The value as dump writes the field, but lists by name, as the window shows them.
QJsonValue jsonValue(const store::AppState& state, int index, int column) {
    using namespace divelist;
    const store::DiveRecord& d = state.Dives[static_cast<size_t>(index)];
    switch (column) {
    case Number:
        return index + state.DiveOffset;
    case Date:
        return QJsonObject{{QStringLiteral("month"), d.TimeData[store::field::Month]},
                           {QStringLiteral("day"), d.TimeData[store::field::Day]},
                           {QStringLiteral("year"), d.TimeData[store::field::Year]}};
    case Entry:
    case divelist::Exit: {
        const size_t h =
            column == divelist::Entry ? store::field::EntryHour : store::field::ExitHour;
        return QJsonObject{{QStringLiteral("hour"), d.TimeData[h]},
                           {QStringLiteral("minute"), d.TimeData[h + 1]}};
    }
    case Location:
    case Type:
    case Buddy:
    case Gear:
        return cellText(state, index, column);
    case Rating:
        return d.Rating;
    case Comment:
        return d.Comments;
    default:
        break;
    }
    if (column >= FirstCondition && column < Comment)
        return d.CondData[static_cast<size_t>(column - FirstCondition)];
    // The rest are DiveData numbers; the cell text leaves a 0 empty, JSON keeps it.
    const QString key = columnKey(column);
    static const char* const Fields[10] = {"psiIn",      "psiOut",    "tankSize", "bottomTime",
                                           "maxDepth",   "weight",    "airTemp",  "surfaceTemp",
                                           "bottomTemp", "visibility"};
    for (size_t e = 0; e < 10; ++e)
        if (key == QLatin1String(Fields[e])) return d.DiveData[e];
    return QJsonValue();
}

} // namespace

ListCommand::ListCommand()
    : Command(
          QStringLiteral("list"),
          QStringLiteral("[--columns C,C,...] [--sort COLUMN[:desc]] [--filter TEXT] [--json]"),
          QStringLiteral("the dives as the Dive List window shows them (list --help)"),
          {
              {QStringLiteral("columns"), QStringLiteral("C,C,..."),
               QStringLiteral("the columns, by the names dump gives the fields, plus number:\n%1\n"
                              "(default: %2)")
                   .arg(allNames(), defaultNames())},
              {QStringLiteral("sort"), QStringLiteral("COLUMN[:desc]"),
               QStringLiteral("sort by that column (default number); dates sort by date and\n"
                              "entry time with undated dives last; equal values keep log order")},
              {QStringLiteral("filter"), QStringLiteral("TEXT"),
               QStringLiteral("only dives whose location, type, buddy, gear or comment holds\n"
                              "TEXT, in capitals or not")},
              {QStringLiteral("json"),
               {},
               QStringLiteral("an array with one object per row: index (the log position),\n"
                              "number and the columns asked")},
          },
          QString::fromLatin1(ListHelp)) {}

int ListCommand::run(Context& ctx) const {
    if (!ctx.args.isEmpty())
        return ctx.fail(
            QStringLiteral("list: unknown argument \"%1\" (try list --help)").arg(ctx.args.first()));
    const CommandLine& given = *ctx.line;
    // The last one given counts, as a later word on the command line overrides an earlier.
    const auto last = [&given](const char* name, const QString& otherwise) {
        const QStringList values = given.values(QLatin1String(name));
        return values.isEmpty() ? otherwise : values.last();
    };
    const QString columnsText = last("columns", defaultNames());
    const QString sortText = last("sort", QStringLiteral("number"));
    const QString filterText = last("filter", QString());
    const bool json = given.isSet(QStringLiteral("json"));

    std::vector<int> columns;
    for (const QString& name : columnsText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int c = divelist::columnNamed(name.trimmed());
        if (c < 0)
            return ctx.fail(QStringLiteral("no column \"%1\"; the columns are %2")
                                .arg(name.trimmed(), allNames()));
        columns.push_back(c);
    }
    if (columns.empty()) return ctx.fail(QStringLiteral("--columns names no column"));
    bool descending = false;
    QString sortName = sortText;
    if (sortName.endsWith(QLatin1String(":desc"), Qt::CaseInsensitive)) {
        descending = true;
        sortName.chop(5);
    } else if (sortName.endsWith(QLatin1String(":asc"), Qt::CaseInsensitive)) {
        sortName.chop(4);
    }
    const int sortColumn = divelist::columnNamed(sortName);
    if (sortColumn < 0)
        return ctx.fail(QStringLiteral("no column \"%1\" to sort by; the columns are %2")
                            .arg(sortName, allNames()));

    store::AppState state;
    if (!openForReading(ctx, state)) return ExitError;

    divelist::QuickFilter filter;
    filter.text = filterText;
    const std::vector<int> rows = divelist::DiveOrder(state).sorted(
        divelist::filteredDives(state, filter), sortColumn, descending);

    if (json) {
        QJsonArray array;
        for (int index : rows) {
            QJsonObject row{{QStringLiteral("index"), index},
                            {QStringLiteral("number"), index + state.DiveOffset}};
            for (int c : columns)
                row.insert(divelist::columnKey(c), jsonValue(state, index, c));
            array.append(row);
        }
        ctx.out.write(QJsonDocument(array).toJson(QJsonDocument::Indented));
        return ExitOk;
    }
    QStringList line;
    for (int c : columns)
        line << divelist::columnKey(c);
    QByteArray text = line.join(QLatin1Char('\t')).toUtf8() + '\n';
    for (int index : rows) {
        line.clear();
        for (int c : columns)
            line
                << divelist::cellText(state, index, c).replace(QLatin1Char('\t'), QLatin1Char(' '));
        text += line.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    ctx.out.write(text);
    return ExitOk;
}

} // namespace cli
