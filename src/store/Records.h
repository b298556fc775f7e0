#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace store {

// One dive as it is kept in memory and on disk. Field order is the order on disk.
struct DiveRecord {
    // 0 month, 1 day, 2 year (four digits), 3 entry hour, 4 entry minute, 5 exit hour, 6 exit minute
    std::array<int16_t, 7> TimeData{};
    // 0 PSI in, 1 PSI out, 2 tank size, 3 bottom time, 4 max depth, 5 weight,
    // 6 air, 7 surface, 8 bottom temperature, 9 visibility
    std::array<int16_t, 10> DiveData{};
    // index into 0 locations, 1 dive types, 2 buddies, 3 gear
    std::array<int16_t, 4> ListData{};
    QString Comments;
    // 0/1: Freshwater, Saltwater, Boat, Shore, Waves, Current, Surf, Surge
    std::array<int16_t, 8> CondData{};
    int16_t Rating = 0;     // 0 poor, 1 average, 2 good
    int16_t ProfileNum = 0; // index into Profiles, 0 = none

    bool operator==(const DiveRecord& o) const {
        return TimeData == o.TimeData && DiveData == o.DiveData && ListData == o.ListData &&
               Comments == o.Comments && CondData == o.CondData && Rating == o.Rating &&
               ProfileNum == o.ProfileNum;
    }
    bool operator!=(const DiveRecord& o) const { return !(*this == o); }
};

// Field indexes of DiveRecord::DiveData that several places need by name.
namespace field {
constexpr int PsiIn = 0, PsiOut = 1, TankSize = 2, BottomTime = 3, MaxDepth = 4, Weight = 5,
              AirTemp = 6, SurfaceTemp = 7, BottomTemp = 8, Visibility = 9;
constexpr int Month = 0, Day = 1, Year = 2, EntryHour = 3, EntryMinute = 4, ExitHour = 5,
              ExitMinute = 6;
constexpr int Location = 0, Type = 1, Buddy = 2, Gear = 3;
// CondData in order, as the window labels them.
constexpr std::array<const char*, 8> ConditionNames = {
    "Freshwater", "Saltwater", "Boat", "Shore", "Waves", "Current", "Surf", "Surge"};
// The ratings by value: Rating 0, 1, 2.
constexpr std::array<const char*, 3> RatingNames = {"poor", "average", "good"};
// The rating a word names, in any case; -1 for any other word.
int ratingFromName(QStringView word);
// The rating's word; empty for a value that is not a rating.
QString ratingName(int rating);
} // namespace field

// One entry of a reference list. Picture is used by the location list only.
struct ListEntry {
    QString Name;
    QString Info;
    QString Picture;

    bool operator==(const ListEntry& o) const {
        return Name == o.Name && Info == o.Info && Picture == o.Picture;
    }
};
using RefList = std::vector<ListEntry>;

// A stored depth/time profile.
struct ProfileRecord {
    static constexpr int PointSlots = 151; // points 0..150
    static constexpr int NoteCount = 7;
    // A dive keeps its profile's number in 16 bits: no profile past this number is stored.
    static constexpr int MaxNumber = 32767;
    std::array<int16_t, PointSlots> Times{};
    std::array<int16_t, PointSlots> Depths{};
    std::array<QString, NoteCount> Notes;

    bool operator==(const ProfileRecord& o) const {
        return Times == o.Times && Depths == o.Depths && Notes == o.Notes;
    }
};

// The six data files of one diver.
struct FileSet {
    QString LogFile = QStringLiteral("log1.dvl");
    QString LocFile = QStringLiteral("loc1.dvl");
    QString TypeFile = QStringLiteral("type1.dvl");
    QString BudFile = QStringLiteral("bud1.dvl");
    QString GearFile = QStringLiteral("gear1.dvl");
    QString ProfFile = QStringLiteral("prof1.dvl");

    // The set generated for diver number n: log<n>.dvl, loc<n>.dvl, ...
    static FileSet numbered(int n);
    // What each of names() holds, as messages name it.
    static constexpr std::array<const char*, 6> Roles = {
        "log", "location list", "dive type list", "buddy list", "gear list", "profile"};
    // In the order they are saved: log, loc, type, bud, gear, prof.
    std::array<QString, 6> names() const {
        return {LogFile, LocFile, TypeFile, BudFile, GearFile, ProfFile};
    }
    bool operator==(const FileSet& o) const { return names() == o.names(); }
};

// One diver of divers.dvl.
struct DiverEntry {
    QString Name;
    FileSet Files;
    bool operator==(const DiverEntry& o) const { return Name == o.Name && Files == o.Files; }
};

} // namespace store
