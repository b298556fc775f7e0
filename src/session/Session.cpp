#include "Session.h"

#include "settings/Settings.h"
#include "store/EntryRules.h"
#include "store/LogOps.h"

#include <QUndoCommand>

#include <algorithm>

namespace session {

namespace {

const char* const TimeNames[7] = {"Date", "Date", "Date", "Entry Time", "Entry Time",
                                  "Exit Time", "Exit Time"};
const char* const NumberNames[10] = {"PSI In",          "PSI Out",
                                     "Tank Size",       "Bottom Time",
                                     "Max. Depth",      "Weight",
                                     "Air Temperature", "Surface Temperature",
                                     "Bottom Temperature", "Visibility"};
const char* const ListNames[4] = {"Location", "Type", "Buddy", "Gear"};
const char* const ListPlurals[4] = {"Locations", "Dive Types", "Buddies", "Gear"};

// What a dive edit touches, so that typing in one box merges and nothing else does.
constexpr int TimeKey = 0, NumberKey = 100, ConditionKey = 200, RatingKey = 300,
              CommentKey = 400, ListKey = 500, NoMerge = -1;

} // namespace

// One undoable change. Views hear of it through the session's signals, whether it is done,
// undone or redone; after an undo or redo the dive it touched is shown.
class Change : public QUndoCommand {
  public:
    Change(Session& owner, const QString& text, int shownDive)
        : QUndoCommand(text), session(owner), dive(shownDive) {}

    void redo() final {
        apply(true);
        if (!first && dive > 0) emit session.revealDive(std::min(dive, st().DiveCount()));
        first = false;
        session.changed();
    }
    void undo() final {
        apply(false);
        if (dive > 0) emit session.revealDive(std::min(dive, st().DiveCount()));
        session.changed();
    }

  protected:
    virtual void apply(bool forward) = 0;
    store::AppState& st() const { return session.s; }
    store::DiveRecord& record(int index) const { return st().Dives[static_cast<size_t>(index)]; }
    void clampCurrent() const {
        store::AppState& a = st();
        a.CurrentDive = std::clamp(a.CurrentDive, 1, std::max(1, a.DiveCount()));
    }

    Session& session;
    const int dive; // the dive to show after an undo or redo; 0 for none
    bool first = true;
};

namespace {

// Any change of one dive's record: before and after, whole. Consecutive edits of one box
// (same dive, same key, same typing serial) become one.
class DiveEdit : public Change {
  public:
    DiveEdit(Session& s, const QString& text, int shownDive, int boxKey, int typingSerial,
             store::DiveRecord was, store::DiveRecord now)
        : Change(s, text, shownDive), key(boxKey), serial(typingSerial), before(std::move(was)),
          after(std::move(now)) {}

    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* o = dynamic_cast<const DiveEdit*>(other);
        if (!o || key == NoMerge || o->dive != dive || o->key != key || o->serial != serial)
            return false;
        after = o->after;
        setObsolete(before == after); // typed back to what it was: nothing to undo
        return true;
    }

  private:
    void apply(bool forward) override {
        record(dive) = forward ? after : before;
        emit session.diveChanged(dive);
    }
    const int key;
    const int serial;
    const store::DiveRecord before;
    store::DiveRecord after;
};

// Dives put in or taken out at given indexes (ascending). Taking out is the reverse of
// putting in, so one class serves New Entry, Delete Entry, deleting several and imports.
class DiveSet : public Change {
  public:
    DiveSet(Session& s, const QString& text, int shownDive, bool putIn, std::vector<int> indexes,
            std::vector<store::DiveRecord> dives, int shownWhenDone)
        : Change(s, text, shownDive), insert(putIn), at(std::move(indexes)),
          records(std::move(dives)), shownAfter(shownWhenDone) {}

  private:
    void apply(bool forward) override {
        store::AppState& a = st();
        const int shownBefore = a.CurrentDive;
        if (forward == insert) {
            for (size_t k = 0; k < at.size(); ++k) {
                a.Dives.insert(a.Dives.begin() + at[k], records[k]);
                emit session.divesInserted(at[k], 1);
            }
        } else {
            for (size_t k = at.size(); k-- > 0;) {
                a.Dives.erase(a.Dives.begin() + at[k]);
                emit session.divesRemoved(at[k], 1);
            }
        }
        if (forward) {
            if (shownAfter > 0) a.CurrentDive = shownAfter;
            savedShown = shownBefore;
        } else if (savedShown > 0) {
            a.CurrentDive = savedShown;
        }
        clampCurrent();
        emit session.currentDiveChanged(a.CurrentDive);
    }
    const bool insert;
    const std::vector<int> at;
    const std::vector<store::DiveRecord> records;
    const int shownAfter;
    int savedShown = 0;
};

// Several dives' records at once, before and after (bulk edits).
class DivesEdit : public Change {
  public:
    DivesEdit(Session& s, const QString& text, std::vector<int> indexes,
              std::vector<store::DiveRecord> was, std::vector<store::DiveRecord> now)
        : Change(s, text, indexes.size() == 1 ? indexes.front() : 0), at(std::move(indexes)),
          before(std::move(was)), after(std::move(now)) {}

