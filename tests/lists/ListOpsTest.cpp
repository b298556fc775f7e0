#include "lists/ListOps.h"

#include <gtest/gtest.h>

#include <vector>

namespace lists {

namespace {

// A log whose dives name these entries of list `which`; the other lists' columns are set to
// a marker so a change that strays into them shows.
store::AppState logNaming(int which, const std::vector<int16_t>& named) {
    store::AppState s;
    s.Dives.assign(named.size() + 1, store::DiveRecord{});
    for (size_t i = 0; i < named.size(); ++i) {
        store::DiveRecord& d = s.Dives[i + 1];
        d.ListData = {7, 7, 7, 7};
        d.ListData[static_cast<size_t>(which)] = named[i];
    }
    s.CurrentDive = 1;
    return s;
}

std::vector<int16_t> namedBy(const store::AppState& s, int which) {
    std::vector<int16_t> out;
    for (int i = 1; i <= s.DiveCount(); ++i)
        out.push_back(s.Dives[static_cast<size_t>(i)].ListData[static_cast<size_t>(which)]);
    return out;
}

store::RefList entries(std::initializer_list<const char*> names) {
    store::RefList list;
    for (const char* n : names)
        list.push_back({QString::fromLatin1(n), QStringLiteral("info ") + n, {}});
    return list;
}

} // namespace

TEST(RenumberAfterDelete, DivesFollowTheirEntries) {
    struct Case {
        const char* what;
        int which;
        int deleted;
        std::vector<int16_t> before, after;
    };
    const Case cases[] = {
        {"entry 0 of three: 0 keeps 0, the rest drop by one",
         store::field::Type,
         0,
         {0, 1, 2, 2, 0},
         {0, 0, 1, 1, 0}},
        {"entry 2 of five: 2 goes to 0, 3 and 4 drop",
         store::field::Buddy,
         2,
         {0, 1, 2, 3, 4, 2},
         {0, 1, 0, 2, 3, 0}},
        {"last entry of five", store::field::Gear, 4, {4, 3, 0}, {0, 3, 0}},
        {"location 1 of three", store::field::Location, 1, {2, 1, 0}, {1, 0, 0}},
        {"entries beyond the list still move down", store::field::Type, 1, {9}, {8}},
        {"a negative value from a damaged log is left", store::field::Type, 0, {-3}, {-3}},
        {"no position: nothing changes", store::field::Type, -1, {0, 1, 2}, {0, 1, 2}},
        {"no such list: nothing changes", 4, 0, {0, 1, 2}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int column = c.which >= 0 && c.which <= 3 ? c.which : store::field::Type;
        store::AppState s = logNaming(column, c.before);
        lists::renumberAfterDelete(s, c.which, c.deleted);
        EXPECT_EQ(namedBy(s, column), c.after);
        for (int other = 0; other < 4; ++other) {
            if (other != column) {
                EXPECT_EQ(namedBy(s, other), std::vector<int16_t>(c.before.size(), 7));
            }
        }
        EXPECT_EQ(s.Dives[0], store::DiveRecord{});
    }
}

TEST(ListDraft, DeletesReachTheDivesOnlyWithTheList) {
    store::AppState s = logNaming(store::field::Buddy, {0, 1, 2, 3, 4});
    s.BuddyList = entries({"A", "B", "C", "D", "E"});
    lists::ListDraft draft = lists::startDraft(s, store::field::Buddy);
    for (const int pick : {1, 2}) { // "B", then "D", which has moved up to 2
        draft.selected = pick;
        ASSERT_EQ(lists::DeleteOutcome::Deleted, lists::deleteDraftEntry(draft));
    }
    EXPECT_EQ(namedBy(s, store::field::Buddy), (std::vector<int16_t>{0, 1, 2, 3, 4}))
        << "while the editor is open the dives still match the stored list";
    lists::commitDraft(s, store::field::Buddy, draft);
    lists::commitDraft(s, store::field::Buddy, draft); // closing may commit twice
    EXPECT_EQ(namedBy(s, store::field::Buddy), (std::vector<int16_t>{0, 0, 1, 0, 2}));
    EXPECT_EQ(s.BuddyList, entries({"A", "C", "E"}));
}

TEST(ListDraft, StartsWithTheEntryTheShownDiveNames) {
    struct Case {
        int16_t named;
        int expected;
    };
    const Case cases[] = {{0, 0}, {2, 2}, {3, -1}, {-1, -1}, {32767, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        store::AppState s = logNaming(store::field::Buddy, {0, c.named});
        s.BuddyList = entries({"None", "Ann", "Bob"});
        s.CurrentDive = 2;
        const lists::ListDraft d = lists::startDraft(s, store::field::Buddy);
        EXPECT_EQ(d.selected, c.expected);
        EXPECT_EQ(d.entries, s.BuddyList);
    }
}

TEST(ListDraft, AddStopsAtTheLargestListAFileCanCount) {
    lists::ListDraft d;
    d.entries.resize(lists::MaxEntries);
    EXPECT_EQ(lists::addDraftEntry(d, QStringLiteral("One more")), -1);
    EXPECT_EQ(static_cast<int>(d.entries.size()), lists::MaxEntries);
}

TEST(ListKind, PicksListAndCaption) {
    struct Case {
        int kind;
        int list;
        const char* caption;
    };
    const Case cases[] = {{1, store::field::Type, "Dive Types"},
                          {2, store::field::Buddy, "Dive Buddies"},
                          {3, store::field::Gear, "Gear Records"},
                          {0, store::field::Type, "Dive Types"},
                          {7, store::field::Type, "Dive Types"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(lists::listForKind(c.kind), c.list);
        EXPECT_EQ(lists::kindCaption(c.kind), QString::fromLatin1(c.caption));
    }
}

TEST(PathStorable, OnlyWhatTheLocationFileCanHold) {
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("/home/diver/maps/reef.png"), true},
        {QStringLiteral("C:\\Tauchen\\Übersicht Zoë €.bmp"), true},
        {QStringLiteral("/home/diver/карта.png"), false},
        {QStringLiteral("/maps/\u6D77.png"), false},
        {QString(), true}};
    for (const auto& [path, storable] : cases)
        EXPECT_EQ(lists::pathStorable(path), storable) << path.toStdString();
}

TEST(PictureFileName, EitherSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/diver/maps/reef.png", "reef.png"},
        {"C:\\Maps\\Cozumel\\palancar.bmp", "palancar.bmp"},
        {"D:/mixed\\sep/x.gif", "x.gif"},
        {"plain.bmp", "plain.bmp"},
        {"", ""}};
    for (const auto& [path, name] : cases)
        EXPECT_EQ(lists::pictureFileName(QString::fromLatin1(path)), QString::fromLatin1(name))
            << path;
}

} // namespace lists
