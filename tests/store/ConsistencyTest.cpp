#include "store/Consistency.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

namespace store {

using consistency::BadReference;
using consistency::Target;

TEST(Consistency, ReferencesOutsideTheirListOrProfiles) {
    AppState s;
    StartNewLog(s);
    s.TypeList.push_back({QStringLiteral("Night"), {}, {}}); // types 0-1
    s.Profiles.resize(3);                                      // profiles 1-2
    s.Dives.resize(5);
    s.Dives[1].ListData = {0, 1, 0, 0};
    s.Dives[1].ProfileNum = 2;                                 // all fine
    s.Dives[2].ListData = {1, 2, -1, 0};                       // location, type, buddy wrong
    s.Dives[3].ProfileNum = 3;
    s.Dives[4].ProfileNum = -1;
    s.Dives[4].ListData[field::Gear] = 32767;
    s.DiveOffset = 100;

    const std::vector<BadReference> expected = {
        {2, Target::Location, 1}, {2, Target::Type, 2}, {2, Target::Buddy, -1},
        {3, Target::Profile, 3},  {4, Target::Gear, 32767}, {4, Target::Profile, -1},
    };
    EXPECT_EQ(consistency::badReferences(s), expected);

    const FileProblems problems = consistency::checkReferences(s);
    ASSERT_EQ(problems.size(), expected.size());
    EXPECT_EQ(problems[1].file, QStringLiteral("log1.dvl"));
    EXPECT_EQ(problems[1].what, QStringLiteral("dive 102: dive type 2 is outside the dive type list (0-1)"));
    EXPECT_EQ(problems[3].what, QStringLiteral("dive 103: profile 3 is not a stored profile (1-2)"));

    s.Profiles.resize(1);
    s.Dives.resize(2);
    s.Dives[1] = DiveRecord{};
    s.Dives[1].ProfileNum = 1;
    EXPECT_EQ(consistency::checkReferences(s).at(0).what,
              QStringLiteral("dive 101: profile 1 is not a stored profile (it holds none)"));
    s.Dives[1].ProfileNum = 0;
    EXPECT_TRUE(consistency::badReferences(s).empty());
}

} // namespace store
