#pragma once

#include "store/AppState.h"
#include "store/FileIO.h"
#include "lists/ListOps.h"
#include "store/Recovery.h"

#include <QObject>
#include <QTimer>
#include <QUndoStack>

#include <functional>
#include <vector>

namespace session {

// The one owner of the open diver's log. Windows and commands read it through state() and
// change it only through the methods below; each change is an undoable command that stores
// values (dive index, field, old and new), never pointers, and announces what it changed.
// The recovery journal listens to those announcements: nobody has to remember to keep it.
class Session : public QObject {
    Q_OBJECT
  public:
    explicit Session(store::AppState& state, QObject* parent = nullptr);
    ~Session() override;

    const store::AppState& state() const { return s; }
    QUndoStack& undoStack() { return stack; }

    // ---- Opening and saving

    // Who is opened (the diver, his files, the offset) is settled by the start-up before the
    // log is read; until then there is no log to protect and the state may be filled in
    // directly. Refuses (null) once a log is open.
    store::AppState* setup();
    // Reads the diver's files. The undo history starts anew; views hear logReset once the
    // start-up is over (opened()).
    store::FileProblems open();
    // The recovery journal of the log just opened; the start-up offers to restore it.
    store::recovery::Journal& journal() { return journalFile; }
    // Restores a journal's content read from disk into the opened log. False when unreadable.
    bool restoreJournal(const QByteArray& data);
    // The start-up is over: the log is live, saves may write it, views show it.
    void opened();
    // The open diver is being left (diver change): nothing more is saved or journalled.
    void closeLog();

    // Writes the six files (all or none). On success the journal goes and the undo history
    // marks this state as the one on disk; undo past it stays possible. `leftMixed` (when
    // given) says that a failed save could not put every file back (see SaveLog).
    store::FileProblems save(bool* leftMixed = nullptr);
    // "Keep both": the log as it is here goes to the files `kept` names, the diver's own files
    // (changed by another program) stay as they are. The journal's work is then on disk.
    store::FileProblems saveAs(const store::FileSet& kept);

    // The journal is written this long (two seconds unless set) after the first change of a
    // burst; a test program sets it shorter rather than wait.
    void setJournalDelay(int ms) { journalTimer.setInterval(ms); }
    bool journalPending() const { return journalTimer.isActive(); }
    // Writes the journal now (also what the timer does); returns the reason of a failure.
    QString writeJournal();

    // ---- Moving (not a change of the log)
    void setCurrentDive(int index);

    // ---- Changes of one dive. Keystrokes in one box of one dive are one command until
    // endTyping() (the box lost the focus).
    void setTimeField(int dive, int element, int16_t value);
    void setNumber(int dive, int element, int16_t value);
    void setCondition(int dive, int condition, bool on);
    void setRating(int dive, int16_t rating);
    void setComment(int dive, const QString& text);
    // A depth or bottom-time edit dropped the dive's profile: part of that edit, so undoing
    // the edit links the profile again.
    void unlinkProfile(int dive, int element);
    // Picks entry `at` of list `which` for the dive.
    void setListChoice(int dive, int which, int16_t at);
    // A name typed into a dive's drop-down: appended to the list and picked, as one step.
    // Returns the new entry's index, or -1 when the list is full (nothing changes).
    int addListChoice(int dive, int which, const QString& name);
    void endTyping() { ++typingSerial; }

    // "Clear": the dive as the cleared form shows it.
    void clearEntry(int dive);
    // New Entry: an empty dive after the last, shown. False when the log is full.
    bool appendEntry();
    // Delete Entry: needs at least two dives; the next dive (or the new last) is shown.
    bool removeEntry(int dive);
    // Removes several dives as one step (at least one dive stays). False when refused.
    bool removeEntries(std::vector<int> dives, const QString& text);
    // Sets what `change` sets on each of the dives, as one step named `text`.
    void editDives(const std::vector<int>& dives, const QString& text,
                   const std::function<void(store::DiveRecord&)>& change);
    // Adds dives after the last (an import), as one step. `lists` are the lists the dives
    // name afterwards (entries the import added are appended); `profiles` are appended to
    // the stored ones, and the dives link them by the indexes they will have. Replaces the one
    // blank dive of a log just started when `replaceBlank`.
    void addDives(std::vector<store::DiveRecord> dives, const std::array<store::RefList, 4>& lists,
                  std::vector<store::ProfileRecord> profiles, bool replaceBlank,
                  const QString& text);

    // An import worked on a copy of the log: the copy's dives from index `first` on, its
    // lists and the profiles it added become the log's, as one step.
    void importDives(const store::AppState& imported, int first, bool replacedBlank,
                     const QString& text);

    // The profile window's Close: the points become a new stored profile of the dive.
    void storeProfile(int dive, store::ProfileRecord profile);

    // A list editor's working copy becomes the list, renumbering the dives for the entries
    // it removed. One step, named after what changed; nothing when nothing did.
    void commitListDraft(int which, lists::ListDraft& draft);

    // The Options' offset; keystrokes in its box are one step until endTyping().
    void setOffset(int16_t offset);
    // One or several divers: a setting of the program, not of the log (not undoable).
    void setMultiFlag(uint8_t flag) { s.MultiFlag = flag; }

    // The name shown for a dive in messages and undo texts: "Dive 123".
    QString diveName(int dive) const;

  signals:
    void diveChanged(int index);              // fields of one dive
    void divesInserted(int first, int count); // indexes first..first+count-1 are new
    void divesRemoved(int first, int count);  // the dives that were there are gone
    void listChanged(int which);              // entries of a list, and the dives naming it
    void profilesChanged();
    void offsetChanged();
    void logReset();  // a whole log was opened or replaced
    void currentDiveChanged(int index);
    void modified();  // anything of the log changed
    void revealDive(int index); // an undo or redo changed this dive: show it

  private:
    friend class Change;
    void changed();
    void push(class Change* command);

    store::AppState& s;
    QUndoStack stack;
    store::recovery::Journal journalFile;
    QTimer journalTimer;
    int typingSerial = 0;
};

} // namespace session
