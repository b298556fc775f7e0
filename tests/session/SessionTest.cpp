#include "session/Session.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

#include <QFile>

#include <map>
#include <random>

using session::Session;

namespace {

store::AppState sampleLog() {
    store::AppState s;
    store::StartDefaultLists(s);
    for (int which = 0; which < 4; ++which)
        for (const char* name : {"Blue Hole", "Canyon", "Ann"})
            s.list(which).push_back({QString::fromLatin1(name), QStringLiteral("i"), {}});
    s.Dives.resize(7);
    for (int i = 1; i <= 6; ++i) {
        store::DiveRecord& d = s.Dives[size_t(i)];
        d.TimeData = {7, int16_t(i), 1997, 9, 5, 10, 0};
        d.DiveData[store::field::BottomTime] = int16_t(30 + i);
        d.DiveData[store::field::MaxDepth] = int16_t(40 + i);
        d.ListData = {int16_t(i % 4), int16_t(i % 3), int16_t(i % 2), 3};
        d.Comments = QStringLiteral("Dive\r\n%1").arg(i);
        d.Rating = 1;
    }
    s.Profiles.resize(3);
    s.Profiles[1].Times[1] = 5;
    s.Profiles[2].Times[1] = 7;
    s.Dives[2].ProfileNum = 1;
    s.Dives[5].ProfileNum = 2;
    s.CurrentDive = 6;
    s.Loaded = true;
    return s;
}

class SessionTest : public TempFolderTest {
  protected:
    // The six files exactly as a save writes them.
    QByteArray files(const Session& session) {
        EXPECT_TRUE(store::SaveLog(session.state()).empty());
        QByteArray all;
        for (const QString& name : session.state().Files.names())
            all += name.toLatin1() + ':' + readFile(name) + '\n';
        return all;
    }
};

// One random change of any kind the windows and commands make.
void randomChange(Session& s, std::mt19937& rng) {
    const store::AppState& st = s.state();
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int dive = pick(1, st.DiveCount());
    switch (pick(0, 16)) {
    case 0: s.setTimeField(dive, pick(0, 6), int16_t(pick(0, 60))); break;
    case 1: s.setNumber(dive, pick(0, 9), int16_t(pick(-50, 300))); break;
    case 2: s.setCondition(dive, pick(0, 7), pick(0, 1)); break;
    case 3: s.setRating(dive, int16_t(pick(0, 2))); break;
    case 4: s.setComment(dive, QStringLiteral("typed %1").arg(pick(0, 99))); break;
    case 5: s.setListChoice(dive, pick(0, 3), int16_t(pick(0, 3))); break;
    case 6: s.addListChoice(dive, pick(0, 3), QStringLiteral("New %1").arg(pick(0, 9))); break;
    case 7:
        s.unlinkProfile(dive, store::field::MaxDepth);
        break;
    case 8: s.clearEntry(dive); break;
    case 9: s.appendEntry(); break;
    case 10: s.removeEntry(dive); break;
    case 11: s.removeEntries({dive, pick(1, st.DiveCount())}, QStringLiteral("Delete")); break;
    case 12:
        s.editDives(
            {dive, pick(1, st.DiveCount())}, QStringLiteral("Edit"),
            [&](store::DiveRecord& d) { d.ListData[store::field::Buddy] = int16_t(pick(0, 2)); });
        break;
    case 13: {
        store::ProfileRecord p;
        p.Times[1] = int16_t(pick(1, 30));
        s.storeProfile(dive, p);
        break;
    }
    case 14: {
        const int which = pick(0, 3);
        lists::ListDraft draft = lists::startDraft(st, which);
        draft.selected = pick(0, int(draft.entries.size()) - 1);
        if (pick(0, 1))
            lists::deleteDraftEntry(draft);
        else
            lists::setDraftInfo(draft, QStringLiteral("info %1").arg(pick(0, 9)));
        s.commitListDraft(which, draft);
        break;
    }
    case 15: s.setOffset(int16_t(pick(0, 200))); break;
    default: {
        std::array<store::RefList, 4> lists = {st.LocationList, st.TypeList, st.BuddyList,
                                               st.GearList};
        lists[2].push_back({QStringLiteral("Imported"), {}, {}});
        store::DiveRecord d;
        d.ListData[store::field::Buddy] = int16_t(lists[2].size() - 1);
        d.ProfileNum = int16_t(st.Profiles.size());
        s.addDives({d, d}, lists, {store::ProfileRecord{}}, false, QStringLiteral("Import"));
    }
    }
    if (pick(0, 2) == 0) s.endTyping();
}

} // namespace

TEST_F(SessionTest, UndoAllGivesBackTheFilesAndRedoAllTheChangedOnes) {
    for (const unsigned seed : {1997u, 2026u, 7u}) {
        SCOPED_TRACE(seed);
        store::AppState state = sampleLog();
        Session s(state);
        const QByteArray start = files(s);
        std::mt19937 rng(seed);
        for (int step = 0; step < 300; ++step)
            randomChange(s, rng);
        const QByteArray end = files(s);
        const int16_t endOffset = state.DiveOffset;
        ASSERT_NE(start, end);
        // A save in the middle marks the clean state; undo goes past it all the same.
        s.save();
        EXPECT_TRUE(s.undoStack().isClean());
        while (s.undoStack().canUndo())
            s.undoStack().undo();
        EXPECT_EQ(start, files(s));
        EXPECT_EQ(0, state.DiveOffset);
        while (s.undoStack().canRedo())
            s.undoStack().redo();
        EXPECT_EQ(end, files(s));
        EXPECT_EQ(endOffset, state.DiveOffset);
        EXPECT_GE(state.CurrentDive, 1);
        EXPECT_LE(state.CurrentDive, state.DiveCount());
    }
}

