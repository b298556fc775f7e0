// The profile file: read, write back, read again.
#include "FuzzCheck.h"

#include "store/DvlFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    QString problem;
    const std::vector<store::ProfileRecord> profiles = store::dvl::parseProfiles(input, &problem);
    const QByteArray written = store::dvl::serializeProfiles(profiles);
    QString again;
    FUZZ_CHECK(store::dvl::parseProfiles(written, &again) == profiles);
    FUZZ_CHECK(again.isEmpty());
    if (problem.isEmpty()) FUZZ_CHECK(fuzz::writtenBackAsRead(input, written));
    return 0;
}
