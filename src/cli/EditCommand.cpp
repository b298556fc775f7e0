// reefbook-cli edit: "Edit Selected Dives" without a window, saved through the session.
#include "EditCommand.h"

#include "Cli.h"

#include "store/JsonKeys.h"

#include "divelist/BulkEdit.h"
#include "session/Session.h"

#include <QRegularExpression>

namespace cli {

namespace {

const char* const EditHelp =
    "Sets the same fields on every dive named (by dive number), as one change, and saves.\n";

// "N", "N-M" and lists of them, as dive numbers; the log positions in the order given.
bool parseDives(const store::AppState& state, const QString& text, std::vector<int>& dives,
                QString& error) {
    static const QRegularExpression item(
        QStringLiteral("^\\s*(-?\\d+)\\s*(?:-\\s*(-?\\d+)\\s*)?$"));
    const int first = 1 + state.DiveOffset, last = state.DiveCount() + state.DiveOffset;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QRegularExpressionMatch m = item.match(part);
        bool ok1 = false, ok2 = true;
        const long long from = m.hasMatch() ? m.captured(1).toLongLong(&ok1) : 0;
        const long long to =
            m.hasMatch() && m.hasCaptured(2) ? m.captured(2).toLongLong(&ok2) : from;
        if (!m.hasMatch() || !ok1 || !ok2 || to < from) {
            error =
                QStringLiteral("--dives \"%1\": expected dive numbers such as 12,15-20").arg(text);
            return false;
        }
        if (from < first || to > last) {
            error = QStringLiteral("dive %1 is not in the log (%2-%3)")
                        .arg(from < first ? from : to)
                        .arg(first)
                        .arg(last);
            return false;
        }
        for (long long n = from; n <= to; ++n)
            dives.push_back(static_cast<int>(n - state.DiveOffset));
    }
    std::sort(dives.begin(), dives.end());
    dives.erase(std::unique(dives.begin(), dives.end()), dives.end());
    return true;
}

// A whole number that fits a record's field.
bool fieldNumber(const QString& text, int16_t& value) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < 0 || v > INT16_MAX) return false;
    value = static_cast<int16_t>(v);
    return true;
}

QString setOne(const store::AppState& state, const QString& assignment, divelist::BulkEdit& edit) {
    const qsizetype eq = assignment.indexOf(QLatin1Char('='));
    if (eq <= 0) return QStringLiteral("--set \"%1\": expected FIELD=VALUE").arg(assignment);
    const QString name = assignment.left(eq).trimmed().toLower();
    const QString value = assignment.mid(eq + 1);
    for (int w = 0; w < 4; ++w) {
        if (name != QLatin1String(store::jsonkeys::ListData[w])) continue;
        const store::RefList& list = state.list(w);
        QStringList names;
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].Name == value) {
                edit.list[size_t(w)] = static_cast<int16_t>(i);
                return QString();
            }
            names << QLatin1Char('"') + list[i].Name + QLatin1Char('"');
        }
        return QStringLiteral("%1 \"%2\" is not in the list; it holds %3")
            .arg(name, value, names.join(QStringLiteral(", ")));
    }
    if (name == u"rating") {
        const int r = store::field::ratingFromName(value.trimmed());
        if (r < 0)
            return QStringLiteral("rating \"%1\": expected poor, average or good").arg(value);
        edit.rating = static_cast<int16_t>(r);
        return QString();
    }
    for (size_t c = 0; c < 8; ++c) {
        if (name != QLatin1String(store::jsonkeys::Conditions[c])) continue;
        if (value.trimmed() != u"0" && value.trimmed() != u"1")
            return QStringLiteral("%1 \"%2\": expected 0 or 1").arg(name, value);
        edit.conditions[c] = static_cast<int16_t>(value.trimmed() == u"1");
        return QString();
    }
    if (name == u"tank" || name == u"weight") {
        int16_t v = 0;
        if (!fieldNumber(value, v))
            return QStringLiteral("%1 \"%2\": expected a whole number from 0 to 32767")
                .arg(name, value);
        (name == u"tank" ? edit.tankSize : edit.weight) = v;
        return QString();
    }
    return QStringLiteral("--set: no field \"%1\" (location, type, buddy, gear, rating, tank, "
                          "weight or a condition)")
        .arg(name);
}

} // namespace

EditCommand::EditCommand()
    : Command(QStringLiteral("edit"), QStringLiteral("--dives N,N-M --set FIELD=VALUE ..."),
              QStringLiteral("set fields on several dives at once and save (edit --help)"),
              {
                  {QStringLiteral("dives"), QStringLiteral("N,N-M,..."),
                   QStringLiteral("the dives, by number")},
                  {QStringLiteral("set"), QStringLiteral("FIELD=VALUE"),
                   QStringLiteral(
                       "location=NAME, type=NAME, buddy=NAME, gear=NAME: an entry of that list;\n"
                       "rating=poor|average|good; CONDITION=0|1 for freshwater, saltwater,\n"
                       "boat, shore, waves, current, surf, surge; tank=N; weight=N.\n"
                       "May be given several times; every other field keeps each dive's\n"
                       "own value")},
              },
              QString::fromLatin1(EditHelp)) {}

int EditCommand::run(Context& ctx) const {
    if (!ctx.args.isEmpty())
        return ctx.fail(
            QStringLiteral("edit: unknown argument \"%1\" (try edit --help)").arg(ctx.args.first()));
    const QStringList divesGiven = ctx.line->values(QStringLiteral("dives"));
    if (divesGiven.size() > 1) return ctx.fail(QStringLiteral("--dives given twice"));
    const QString divesText = divesGiven.value(0);
    const QStringList sets = ctx.line->values(QStringLiteral("set"));
    if (divesText.isEmpty()) return ctx.fail(QStringLiteral("edit: say which dives (--dives)"));
    if (sets.isEmpty())
        return ctx.fail(QStringLiteral("edit: say what to set (--set FIELD=VALUE)"));

    store::AppState state;
    if (!openWholeFileSet(ctx, state)) return ExitError;
    std::vector<int> dives;
    QString error;
    if (!parseDives(state, divesText, dives, error)) return ctx.fail(error);
    divelist::BulkEdit edit;
    for (const QString& s : sets)
        if (const QString why = setOne(state, s, edit); !why.isEmpty()) return ctx.fail(why);

    session::Session session(state);
    session.editDives(dives, QStringLiteral("Edit %1 Dives").arg(dives.size()),
                      [&edit](store::DiveRecord& d) { edit.apply(d); });
    const store::FileProblems failures = session.save();
    for (const store::FileProblem& p : failures)
        ctx.fail(QStringLiteral("cannot write %1: %2").arg(p.file, p.what));
    if (!failures.empty()) return ExitError;
    ctx.out.write(QStringLiteral("%1 %2 edited.\n")
                      .arg(dives.size())
                      .arg(dives.size() == 1 ? QStringLiteral("dive") : QStringLiteral("dives"))
                      .toUtf8());
    return ExitOk;
}

} // namespace cli
