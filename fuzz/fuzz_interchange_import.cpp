// The UDDF and CSV imports: whatever the file, the log is either unchanged (an error) or
// grown by the dives reported, each pointing at list entries and a profile that exist.
#include "FuzzCheck.h"

#include "interchange/CsvImport.h"
#include "interchange/UddfImport.h"
#include "store/LogOps.h"

namespace {
void checkImport(const QByteArray& input, bool uddf) {
    store::AppState state;
    store::StartNewLog(state);
    const store::AppState before = state;
    const interchange::ImportReport r =
        uddf ? interchange::importUddf(state, input, interchange::Units::Metric)
             : interchange::importCsv(state, input, interchange::Units::Imperial);
    if (!r.errors.isEmpty() || r.added == 0) {
        FUZZ_CHECK(state.Dives == before.Dives && state.LocationList == before.LocationList);
        return;
    }
    FUZZ_CHECK(state.DiveCount() == r.firstIndex + r.added - 1);
    for (int i = r.firstIndex; i <= state.DiveCount(); ++i) {
        const store::DiveRecord& d = state.Dives[static_cast<size_t>(i)];
        for (int w = 0; w < 4; ++w)
            FUZZ_CHECK(d.ListData[static_cast<size_t>(w)] >= 0 &&
                       static_cast<size_t>(d.ListData[static_cast<size_t>(w)]) <
                           state.list(w).size());
        FUZZ_CHECK(d.ProfileNum >= 0 && static_cast<size_t>(d.ProfileNum) < state.Profiles.size());
        if (d.ProfileNum == 0) continue;
        const store::ProfileRecord& p = state.Profiles[static_cast<size_t>(d.ProfileNum)];
        for (int k = 1; k < store::ProfileRecord::PointSlots && p.Times[static_cast<size_t>(k)] > 0;
             ++k) {
            FUZZ_CHECK(p.Times[static_cast<size_t>(k)] > p.Times[static_cast<size_t>(k) - 1]);
            FUZZ_CHECK(p.Times[static_cast<size_t>(k)] <= d.DiveData[store::field::BottomTime]);
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    checkImport(input, true);
    checkImport(input, false);
    return 0;
}
