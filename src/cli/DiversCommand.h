#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli divers: the divers of divers.dvl as the Select Diver dialog finds them.
class DiversCommand : public Command {
  public:
    DiversCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
