#include "DesktopArgs.h"

namespace cli {

std::vector<OptionDef> desktopOptions() {
    return {{QStringLiteral("data-dir"), QStringLiteral("DIR"),
             QStringLiteral("keep the files in DIR (made if missing)")},
            {QStringLiteral("help"), {}, QStringLiteral("show this help")}};
}

DesktopArgs parseDesktopArgs(const QStringList& args) {
    DesktopArgs result;
    std::vector<OptionDef> accepted = desktopOptions();
    accepted.push_back({QStringLiteral("h"), {}, {}}); // -h as well, unlisted
    CommandLine line(accepted);
    const QString dataDir = QStringLiteral("data-dir");
    const QString noFolder = QStringLiteral("--data-dir needs a folder");
    if (!line.parse(args))
        // --data-dir is the only option with a value for the parser to find missing.
        result.error = line.error().endsWith(QLatin1String(" needs a value"))
                           ? noFolder
                           : line.error() + QStringLiteral(" (try --help)");
    else if (line.isSet(dataDir) && line.value(dataDir).isEmpty())
        result.error = noFolder;
    else if (!line.positional().isEmpty())
        result.error =
            QStringLiteral("unknown argument \"%1\" (try --help)").arg(line.positional().first());
    if (!result.error.isEmpty()) return result;
    result.help = line.isSet(QStringLiteral("help")) || line.isSet(QStringLiteral("h"));
    result.dataDir = line.value(dataDir);
    return result;
}

QString desktopUsage() {
    // Two short options: their help column sits nearer than the one of reefbook-cli's commands.
    const QString text = QStringLiteral(
        "Usage: reefbook [--data-dir DIR]\n"
        "\n"
        "Reefbook, the logbook for scuba divers. It keeps the diver's files in the current\n"
        "folder; started from the home folder (as a desktop launcher does) with no .dvl file\n"
        "there, it keeps them in ~/Reefbook, made if missing.\n"
        "\n"
        "Options:\n");
    return text + CommandLine::optionLines(desktopOptions(), 16);
}

} // namespace cli
