#include "CommandLine.h"

#include <QRegularExpression>

namespace cli {

CommandLine::CommandLine(const std::vector<OptionSpec>& options) : options_(options) {
    // Options after the first plain word are still options: "import csv FILE --dry-run".
    parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    // "-o FILE" is the only short option; no word is a bundle of single letters.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionSpec& o : options)
        parser_.addOption(o.valueName.isEmpty() ? QCommandLineOption(o.name)
                                                : QCommandLineOption(o.name, QString(), o.valueName));
}

QString CommandLine::typed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

bool CommandLine::parse(const QStringList& args) {
    error_.clear();
    if (parser_.parse(QStringList{QStringLiteral("reefbook-cli")} + args)) return true;
    // The parser's own sentences name the option in quotes; ours name it as typed.
    if (!parser_.unknownOptionNames().isEmpty()) {
        error_ = QStringLiteral("unknown argument \"%1\"").arg(typed(parser_.unknownOptionNames().first()));
        return false;
    }
    static const QRegularExpression quoted(QStringLiteral("'([^']*)'"));
    const QString text = parser_.errorText();
    // The parser quotes the word as typed, dashes and any "=value" included.
    QString name = quoted.match(text).captured(1).section(QLatin1Char('='), 0, 0);
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    if (text.startsWith(QLatin1String("Missing value")))
        error_ = QStringLiteral("%1 needs a value").arg(typed(name));
    else if (text.startsWith(QLatin1String("Unexpected value")))
        error_ = QStringLiteral("%1 takes no value").arg(typed(name));
    else
        error_ = text;
    return false;
}

QString CommandLine::optionLines(const std::vector<OptionSpec>& options, int width) {
    QString text;
    for (const OptionSpec& o : options) {
        QString head = typed(o.name);
        if (!o.valueName.isEmpty()) head += QLatin1Char(' ') + o.valueName;
        const QStringList lines = o.help.split(QLatin1Char('\n'));
        if (head.size() < width - 1)
            text += QStringLiteral("  %1%2\n").arg(head, -width).arg(lines.first());
        else
            text += QStringLiteral("  %1\n  %2%3\n")
                        .arg(head, QString(width, QLatin1Char(' ')), lines.first());
        for (qsizetype i = 1; i < lines.size(); ++i)
            text += QString(width + 2, QLatin1Char(' ')) + lines[i] + QLatin1Char('\n');
    }
    return text;
}

} // namespace cli
