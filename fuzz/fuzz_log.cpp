// A log file: read, write back, read again. The outputs that turn a dive's numbers and list
// indexes into text run over what was read, since a log written by hand can point anywhere.
#include "FuzzCheck.h"

#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "store/Consistency.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"

#include <numeric>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    QString problem;
    const std::vector<store::DiveRecord> dives = store::dvl::parseLog(input, &problem);
    const QByteArray written = store::dvl::serializeLog(dives);
    QString again;
    FUZZ_CHECK(store::dvl::parseLog(written, &again) == dives);
    FUZZ_CHECK(again.isEmpty());
    if (problem.isEmpty()) FUZZ_CHECK(fuzz::writtenBackAsRead(input, written));

    store::AppState state;
    store::StartDefaultLists(state);
    state.Dives.insert(state.Dives.end(), dives.begin(), dives.end());
    state.CurrentDive = state.DiveCount();
    store::consistency::checkReferences(state);
    std::vector<int> all(static_cast<size_t>(state.DiveCount()));
    std::iota(all.begin(), all.end(), 1);
    output::exportDocument(output::TextFormat, state, all, true);
    output::exportDocument(output::HtmlFormat, state, all, true);
    return 0;
}
