#pragma once

#include "ImportReport.h"
#include "store/AppState.h"

#include <QHash>

#include <map>
#include <tuple>

namespace interchange {

// Gathers imported dives on a copy of the log and hands the copy back only when all of them
// fit, so a refused import leaves the log exactly as it was.
class LogAppender {
  public:
    LogAppender(const store::AppState& state, ImportReport& report);

    // The position of a name in list `which`: the last entry spelt exactly so (as the entry
    // box finds it), else the first that differs only in case, else a new last entry.
    int16_t listIndex(int which, const QString& name);
    // The dive number of a dive in the log (or added before) with the same date and entry
    // time; 0 for none or for a dive without a date.
    int sameDiveAs(const store::DiveRecord& dive) const;
    // Stores a profile; its number for the dive, or 0 when the profile file is full.
    int16_t addProfile(const store::ProfileRecord& profile);
    void add(const store::DiveRecord& dive);
    // A value for number box `dataField` (DiveData index), rounded and kept within what the
    // box takes: +-32000, visibility 0 to 200. A value moved is warned about, naming `where`.
    int16_t boxValue(double v, int dataField, const QString& where);
    // Whether boxValue would keep v as it is (rounded).
    static bool fits(double v, int dataField);
    // The dive number the next added dive gets.
    int nextNumber() const { return keep + count() + 1 + work.DiveOffset; }
    const store::AppState& log() const { return work; }
    int count() const { return static_cast<int>(dives.size()); }

    // Checks the limits and, when nothing went wrong, replaces `state` with the grown log.
    // False (with the reasons in the report) when the log stays as it was.
    bool finish(store::AppState& state);

  private:
    using Key = std::tuple<int, int, int, int, int>;
    static bool keyOf(const store::DiveRecord& d, Key* key);

    store::AppState work;
    ImportReport& report;
    std::vector<store::DiveRecord> dives;
    std::array<QHash<QString, int>, 4> exact, folded;
    std::map<Key, int> when; // date and entry time -> dive number
    int keep = 0;
    bool blank = false;
};

} // namespace interchange