TEST_F(SessionTest, UndoTextsNameTheChangeAndOneUndoTakesBackWhatOneStepDid) {
    store::AppState state = sampleLog();
    state.DiveOffset = 100;
    Session s(state);
    QUndoStack& stack = s.undoStack();

    // Keystrokes in one box are one step; the profile dropped on leaving it belongs to it.
    s.setNumber(2, store::field::MaxDepth, 5);
    s.setNumber(2, store::field::MaxDepth, 55);
    s.unlinkProfile(2, store::field::MaxDepth);
    s.endTyping();
    EXPECT_EQ(QStringLiteral("Max. Depth of Dive 102"), stack.undoText());
    EXPECT_EQ(1, stack.count());
    stack.undo();
    EXPECT_EQ(42, state.Dives[2].DiveData[store::field::MaxDepth]);
    EXPECT_EQ(1, state.Dives[2].ProfileNum) << "undo links the profile again";

    // Deleting a list entry renumbers every dive in the same step.
    const std::vector<store::DiveRecord> before = state.Dives;
    lists::ListDraft draft = lists::startDraft(state, store::field::Location);
    draft.selected = 1;
    ASSERT_EQ(QStringLiteral("Blue Hole"), draft.entries[1].Name);
    lists::deleteDraftEntry(draft);
    s.commitListDraft(store::field::Location, draft);
    EXPECT_EQ(QStringLiteral("Delete Location 'Blue Hole'"), stack.undoText());
    EXPECT_EQ(0, state.Dives[1].ListData[store::field::Location]);
    EXPECT_EQ(1, state.Dives[2].ListData[store::field::Location]);
    stack.undo();
    EXPECT_EQ(before, state.Dives);
    EXPECT_EQ(QStringLiteral("Blue Hole"), state.LocationList[1].Name);

    state.CurrentDive = 4;
    ASSERT_TRUE(s.removeEntry(4));
    EXPECT_EQ(QStringLiteral("Delete Entry 104"), stack.undoText());
    stack.undo();
    EXPECT_EQ(before, state.Dives);
    EXPECT_EQ(4, state.CurrentDive) << "the dive comes back where it was, and is shown";
    ASSERT_TRUE(s.appendEntry());
    EXPECT_EQ(QStringLiteral("New Entry 107"), stack.undoText());
    stack.undo();
    EXPECT_EQ(6, state.DiveCount());
}

TEST_F(SessionTest, EachChangeSaysWhatChangedOnceAndTheJournalFollows) {
    store::AppState state = sampleLog();
    Session s(state);
    std::map<QString, int> heard;
    auto count = [&heard](const char* name) { return [&heard, name] { ++heard[name]; }; };
    QObject::connect(&s, &Session::diveChanged, count("dive"));
    QObject::connect(&s, &Session::divesInserted, count("inserted"));
    QObject::connect(&s, &Session::divesRemoved, count("removed"));
    QObject::connect(&s, &Session::listChanged, count("list"));
    QObject::connect(&s, &Session::profilesChanged, count("profiles"));
    QObject::connect(&s, &Session::offsetChanged, count("offset"));
    QObject::connect(&s, &Session::modified, count("modified"));

    struct Case {
        const char* change;
        std::function<void()> make;
        std::map<QString, int> expected;
        bool journal = true; // the offset is a setting, not part of the files
    };
    const Case cases[] = {
        {"field",
         [&] { s.setNumber(1, store::field::Weight, 12); },
         {{"dive", 1}, {"modified", 1}}},
        {"new entry", [&] { s.appendEntry(); }, {{"inserted", 1}, {"modified", 1}}},
        {"delete entry", [&] { s.removeEntry(7); }, {{"removed", 1}, {"modified", 1}}},
        {"profile",
         [&] { s.storeProfile(3, store::ProfileRecord{}); },
         {{"profiles", 1}, {"dive", 1}, {"modified", 1}}},
        {"list entry",
         [&] { s.addListChoice(1, store::field::Gear, QStringLiteral("Twin")); },
         {{"list", 1}, {"dive", 1}, {"modified", 2}}},
        {"offset", [&] { s.setOffset(10); }, {{"offset", 1}, {"modified", 1}}, false},
        {"nothing changes", [&] { s.setOffset(10); }, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        heard.clear();
        QFile::remove(QStringLiteral("log1.dvl.recovery"));
        c.make();
        s.endTyping();
        EXPECT_EQ(c.expected, heard);
        // The journal is written a little later, by the session's own timer.
        EXPECT_EQ(!c.expected.empty(), s.journalPending());
        EXPECT_TRUE(s.writeJournal().isEmpty());
        EXPECT_EQ(c.journal, QFile::exists(QStringLiteral("log1.dvl.recovery")));
    }
}
