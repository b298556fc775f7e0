#include "support/SampleLog.h"

store::AppState sampleLog() {
    store::AppState s;
    s.DiverName = QStringLiteral("John Smith");
    s.LocationList = {{QStringLiteral("Pool"), {}, {}}, {QStringLiteral("Blue Hole"), {}, {}}};
    s.TypeList = {{QStringLiteral("Pleasure"), {}, {}}, {QStringLiteral("Wall"), {}, {}}};
    s.BuddyList = {{QStringLiteral("None"), {}, {}}, {QStringLiteral("Ann"), {}, {}}};
    s.GearList = {{QStringLiteral("Standard"), {}, {}}, {QStringLiteral("Wetsuit"), {}, {}}};

    store::DiveRecord d1;
    d1.DiveData[3] = 39;
    d1.DiveData[4] = 50;
    store::DiveRecord d2 = d1;
    d2.DiveData[4] = 56;

    store::DiveRecord d3;
    d3.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d3.DiveData = {3000, 700, 80, 42, 60, 12, 84, 82, 78, 80};
    d3.ListData = {1, 1, 1, 1};
    d3.CondData = {0, 1, 1, 0, 0, 0, 0, 0};
    d3.Rating = 2;
    d3.Comments = QStringLiteral("Turtle at the drop-off");

    s.Dives = {store::DiveRecord{}, d1, d2, d3};
    s.CurrentDive = 3;
    return s;
}

store::AppState numberedLog(int count, int16_t offset) {
    store::AppState s;
    s.DiverName = QStringLiteral("O'Brien, Pat");
    s.DiveOffset = offset;
    s.LocationList = {{QStringLiteral("Pool"), {}, {}}};
    s.TypeList = {{QStringLiteral("Pleasure"), {}, {}}};
    s.BuddyList = {{QStringLiteral("None"), {}, {}}};
    s.GearList = {{QStringLiteral("Standard"), {}, {}}};
    s.Dives.resize(static_cast<size_t>(count) + 1);
    for (int i = 1; i <= count; ++i) {
        store::DiveRecord& d = s.Dives[static_cast<size_t>(i)];
        d.DiveData[3] = static_cast<int16_t>(i);
        d.Comments = QStringLiteral("comment %1").arg(i);
    }
    s.CurrentDive = count;
    return s;
}

store::AppState awkwardLog(int count) {
    const QString base = QString::fromUtf8("A&B <c> \"d\" \xC3\xA9\xE2\x82\xAC\xC3\x9C") +
                         QChar(0x81) + QStringLiteral("\t\r\n\\ &amp;>");
    auto turned = [&base](int k) {
        const qsizetype at = k % base.size();
        return base.mid(at) + base.left(at);
    };
    store::AppState s = numberedLog(count, 7);
    s.DiverName = turned(3);
    for (int which = 0; which < 4; ++which) {
        store::RefList& list = s.list(which);
        list.clear();
        for (int k = 0; k < 12; ++k)
            list.push_back(
                {turned(k + which), turned(k * 3), which == 0 ? turned(k * 5) : QString()});
    }
    for (int i = 1; i <= count; ++i) {
        store::DiveRecord& d = s.Dives[static_cast<size_t>(i)];
        d.Comments = turned(i) + QString::number(i) + turned(i * 7);
        if (i % 7 == 0)
            d.Comments += QString::fromUtf8("\xF0\x9F\x90\xA0\xCE\xA9"); // a fish, omega
        d.ListData = {static_cast<int16_t>(i % 12), static_cast<int16_t>(i / 2 % 12),
                      static_cast<int16_t>(i / 3 % 13), static_cast<int16_t>(i / 5 % 12)};
        d.CondData[static_cast<size_t>(i % 8)] = 1;
        d.Rating = static_cast<int16_t>(i % 4);
        d.TimeData = {static_cast<int16_t>(i % 12 + 1),
                      static_cast<int16_t>(i % 28 + 1),
                      1999,
                      static_cast<int16_t>(i % 24),
                      static_cast<int16_t>(i % 60),
                      0,
                      -5};
        d.DiveData[5] = static_cast<int16_t>(i % 9 - 4);
    }
    s.Profiles.resize(3);
    s.Profiles[1].Notes[0] = turned(2);
    s.Profiles[2].Notes[6] = turned(9);
    return s;
}
