#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli list: the rows of the Dive List window.
class ListCommand : public Command {
  public:
    ListCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
