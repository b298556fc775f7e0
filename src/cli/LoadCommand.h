#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli load: the six files of the set written from JSON shaped like dump's.
class LoadCommand : public Command {
  public:
    LoadCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