  private:
    void apply(bool forward) override {
        const std::vector<store::DiveRecord>& v = forward ? after : before;
        for (size_t k = 0; k < at.size(); ++k) {
            record(at[k]) = v[k];
            emit session.diveChanged(at[k]);
        }
    }
    const std::vector<int> at;
    const std::vector<store::DiveRecord> before, after;
};

// A reference list replaced, with the column of every dive's choice from that list.
class ListEdit : public Change {
  public:
    ListEdit(Session& s, const QString& text, int list, store::RefList was, store::RefList now,
             std::vector<int16_t> columnWas, std::vector<int16_t> columnNow)
        : Change(s, text, 0), which(list), before(std::move(was)), after(std::move(now)),
          columnBefore(std::move(columnWas)), columnAfter(std::move(columnNow)) {}

  private:
    void apply(bool forward) override {
        store::AppState& a = st();
        a.list(which) = forward ? after : before;
        const std::vector<int16_t>& column = forward ? columnAfter : columnBefore;
        if (!column.empty())
            for (size_t i = 1; i < a.Dives.size() && i < column.size(); ++i)
                a.Dives[i].ListData[static_cast<size_t>(which)] = column[i];
        emit session.listChanged(which);
    }
    const int which;
    const store::RefList before, after;
    const std::vector<int16_t> columnBefore, columnAfter; // empty: the dives keep theirs
};

// A profile appended to the stored profiles and linked to a dive. Undone in the reverse
// order of doing, so the profile taken off is always the last one.
class ProfileAdd : public Change {
  public:
    ProfileAdd(Session& s, const QString& text, int drawnDive, store::ProfileRecord drawn)
        : Change(s, text, drawnDive), profile(std::move(drawn)),
          linkBefore(record(drawnDive).ProfileNum) {}

  private:
    void apply(bool forward) override {
        store::AppState& a = st();
        if (forward) {
            a.Profiles.push_back(profile);
            record(dive).ProfileNum = static_cast<int16_t>(a.Profiles.size() - 1);
        } else {
            a.Profiles.pop_back();
            record(dive).ProfileNum = linkBefore;
        }
        emit session.profilesChanged();
        emit session.diveChanged(dive);
    }
    const store::ProfileRecord profile;
    const int16_t linkBefore;
};

// Profiles appended in one step (an import brings a profile per dive); taken off the end again.
class ProfilesAppend : public Change {
  public:
    ProfilesAppend(Session& s, std::vector<store::ProfileRecord> added)
        : Change(s, QString(), 0), profiles(std::move(added)) {}

  private:
    void apply(bool forward) override {
        std::vector<store::ProfileRecord>& all = st().Profiles;
        if (forward)
            all.insert(all.end(), profiles.begin(), profiles.end());
        else
            all.resize(all.size() - profiles.size());
        emit session.profilesChanged();
    }
    const std::vector<store::ProfileRecord> profiles;
};

class OffsetEdit : public Change {
  public:
    OffsetEdit(Session& s, int typingSerial, int16_t was, int16_t now)
        : Change(s, QStringLiteral("Offset"), 0), serial(typingSerial), before(was), after(now) {}

    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* o = dynamic_cast<const OffsetEdit*>(other);
        if (!o || o->serial != serial) return false;
        after = o->after;
        setObsolete(before == after);
        return true;
    }

  private:
    void apply(bool forward) override {
        st().DiveOffset = forward ? after : before;
        // The offset lives in the settings, which Options writes when it closes; taken back
        // or done again later, it is written here.
        if (!first) settings::saveOptions(st().DiveOffset, st().MultiFlag);
        emit session.offsetChanged();
    }
    const int serial;
    const int16_t before;
    int16_t after;
};

std::vector<int16_t> listColumn(const store::AppState& a, int which) {
    std::vector<int16_t> column(a.Dives.size());
    for (size_t i = 1; i < a.Dives.size(); ++i)
        column[i] = a.Dives[i].ListData[static_cast<size_t>(which)];
    return column;
}

