#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli check: damaged files and references that point nowhere; exits 1 when it finds any.
class CheckCommand : public Command {
  public:
    CheckCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
