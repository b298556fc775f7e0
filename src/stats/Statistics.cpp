#include "Statistics.h"

#include <algorithm>
#include <map>

namespace stats {

namespace {

struct Naming {
    GroupBy by;
    const char* word;
    const char* caption;
};
constexpr Naming Names[] = {
    {GroupBy::Year, "year", "Year"},
    {GroupBy::Month, "month", "Month"},
    {GroupBy::MonthOfYear, "month-of-year", "Month of Year"},
    {GroupBy::Location, "location", "Location"},
    {GroupBy::Type, "type", "Dive Type"},
    {GroupBy::Buddy, "buddy", "Buddy"},
    {GroupBy::Gear, "gear", "Gear"},
};

const Naming& naming(GroupBy by) {
    return Names[static_cast<size_t>(by)];
}

// The ListData element a list grouping reads; -1 for the date groupings.
int listOf(GroupBy by) {
    switch (by) {
    case GroupBy::Location:
        return store::field::Location;
    case GroupBy::Type:
        return store::field::Type;
    case GroupBy::Buddy:
        return store::field::Buddy;
    case GroupBy::Gear:
        return store::field::Gear;
    default:
        return -1;
    }
}

// Where a dive falls: its key, or nothing for the group without one.
std::optional<int> keyOf(const store::DiveRecord& d, GroupBy by, int listSize) {
    if (const int list = listOf(by); list >= 0) {
        const int position = d.ListData[static_cast<size_t>(list)];
        if (position < 0 || position >= listSize) return std::nullopt;
        return position;
    }
    if (!isDated(d)) return std::nullopt;
    const int month = d.TimeData[store::field::Month], year = d.TimeData[store::field::Year];
    switch (by) {
    case GroupBy::Year:
        return year;
    case GroupBy::Month:
        return year * 100 + month;
    default:
        return month;
    }
}

// valueOf for every quantity, spelled out: this runs for every dive of a summary.
void addDive(Group& g, const store::DiveRecord& d) {
    ++g.dives;
    const auto& v = d.DiveData;
    const auto add = [&g](Quantity q, int value) {
        if (value != 0) g.tallies[q].add(value);
    };
    add(BottomTime, v[store::field::BottomTime]);
    add(Depth, v[store::field::MaxDepth]);
    add(AirTemp, v[store::field::AirTemp]);
    add(SurfaceTemp, v[store::field::SurfaceTemp]);
    add(BottomTemp, v[store::field::BottomTemp]);
    add(Visibility, v[store::field::Visibility]);
    if (v[store::field::PsiIn] != 0 && v[store::field::PsiOut] != 0)
        g.tallies[PressureUsed].add(v[store::field::PsiIn] - v[store::field::PsiOut]);
}

void merge(Tally& into, const Tally& t) {
    if (t.count == 0) return;
    if (into.count == 0 || t.min < into.min) into.min = t.min;
    if (into.count == 0 || t.max > into.max) into.max = t.max;
    into.count += t.count;
    into.total += t.total;
}

} // namespace

QString groupingWord(GroupBy by) {
    return QLatin1String(naming(by).word);
}

std::optional<GroupBy> groupingNamed(const QString& word) {
    for (const Naming& n : Names)
        if (word == QLatin1String(n.word)) return n.by;
    return std::nullopt;
}

QString groupingCaption(GroupBy by) {
    return QLatin1String(naming(by).caption);
}

std::optional<int> valueOf(const store::DiveRecord& d, Quantity q) {
    static constexpr int Fields[] = {store::field::BottomTime, store::field::MaxDepth,
                                     store::field::AirTemp,    store::field::SurfaceTemp,
                                     store::field::BottomTemp, store::field::Visibility};
    if (q == PressureUsed) {
        const int in = d.DiveData[store::field::PsiIn], out = d.DiveData[store::field::PsiOut];
        if (in == 0 || out == 0) return std::nullopt;
        return in - out;
    }
    const int v = d.DiveData[static_cast<size_t>(Fields[q])];
    if (v == 0) return std::nullopt;
    return v;
}

bool isDated(const store::DiveRecord& d) {
    const int month = d.TimeData[store::field::Month];
    return month >= 1 && month <= 12 && d.TimeData[store::field::Year] > 0;
}

std::vector<int> everyDive(const store::AppState& state) {
    std::vector<int> all(static_cast<size_t>(std::max(state.DiveCount(), 0)));
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i) + 1;
    return all;
}

Summary summarize(const store::AppState& state, const std::vector<int>& dives, GroupBy by) {
    Summary s;
    s.by = by;
    s.all.hasKey = false;
    const int count = state.DiveCount();
    const int list = listOf(by);
    const store::RefList* entries = list >= 0 ? &state.list(list) : nullptr;
    const int listSize = entries ? static_cast<int>(entries->size()) : 0;

    // Keys are few and dives usually come in date order, so the group of the previous dive is
    // tried first.
    std::map<int, Group> keyed;
    Group unkeyed;
    unkeyed.hasKey = false;
    std::vector<bool> seen(static_cast<size_t>(std::max(count, 0)) + 1);
    Group* last = nullptr;
    int lastKey = 0;
    for (int index : dives) {
        if (index < 1 || index > count || seen[static_cast<size_t>(index)]) continue;
        seen[static_cast<size_t>(index)] = true;
        const store::DiveRecord& d = state.Dives[static_cast<size_t>(index)];
        const std::optional<int> key = keyOf(d, by, listSize);
        Group* g = &unkeyed;
        if (key) {
            if (!last || lastKey != *key) {
                auto [at, added] = keyed.try_emplace(*key);
                if (added) at->second.key = *key;
                last = &at->second;
                lastKey = *key;
            }
            g = last;
        }
        addDive(*g, d);
    }

    s.groups.reserve(keyed.size() + 1);
    for (auto& [key, g] : keyed) {
        if (entries) g.name = (*entries)[static_cast<size_t>(key)].Name;
        s.groups.push_back(std::move(g));
    }
    if (unkeyed.dives > 0) s.groups.push_back(std::move(unkeyed));
    for (const Group& g : s.groups) {
        s.all.dives += g.dives;
        for (size_t q = 0; q < g.tallies.size(); ++q)
            merge(s.all.tallies[q], g.tallies[q]);
    }
    return s;
}

} // namespace stats
