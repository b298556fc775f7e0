#include "CommandLine.h"

#include <QRegularExpression>

#include <algorithm>

namespace cli {

CommandLine::CommandLine(const std::vector<OptionDef>& options) : options_(options) {
    // Options after the first plain word are still options: "import csv FILE --dry-run".
    parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    // "-o FILE" is the only short option; no word is a bundle of single letters.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionDef& o : options)
        parser_.addOption(option(o));
}

QCommandLineOption CommandLine::option(const OptionDef& def) {
    return def.valueName.isEmpty() ? QCommandLineOption(def.name)
                                   : QCommandLineOption(def.name, QString(), def.valueName);
}

QString CommandLine::typed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

bool CommandLine::parse(const QStringList& args) {
    error_.clear();
    // A dive number below zero (a log with a negative offset) is a word, not an option: it
    // goes past the parser in disguise. The value of an option is left as it is.
    static const QRegularExpression negative(QStringLiteral("^-\\d+$"));
    QStringList words{QStringLiteral("reefbook-cli")};
    numbers_.clear();
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool value = i > 0 && std::any_of(options_.begin(), options_.end(),
                                                [&](const OptionDef& o) {
                                                    return !o.valueName.isEmpty() &&
                                                           args[i - 1] == typed(o.name);
                                                });
        if (!value && negative.match(args[i]).hasMatch()) {
            words << QStringLiteral("\x01%1").arg(numbers_.size());
            numbers_ << args[i];
        } else {
            words << args[i];
        }
    }
    if (parser_.parse(words)) return true;
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

QStringList CommandLine::positional() const {
    QStringList words = parser_.positionalArguments();
    for (QString& w : words)
        if (w.startsWith(QChar(1))) w = numbers_.value(w.mid(1).toInt());
    return words;
}

QString CommandLine::optionLines(const std::vector<OptionDef>& options, int width) {
    QString text;
    for (const OptionDef& o : options) {
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
