#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <vector>

namespace cli {

// One command's options as QCommandLineParser reads them, so that every command takes
// "--opt value" and "--opt=value" alike, and its help lists exactly what it accepts.
struct OptionDef {
    QString name;      // without the dashes: "json", "o"
    QString valueName; // empty for a flag
    QString help;      // one line, or several joined by '\n'
};

class CommandLine {
public:
    explicit CommandLine(const std::vector<OptionDef>& options);

    // Reads `args` (the words after the command name). False with error() set when a word
    // is an unknown option, a flag given a value or an option missing its value.
    bool parse(const QStringList& args);
    QString error() const { return error_; }

    bool isSet(const QString& name) const { return parser_.isSet(name); }
    QString value(const QString& name) const { return parser_.value(name); }
    QStringList values(const QString& name) const { return parser_.values(name); }
    // The words that are not options, in order.
    QStringList positional() const;

    // "  --name VALUE   help" lines, the help column at `width`.
    static QString optionLines(const std::vector<OptionDef>& options, int width = 26);
    // The parser's option for a definition.
    static QCommandLineOption option(const OptionDef& def);
    // "--name" or "-o", as typed.
    static QString typed(const QString& name);

private:
    QCommandLineParser parser_;
    std::vector<OptionDef> options_;
    QString error_;
    QStringList numbers_; // the negative numbers among the words, in order
};

} // namespace cli