QString quoted(const QString& name) { return QLatin1Char('\'') + name + QLatin1Char('\''); }

// What a list editor did, in a few words: one entry added, renamed, described, given a
// picture or deleted; anything more is an edit of the list.
QString listChangeText(int which, const store::RefList& before, const lists::ListDraft& draft) {
    const store::RefList& after = draft.entries;
    const QString kind = QString::fromLatin1(ListNames[which]);
    if (draft.deleted.size() == 1 && after.size() + 1 == before.size()) {
        const int gone = draft.deleted.front();
        if (gone >= 0 && gone < static_cast<int>(before.size()))
            return QStringLiteral("Delete %1 %2").arg(kind, quoted(before[size_t(gone)].Name));
    }
    if (draft.deleted.empty() && after.size() == before.size() + 1 &&
        std::equal(before.begin(), before.end(), after.begin()))
        return QStringLiteral("Add %1 %2").arg(kind, quoted(after.back().Name));
    if (draft.deleted.empty() && after.size() == before.size()) {
        int differs = -1, count = 0;
        for (size_t i = 0; i < after.size(); ++i)
            if (!(after[i] == before[i])) differs = static_cast<int>(i), ++count;
        if (count == 1) {
            const store::ListEntry& b = before[size_t(differs)];
            const store::ListEntry& a = after[size_t(differs)];
            if (a.Name != b.Name) return QStringLiteral("Rename %1 %2").arg(kind, quoted(b.Name));
            if (a.Info != b.Info) return QStringLiteral("Info of %1 %2").arg(kind, quoted(a.Name));
            return QStringLiteral("Picture of %1 %2").arg(kind, quoted(a.Name));
        }
    }
    return QStringLiteral("Edit %1").arg(QString::fromLatin1(ListPlurals[which]));
}

} // namespace

Session::Session(store::AppState& state, QObject* parent)
    : QObject(parent), s(state), stack(this), journalFile(state) {
    stack.setUndoLimit(0);
    journalTimer.setSingleShot(true);
    journalTimer.setInterval(2000);
    connect(&journalTimer, &QTimer::timeout, this, [this] { writeJournal(); });
    connect(this, &Session::modified, this, [this] {
        if (s.Loaded && !journalTimer.isActive()) journalTimer.start();
    });
}

Session::~Session() {
    // Commands hold no pointers into the state, but the stack must not outlive this object's
    // signals: empty it while they still exist.
    stack.clear();
}

// ---- Opening and saving

store::AppState* Session::setup() {
    return s.Loaded ? nullptr : &s;
}

store::FileProblems Session::open() {
    journalTimer.stop();
    s.Loaded = false;
    stack.clear();
    store::FileProblems problems = store::OpenLog(s);
    journalFile.opened();
    return problems;
}

bool Session::restoreJournal(const QByteArray& data) {
    if (!store::recovery::restoreJournal(data, s)) return false;
    journalFile.restored();
    return true;
}

void Session::opened() {
    s.Loaded = true;
    stack.clear();
    emit logReset();
    emit currentDiveChanged(s.CurrentDive);
}

void Session::closeLog() {
    journalTimer.stop();
    s.Loaded = false;
    stack.clear();
}

store::FileProblems Session::save(bool* leftMixed) {
    journalTimer.stop();
    store::FileProblems problems = store::SaveLog(s, leftMixed);
    if (problems.empty()) {
        // Only a log opened here has its journal here; a command-line save leaves the
        // journal of a program that ended badly for that program to offer.
        if (s.Loaded) journalFile.saved();
        stack.setClean();
    } else if (s.Loaded) {
        journalFile.update(); // the work is kept there until a save succeeds
    }
    return problems;
}

store::FileProblems Session::saveAs(const store::FileSet& kept) {
    journalTimer.stop();
    store::FileProblems problems = store::SaveLogAs(s, kept);
    if (problems.empty() && s.Loaded) journalFile.saved();
    return problems;
}

QString Session::writeJournal() {
    journalTimer.stop();
    // A journal that cannot be written is tried again with the next change; the save on
    // Exit reports the folder's trouble.
    return s.Loaded ? journalFile.update() : QString();
}

void Session::changed() { emit modified(); }

void Session::push(Change* command) { stack.push(command); }

// ---- Moving

