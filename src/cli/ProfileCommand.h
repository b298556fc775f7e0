#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli profile: the points of one dive's profile.
class ProfileCommand : public Command {
  public:
    ProfileCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
