#include "LogAppender.h"

#include "store/EntryRules.h"
#include "store/LogOps.h"

#include <cmath>

namespace interchange {

LogAppender::LogAppender(const store::AppState& state, ImportReport& r) : work(state), report(r) {
    // A log that was just started holds one blank dive; the imported dives take its place.
    blank = work.DiveCount() == 1 && work.Dives[1] == store::DiveRecord{};
    keep = blank ? 0 : work.DiveCount();
    for (int w = 0; w < 4; ++w) {
        const store::RefList& list = work.list(w);
        for (int p = 0; p < static_cast<int>(list.size()); ++p) {
            const QString& name = list[static_cast<size_t>(p)].Name;
            exact[static_cast<size_t>(w)][name] = p; // the last one spelt so wins
            folded[static_cast<size_t>(w)].insert(name.toCaseFolded(), p); // the first wins
        }
    }
    for (int i = 1; i <= keep; ++i)
        if (Key k; keyOf(work.Dives[static_cast<size_t>(i)], &k))
            when.emplace(k, i + work.DiveOffset);
}

bool LogAppender::keyOf(const store::DiveRecord& d, Key* key) {
    const auto& t = d.TimeData;
    if (t[store::field::Year] == 0 || t[store::field::Month] == 0 || t[store::field::Day] == 0)
        return false;
    *key = {t[store::field::Year], t[store::field::Month], t[store::field::Day],
            t[store::field::EntryHour], t[store::field::EntryMinute]};
    return true;
}

int16_t LogAppender::listIndex(int which, const QString& name) {
    const auto w = static_cast<size_t>(which);
    if (auto it = exact[w].constFind(name); it != exact[w].constEnd())
        return static_cast<int16_t>(*it);
    const QString key = name.toCaseFolded();
    if (auto it = folded[w].constFind(key); it != folded[w].constEnd())
        return static_cast<int16_t>(*it);
    store::RefList& list = work.list(which);
    const int p = static_cast<int>(list.size());
    list.push_back({name, {}, {}});
    exact[w][name] = p;
    folded[w][key] = p;
    report.newNames[w] << name;
    return static_cast<int16_t>(p);
}

int LogAppender::sameDiveAs(const store::DiveRecord& dive) const {
    Key k;
    if (!keyOf(dive, &k)) return 0;
    const auto it = when.find(k);
    return it == when.end() ? 0 : it->second;
}

int16_t LogAppender::addProfile(const store::ProfileRecord& profile) {
    if (work.Profiles.size() > static_cast<size_t>(store::MaxDives)) return 0;
    work.Profiles.push_back(profile);
    return static_cast<int16_t>(work.Profiles.size() - 1);
}

void LogAppender::add(const store::DiveRecord& dive) {
    dives.push_back(dive);
    if (Key k; keyOf(dive, &k)) when.emplace(k, keep + count() + work.DiveOffset);
}

bool LogAppender::fits(double v, int dataField) {
    const double r = std::round(v);
    return dataField == store::field::Visibility
               ? r >= 0 && r <= store::entry::MaxVisibility
               : r >= -store::entry::NumberLimit && r <= store::entry::NumberLimit;
}

int16_t LogAppender::boxValue(double v, int dataField, const QString& where) {
    const bool visibility = dataField == store::field::Visibility;
    const double low = visibility ? 0 : -store::entry::NumberLimit;
    const double high = visibility ? store::entry::MaxVisibility : store::entry::NumberLimit;
    const double r = std::round(v);
    if (r >= low && r <= high) return static_cast<int16_t>(r);
    const int16_t kept = static_cast<int16_t>(r < low ? low : high);
    report.warnings << QStringLiteral("%1: %2 is outside %3 to %4; kept as %5")
                           .arg(where, QString::number(r, 'f', 0))
                           .arg(low)
                           .arg(high)
                           .arg(kept);
    return kept;
}

bool LogAppender::finish(store::AppState& state) {
    if (keep + count() > store::MaxDives)
        report.errors
            << QStringLiteral("the log would hold more than %1 dives").arg(store::MaxDives);
    for (int w = 0; w < 4; ++w)
        if (work.list(w).size() > static_cast<size_t>(store::MaxDives) + 1)
            report.errors << QStringLiteral("a list would hold more than %1 entries")
                                 .arg(store::MaxDives + 1);
    if (!report.errors.isEmpty()) {
        report.newNames = {};
        return false;
    }
    if (dives.empty()) return true; // nothing to add; a blank log stays as it is
    work.Dives.resize(static_cast<size_t>(keep) + 1);
    work.Dives.insert(work.Dives.end(), dives.begin(), dives.end());
    work.CurrentDive = work.DiveCount();
    report.added = count();
    report.firstIndex = keep + 1;
    report.replacedBlank = blank;
    state = std::move(work);
    return true;
}

} // namespace interchange
