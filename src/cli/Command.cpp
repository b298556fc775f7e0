#include "Command.h"

namespace cli {

Command::Command(QString name, QString usage, QString summary, std::vector<OptionDef> options,
                 QString details)
    : name_(std::move(name)), usage_(std::move(usage)), summary_(std::move(summary)),
      options_(std::move(options)),
      details_(details.isEmpty() ? summary_.left(1).toUpper() + summary_.mid(1) + ".\n"
                                 : std::move(details)) {}

OptionDef Command::jsonOption() {
    return {QStringLiteral("json"), {}, QStringLiteral("write JSON")};
}

QString Command::help() const {
    QString text = QStringLiteral("Usage: reefbook-cli [--diver NAME] [--data-dir DIR] %1\n\n")
                       .arg(usage_.isEmpty() ? name_ : name_ + QLatin1Char(' ') + usage_);
    text += details_;
    text += QStringLiteral("\nOptions:\n");
    std::vector<OptionDef> all = options_;
    all.push_back({QStringLiteral("help"), {}, QStringLiteral("show this help")});
    return text + CommandLine::optionLines(all);
}

} // namespace cli
