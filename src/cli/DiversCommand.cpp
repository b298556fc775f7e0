#include "DiversCommand.h"

#include "Cli.h"

#include "settings/Settings.h"
#include "divers/DiverList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

DiversCommand::DiversCommand()
    : Command(QStringLiteral("divers"), QStringLiteral("[--json]"),
              QStringLiteral("list the divers of divers.dvl with their files and the default"),
              {jsonOption()}) {}

// Lists the divers as the Select Diver dialog would find them; writes nothing.
int DiversCommand::run(Context& ctx) const {
    const bool json = ctx.line->isSet(QStringLiteral("json"));
    if (!ctx.args.isEmpty())
        return ctx.fail(
            QStringLiteral("divers takes only --json, got \"%1\"").arg(ctx.args.first()));

    store::AppState state;
    settings::readStartup(state, nullptr);
    // Without divers.dvl the list is the default diver of the settings alone.
    warnAll(ctx, divers::LoadDiverList(state));

    static const char* const keys[6] = {"log", "locations", "types", "buddies", "gear", "profiles"};
    QByteArray out;
    if (json) {
        QJsonArray all;
        for (size_t i = 0; i < state.DiverList.size(); ++i) {
            const store::DiverEntry& d = state.DiverList[i];
            QJsonObject files;
            const auto names = d.Files.names();
            for (size_t k = 0; k < names.size(); ++k)
                files.insert(QLatin1String(keys[k]), names[k]);
            all.append(QJsonObject{{QStringLiteral("position"), static_cast<int>(i + 1)},
                                   {QStringLiteral("name"), d.Name},
                                   {QStringLiteral("files"), files}});
        }
        const QJsonObject top{{QStringLiteral("default"), state.DefaultDiver},
                              {QStringLiteral("divers"), all}};
        out = QJsonDocument(top).toJson(QJsonDocument::Indented);
    } else {
        QString text;
        for (size_t i = 0; i < state.DiverList.size(); ++i) {
            const store::DiverEntry& d = state.DiverList[i];
            const int position = static_cast<int>(i + 1);
            text += QStringLiteral("%1  %2%3\n")
                        .arg(position, 3)
                        .arg(d.Name, position == state.DefaultDiver ? QStringLiteral(" (default)")
                                                                    : QString());
            QStringList names;
            for (const QString& n : d.Files.names())
                names << n;
            text += QStringLiteral("     %1\n").arg(names.join(QLatin1Char(' ')));
        }
        out = text.toUtf8();
    }
    if (ctx.out.write(out) != out.size())
        return ctx.fail(QStringLiteral("cannot write the output: %1").arg(ctx.out.errorString()));
    return ExitOk;
}

} // namespace cli
