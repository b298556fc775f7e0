#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli select: the dives the Charting search finds.
class SelectCommand : public Command {
  public:
    SelectCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
