#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli stats: the Statistics window's table.
class StatsCommand : public Command {
public:
    StatsCommand();
    QString details() const override;
    int run(Context& ctx) const override;
};

} // namespace cli
