#pragma once

#include "CommandLine.h"

#include <vector>

namespace cli {

struct Context;

// One command of reefbook-cli: its name, the options it takes, its help and what it runs.
// The general help, each command's --help and so the manual page come from these; each
// command declares them once, in its constructor.
class Command {
  public:
    virtual ~Command() = default;

    const QString& name() const { return name_; }
    // The arguments after the name for the general help, e.g. "FILE.json".
    const QString& usage() const { return usage_; }
    // One line for the general help.
    const QString& summary() const { return summary_; }
    // Read before run(); ctx.line holds them.
    const std::vector<OptionDef>& options() const { return options_; }
    // The paragraphs of the command's own --help before its options.
    const QString& details() const { return details_; }
    // "reefbook-cli COMMAND --help".
    QString help() const;

    virtual int run(Context& ctx) const = 0;

  protected:
    // No details: the summary as a sentence.
    Command(QString name, QString usage, QString summary, std::vector<OptionDef> options = {},
            QString details = {});
    // The --json flag of the commands that write JSON only when asked.
    static OptionDef jsonOption();

  private:
    QString name_;
    QString usage_;
    QString summary_;
    std::vector<OptionDef> options_;
    QString details_;
};

} // namespace cli
