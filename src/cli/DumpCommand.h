#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli dump: the whole file set as JSON, for load to write back.
class DumpCommand : public Command {
  public:
    DumpCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
