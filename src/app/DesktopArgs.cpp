#include "DesktopArgs.h"

#include <QCommandLineParser>

DesktopArgs parseDesktopArgs(const QStringList& args) {
    DesktopArgs line;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR"));
    parser.addOptions({help, dataDir});
    const bool parsed = parser.parse(QStringList{QStringLiteral("reefbook")} + args);
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        line.error = QStringLiteral("unknown argument \"%1%2\" (try --help)")
                         .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    } else if (!parsed || (parser.isSet(dataDir) && parser.value(dataDir).isEmpty())) {
        line.error = QStringLiteral("--data-dir needs a folder");
    } else if (!parser.positionalArguments().isEmpty()) {
        line.error = QStringLiteral("unknown argument \"%1\" (try --help)")
                         .arg(parser.positionalArguments().first());
    }
    if (!line.error.isEmpty()) return line;
    line.help = parser.isSet(help);
    line.dataDir = parser.value(dataDir);
    return line;
}

QString desktopUsage() {
    return QStringLiteral(
        "Usage: reefbook [--data-dir DIR]\n"
        "\n"
        "Reefbook, the logbook for scuba divers. It keeps the diver's files in the current\n"
        "folder; started from the home folder (as a desktop launcher does) with no .dvl file\n"
        "there, it keeps them in ~/Reefbook, made if missing.\n"
        "\n"
        "Options:\n"
        "  --data-dir DIR  keep the files in DIR (made if missing)\n"
        "  --help          show this help\n");
}
