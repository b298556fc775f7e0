#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli info: the diver, the files, the dive count, the totals and the size of each list.
class InfoCommand : public Command {
  public:
    InfoCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
