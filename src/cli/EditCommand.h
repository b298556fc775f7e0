#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli edit: "Edit Selected Dives" without a window.
class EditCommand : public Command {
  public:
    EditCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
