#include "ProfileCommand.h"

#include "Cli.h"

#include "profile/ProfileEditor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

ProfileCommand::ProfileCommand()
    : Command(QStringLiteral("profile"), QStringLiteral("DIVE [--json]"),
              QStringLiteral("print the profile of dive number DIVE as \"minute depth\" lines"),
              {jsonOption()}) {}

int ProfileCommand::run(Context& ctx) const {
    const bool json = ctx.line->isSet(QStringLiteral("json"));
    if (ctx.args.size() > 1)
        return ctx.fail(
            QStringLiteral("profile takes one dive number, got \"%1\"").arg(ctx.args[1]));
    const QString dive = ctx.args.value(0);
    if (dive.isEmpty()) return ctx.fail(QStringLiteral("profile needs a dive number"));
    bool isNumber = false;
    const int number = dive.toInt(&isNumber);
    if (!isNumber) return ctx.fail(QStringLiteral("\"%1\" is not a dive number").arg(dive));

    store::AppState state;
    if (!openForReading(ctx, state)) return ExitError;
    const int index = number - state.DiveOffset;
    if (index < 1 || index > state.DiveCount())
        return ctx.fail(QStringLiteral("there is no dive %1; the log holds dives %2-%3")
                            .arg(number)
                            .arg(1 + state.DiveOffset)
                            .arg(state.DiveCount() + state.DiveOffset));
    state.CurrentDive = index;
    const store::ProfileRecord* record = profile::linkedProfile(state);
    if (!record) {
        const int p = state.current().ProfileNum;
        ctx.err << "reefbook-cli: "
                << (p == 0 ? QStringLiteral("dive %1 has no profile").arg(number)
                           : QStringLiteral("dive %1 refers to profile %2, which %3 does not hold")
                                 .arg(number)
                                 .arg(p)
                                 .arg(state.Files.ProfFile))
                << Qt::endl;
        return ExitProblems;
    }

    // The start point, then every point up to the one that ends the profile.
    const int last = profile::storedPointCount(*record);
    QByteArray text;
    QJsonArray points;
    for (int i = 0; i <= last; ++i) {
        const int minute = record->Times[static_cast<size_t>(i)];
        const int depth = record->Depths[static_cast<size_t>(i)];
        text += QByteArray::number(minute) + ' ' + QByteArray::number(depth) + '\n';
        points.append(QJsonArray{minute, depth});
    }
    if (json) {
        QJsonArray notes;
        for (int i = 0; i < profile::ProfileEditor::NoteBoxes; ++i)
            notes.append(record->Notes[static_cast<size_t>(i)]);
        const QJsonObject o{{QStringLiteral("dive"), number},
                            {QStringLiteral("profile"), state.current().ProfileNum},
                            {QStringLiteral("points"), points},
                            {QStringLiteral("notes"), notes}};
        text = QJsonDocument(o).toJson(QJsonDocument::Indented);
    }
    if (ctx.out.write(text) != text.size())
        return ctx.fail(QStringLiteral("cannot write the output: %1").arg(ctx.out.errorString()));
    return ExitOk;
}

} // namespace cli
