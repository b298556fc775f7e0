#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli import: the dives of a CSV or UDDF file added to the log.
class ImportCommand : public Command {
  public:
    ImportCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