void Session::setCurrentDive(int index) {
    const int to = std::clamp(index, 1, std::max(1, s.DiveCount()));
    if (to == s.CurrentDive) return;
    s.CurrentDive = to;
    emit currentDiveChanged(to);
}

// ---- One dive

QString Session::diveName(int dive) const {
    return QStringLiteral("Dive %1").arg(dive + s.DiveOffset);
}

namespace {
bool validDive(const store::AppState& a, int dive) {
    return dive >= 1 && dive <= a.DiveCount();
}
} // namespace

#define EDIT_DIVE(label, key, statement)                                                           \
    do {                                                                                           \
        if (!validDive(s, dive)) return;                                                           \
        store::DiveRecord after = s.Dives[size_t(dive)];                                           \
        statement;                                                                                 \
        if (after == s.Dives[size_t(dive)]) return;                                                \
        push(new DiveEdit(*this, QStringLiteral("%1 of %2").arg(label, diveName(dive)), dive, key, \
                          typingSerial, s.Dives[size_t(dive)], std::move(after)));                 \
    } while (false)

void Session::setTimeField(int dive, int element, int16_t value) {
    if (element < 0 || element > 6) return;
    EDIT_DIVE(QString::fromLatin1(TimeNames[element]), TimeKey + element,
              after.TimeData[size_t(element)] = value);
}

void Session::setNumber(int dive, int element, int16_t value) {
    if (element < 0 || element > 9) return;
    EDIT_DIVE(QString::fromLatin1(NumberNames[element]), NumberKey + element,
              after.DiveData[size_t(element)] = value);
}

void Session::unlinkProfile(int dive, int element) {
    if (element < 0 || element > 9) return;
    EDIT_DIVE(QString::fromLatin1(NumberNames[element]), NumberKey + element,
              after.ProfileNum = 0);
}

void Session::setCondition(int dive, int condition, bool on) {
    if (condition < 0 || condition > 7) return;
    EDIT_DIVE(QString::fromLatin1(store::field::ConditionNames[size_t(condition)]),
              ConditionKey + condition, after.CondData[size_t(condition)] = on ? 1 : 0);
}

void Session::setRating(int dive, int16_t rating) {
    EDIT_DIVE(QStringLiteral("Rating"), RatingKey, after.Rating = rating);
}

void Session::setComment(int dive, const QString& text) {
    EDIT_DIVE(QStringLiteral("Comments"), CommentKey, after.Comments = text);
}

void Session::setListChoice(int dive, int which, int16_t at) {
    if (which < 0 || which > 3) return;
    EDIT_DIVE(QString::fromLatin1(ListNames[which]), ListKey + which,
              after.ListData[size_t(which)] = at);
}

void Session::clearEntry(int dive) {
    EDIT_DIVE(QStringLiteral("Clear"), NoMerge, store::entry::clearDive(after));
}

#undef EDIT_DIVE

int Session::addListChoice(int dive, int which, const QString& name) {
    if (!validDive(s, dive) || which < 0 || which > 3) return -1;
    const store::RefList& before = s.list(which);
    if (static_cast<int>(before.size()) >= lists::MaxEntries) return -1;
    store::RefList after = before;
    after.push_back(store::ListEntry{name, {}, {}});
    const int16_t at = static_cast<int16_t>(after.size() - 1);
    stack.beginMacro(QStringLiteral("%1 of %2").arg(QString::fromLatin1(ListNames[which]),
                                                   diveName(dive)));
    push(new ListEdit(*this, QString(), which, before, std::move(after), {}, {}));
    endTyping();
    setListChoice(dive, which, at);
    endTyping();
    stack.endMacro();
    return at;
}

// ---- Dives in and out

bool Session::appendEntry() {
    if (s.DiveCount() >= store::MaxDives) return false;
    const int at = s.DiveCount() + 1;
    push(new DiveSet(*this, QStringLiteral("New Entry %1").arg(at + s.DiveOffset), at, true, {at},
                     {store::DiveRecord{}}, at));
    return true;
}

bool Session::removeEntry(int dive) {
    if (s.DiveCount() < 2 || !validDive(s, dive)) return false;
    push(new DiveSet(*this, QStringLiteral("Delete Entry %1").arg(dive + s.DiveOffset), dive,
                     false, {dive}, {s.Dives[size_t(dive)]}, dive));
    return true;
}

