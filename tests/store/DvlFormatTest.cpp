#include "store/DvlFormat.h"
#include "support/TestEnv.h"

TEST(DvlFormat, EmptyCommentRecordIs64Bytes) {
    std::vector<DiveRecord> dives(1);
    EXPECT_EQ(dvl::serializeLog(dives).size(), 2 + 64);
}
