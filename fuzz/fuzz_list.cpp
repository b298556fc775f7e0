// A type, buddy or gear list: read, write back, read again. The third string of each entry
// is not kept for these lists, so only the second reading must match the first.
#include "FuzzCheck.h"

#include "store/DvlFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    const store::RefList list = store::dvl::parseList(input, false);
    const QByteArray written = store::dvl::serializeList(list, false);
    QString again;
    FUZZ_CHECK(store::dvl::parseList(written, false, &again) == list);
    FUZZ_CHECK(again.isEmpty());
    FUZZ_CHECK(store::dvl::serializeList(store::dvl::parseList(written, false), false) == written);
    return 0;
}
