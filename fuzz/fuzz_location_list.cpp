// The location list, pictures included: read, write back, read again.
#include "FuzzCheck.h"

#include "store/DvlFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    QString problem;
    const store::RefList list = store::dvl::parseList(input, true, &problem);
    const QByteArray written = store::dvl::serializeList(list, true);
    QString again;
    FUZZ_CHECK(store::dvl::parseList(written, true, &again) == list);
    FUZZ_CHECK(again.isEmpty());
    if (problem.isEmpty()) FUZZ_CHECK(fuzz::writtenBackAsRead(input, written));
    return 0;
}
