// reefbook-cli load's JSON: what loads is dumped, the dump loads to the same log and dumps to
// the same bytes. What does not load leaves the state alone.
#include "FuzzCheck.h"

#include "cli/JsonDump.h"
#include "cli/JsonLoad.h"

namespace {
bool sameLog(const store::AppState& a, const store::AppState& b) {
    for (int which = 0; which < 4; ++which)
        if (a.list(which) != b.list(which)) return false;
    return a.Dives == b.Dives && a.Profiles == b.Profiles && a.CurrentDive == b.CurrentDive;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    store::AppState state;
    if (!cli::loadJson(fuzz::bytes(data, size), state).isEmpty()) {
        FUZZ_CHECK(sameLog(state, store::AppState()));
        return 0;
    }
    const QByteArray dump = cli::dumpJson(state);
    store::AppState again;
    FUZZ_CHECK(cli::loadJson(dump, again).isEmpty());
    FUZZ_CHECK(sameLog(state, again));
    FUZZ_CHECK(cli::dumpJson(again) == dump);
    return 0;
}
