#include "SampleLog.h"

AppState sampleLog() {
    AppState s;
    s.DiverName = QStringLiteral("John Smith");
    s.LocationList = {{QStringLiteral("Pool"), {}, {}}, {QStringLiteral("Blue Hole"), {}, {}}};
    s.TypeList = {{QStringLiteral("Pleasure"), {}, {}}, {QStringLiteral("Wall"), {}, {}}};
    s.BuddyList = {{QStringLiteral("None"), {}, {}}, {QStringLiteral("Ann"), {}, {}}};
    s.GearList = {{QStringLiteral("Standard"), {}, {}}, {QStringLiteral("Wetsuit"), {}, {}}};

    DiveRecord d1;
    d1.DiveData[3] = 39;
    d1.DiveData[4] = 50;
    DiveRecord d2 = d1;
    d2.DiveData[4] = 56;

    DiveRecord d3;
    d3.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d3.DiveData = {3000, 700, 80, 42, 60, 12, 84, 82, 78, 80};
    d3.ListData = {1, 1, 1, 1};
    d3.CondData = {0, 1, 1, 0, 0, 0, 0, 0};
    d3.Rating = 2;
    d3.Comments = QStringLiteral("Turtle at the drop-off");

    s.Dives = {DiveRecord{}, d1, d2, d3};
    s.CurrentDive = 3;
    return s;
}

AppState numberedLog(int count, int16_t offset) {
    AppState s;
    s.DiverName = QStringLiteral("O'Brien, Pat");
    s.DiveOffset = offset;
    s.LocationList = {{QStringLiteral("Pool"), {}, {}}};
    s.TypeList = {{QStringLiteral("Pleasure"), {}, {}}};
    s.BuddyList = {{QStringLiteral("None"), {}, {}}};
    s.GearList = {{QStringLiteral("Standard"), {}, {}}};
    s.Dives.resize(static_cast<size_t>(count) + 1);
    for (int i = 1; i <= count; ++i) {
        DiveRecord& d = s.Dives[static_cast<size_t>(i)];
        d.DiveData[3] = static_cast<int16_t>(i);
        d.Comments = QStringLiteral("comment %1").arg(i);
    }
    s.CurrentDive = count;
    return s;
}
