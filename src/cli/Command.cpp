#include "Command.h"

namespace cli {

Command::Command(QString name, QString usage, QString summary, std::vector<OptionDef> options)
    : name_(std::move(name)), usage_(std::move(usage)), summary_(std::move(summary)),
      options_(std::move(options)) {}

OptionDef Command::jsonOption() {
    return {QStringLiteral("json"), {}, QStringLiteral("write JSON")};
}

QString Command::details() const {
    return summary_.left(1).toUpper() + summary_.mid(1) + ".\n";
}

QString Command::help() const {
    QString text = QStringLiteral("Usage: reefbook-cli [--diver NAME] [--data-dir DIR] %1\n\n")
                       .arg(usage_.isEmpty() ? name_ : name_ + QLatin1Char(' ') + usage_);
    text += details();
    text += QStringLiteral("\nOptions:\n");
    std::vector<OptionDef> all = options_;
    all.push_back({QStringLiteral("help"), {}, QStringLiteral("show this help")});
    return text + CommandLine::optionLines(all);
}

} // namespace cli
