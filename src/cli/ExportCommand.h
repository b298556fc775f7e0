#pragma once

#include "Command.h"

namespace cli {

// reefbook-cli export: the chosen dives as text, HTML, the printed pages (PDF), UDDF or CSV.
class ExportCommand : public Command {
  public:
    ExportCommand();
    int run(Context& ctx) const override;
};

} // namespace cli