bool Session::removeEntries(std::vector<int> dives, const QString& text) {
    std::sort(dives.begin(), dives.end());
    dives.erase(std::unique(dives.begin(), dives.end()), dives.end());
    if (dives.empty() || dives.front() < 1 || dives.back() > s.DiveCount() ||
        static_cast<int>(dives.size()) >= s.DiveCount())
        return false;
    std::vector<store::DiveRecord> records;
    records.reserve(dives.size());
    for (int d : dives)
        records.push_back(s.Dives[size_t(d)]);
    const int first = dives.front();
    push(new DiveSet(*this, text, first, false, std::move(dives), std::move(records), first));
    return true;
}

void Session::editDives(const std::vector<int>& dives, const QString& text,
                        const std::function<void(store::DiveRecord&)>& change) {
    std::vector<int> at;
    std::vector<store::DiveRecord> before, after;
    for (int d : dives) {
        if (!validDive(s, d)) continue;
        store::DiveRecord r = s.Dives[size_t(d)];
        change(r);
        if (r == s.Dives[size_t(d)]) continue;
        at.push_back(d);
        before.push_back(s.Dives[size_t(d)]);
        after.push_back(std::move(r));
    }
    if (at.empty()) return;
    push(new DivesEdit(*this, text, std::move(at), std::move(before), std::move(after)));
}

void Session::addDives(std::vector<store::DiveRecord> dives,
                       const std::array<store::RefList, 4>& lists,
                       std::vector<store::ProfileRecord> profiles, bool replaceBlank,
                       const QString& text) {
    if (dives.empty()) return;
    stack.beginMacro(text);
    for (int which = 0; which < 4; ++which)
        if (lists[size_t(which)] != s.list(which))
            push(new ListEdit(*this, QString(), which, s.list(which), lists[size_t(which)], {},
                              {}));
    if (replaceBlank && s.DiveCount() == 1 && s.Dives[1] == store::DiveRecord{})
        push(new DiveSet(*this, QString(), 0, false, {1}, {s.Dives[1]}, 0));
    if (!profiles.empty()) push(new ProfilesAppend(*this, std::move(profiles)));
    std::vector<int> at;
    const int first = s.DiveCount() + 1;
    for (size_t k = 0; k < dives.size(); ++k)
        at.push_back(first + static_cast<int>(k));
    const int last = at.back();
    push(new DiveSet(*this, QString(), first, true, std::move(at), std::move(dives), last));
    stack.endMacro();
}

void Session::importDives(const store::AppState& imported, int first, bool replacedBlank,
                          const QString& text) {
    if (first < 1 || first > imported.DiveCount()) return;
    std::vector<store::DiveRecord> dives(imported.Dives.begin() + first, imported.Dives.end());
    const std::array<store::RefList, 4> lists = {imported.LocationList, imported.TypeList,
                                                 imported.BuddyList, imported.GearList};
    std::vector<store::ProfileRecord> profiles;
    if (imported.Profiles.size() > s.Profiles.size())
        profiles.assign(imported.Profiles.begin() + static_cast<long>(s.Profiles.size()),
                        imported.Profiles.end());
    addDives(std::move(dives), lists, std::move(profiles), replacedBlank, text);
}

void Session::storeProfile(int dive, store::ProfileRecord profile) {
    if (!validDive(s, dive) || s.Profiles.size() >= size_t(store::MaxDives) + 1) return;
    push(new ProfileAdd(*this, QStringLiteral("Profile of %1").arg(diveName(dive)), dive,
                        std::move(profile)));
}

void Session::commitListDraft(int which, lists::ListDraft& draft) {
    if (which < 0 || which > 3 || draft.entries.empty()) return;
    const store::RefList& before = s.list(which);
    if (draft.deleted.empty() && draft.entries == before) return;
    const QString text = listChangeText(which, before, draft);
    std::vector<int16_t> columnBefore, columnAfter;
    if (!draft.deleted.empty()) {
        columnBefore = listColumn(s, which);
        // The renumbering rule itself lives with the lists; it is run on a copy of the column.
        store::AppState scratch;
        scratch.Dives.resize(s.Dives.size());
        for (size_t i = 1; i < s.Dives.size(); ++i)
            scratch.Dives[i].ListData[size_t(which)] = columnBefore[i];
        for (const int deleted : draft.deleted)
            lists::renumberAfterDelete(scratch, which, deleted);
        columnAfter = listColumn(scratch, which);
    }
    draft.deleted.clear();
    push(new ListEdit(*this, text, which, before, draft.entries, std::move(columnBefore),
                      std::move(columnAfter)));
}

void Session::setOffset(int16_t offset) {
    if (offset == s.DiveOffset) return;
    push(new OffsetEdit(*this, typingSerial, s.DiveOffset, offset));
}

} // namespace session
