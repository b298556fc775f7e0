#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli stats: the Statistics window's table.
class StatsCommand : public Command {
  public:
    StatsCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
