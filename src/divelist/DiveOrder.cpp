#include "DiveOrder.h"

#include "DiveColumns.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace divelist {

namespace {

template <typename T> int three(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

DiveOrder::DiveOrder(const AppState& s) : state(s) {
    for (int which = 0; which < 4; ++which)
        listChanged(which);
}

void DiveOrder::listChanged(int which) {
    const RefList& list = state.list(which);
    std::vector<int> byName(list.size());
    std::iota(byName.begin(), byName.end(), 0);
    // Same names (in any case) share a rank, so their dives tie and keep log order.
    auto cmp = [&list](int x, int y) {
        return QString::compare(list[size_t(x)].Name, list[size_t(y)].Name, Qt::CaseInsensitive);
    };
    std::stable_sort(byName.begin(), byName.end(), [&](int x, int y) { return cmp(x, y) < 0; });
    std::vector<int>& rank = ranks[static_cast<size_t>(which)];
    rank.assign(list.size(), 0);
    for (size_t i = 0; i < byName.size(); ++i)
        rank[size_t(byName[i])] = i > 0 && cmp(byName[i - 1], byName[i]) == 0
                                      ? rank[size_t(byName[i - 1])]
                                      : static_cast<int>(i);
}

int DiveOrder::listRank(int which, int16_t at) const {
    const std::vector<int>& rank = ranks[static_cast<size_t>(which)];
    // An entry the list does not hold shows no name: after every name.
    return at >= 0 && static_cast<size_t>(at) < rank.size() ? rank[size_t(at)] : INT_MAX;
}

int DiveOrder::compare(int a, int b, int column) const {
    const DiveRecord& x = state.Dives[static_cast<size_t>(a)];
    const DiveRecord& y = state.Dives[static_cast<size_t>(b)];
    const auto& tx = x.TimeData;
    const auto& ty = y.TimeData;
    switch (column) {
    case Number:
        return three(a, b);
    case Date:
        return three(std::array<int16_t, 5>{tx[field::Year], tx[field::Month], tx[field::Day],
                                            tx[field::EntryHour], tx[field::EntryMinute]},
                     std::array<int16_t, 5>{ty[field::Year], ty[field::Month], ty[field::Day],
                                            ty[field::EntryHour], ty[field::EntryMinute]});
    case Entry:
        return three(std::make_pair(tx[field::EntryHour], tx[field::EntryMinute]),
                     std::make_pair(ty[field::EntryHour], ty[field::EntryMinute]));
    case Exit:
        return three(std::make_pair(tx[field::ExitHour], tx[field::ExitMinute]),
                     std::make_pair(ty[field::ExitHour], ty[field::ExitMinute]));
    case Location:
    case Type:
    case Buddy:
    case Gear: {
        const int which = column - Location;
        return three(listRank(which, x.ListData[size_t(which)]),
                     listRank(which, y.ListData[size_t(which)]));
    }
    case MaxDepth:
        return three(x.DiveData[field::MaxDepth], y.DiveData[field::MaxDepth]);
    case BottomTime:
        return three(x.DiveData[field::BottomTime], y.DiveData[field::BottomTime]);
    case PsiIn:
        return three(x.DiveData[field::PsiIn], y.DiveData[field::PsiIn]);
    case PsiOut:
        return three(x.DiveData[field::PsiOut], y.DiveData[field::PsiOut]);
    case TankSize:
        return three(x.DiveData[field::TankSize], y.DiveData[field::TankSize]);
    case Weight:
        return three(x.DiveData[field::Weight], y.DiveData[field::Weight]);
    case AirTemp:
        return three(x.DiveData[field::AirTemp], y.DiveData[field::AirTemp]);
    case SurfaceTemp:
        return three(x.DiveData[field::SurfaceTemp], y.DiveData[field::SurfaceTemp]);
    case BottomTemp:
        return three(x.DiveData[field::BottomTemp], y.DiveData[field::BottomTemp]);
    case Visibility:
        return three(x.DiveData[field::Visibility], y.DiveData[field::Visibility]);
    case Rating:
        return three(x.Rating, y.Rating);
    case Comment:
        return QString::compare(foldedFirstLine(a), foldedFirstLine(b));
    default:
        if (column >= FirstCondition && column < Comment)
            return three(x.CondData[size_t(column - FirstCondition)],
                         y.CondData[size_t(column - FirstCondition)]);
        return 0;
    }
}

const QString& DiveOrder::foldedFirstLine(int dive) const {
    if (!foldedValid) {
        folded.resize(state.Dives.size());
        for (size_t i = 1; i < state.Dives.size(); ++i)
            folded[i] = firstLine(state.Dives[i].Comments).toString().toCaseFolded();
        foldedValid = true;
    }
    return folded[static_cast<size_t>(dive)];
}

bool DiveOrder::before(int a, int b, int column, bool descending) const {
    if (column == Date) {
        const bool ua = isUndated(state.Dives[size_t(a)]);
        const bool ub = isUndated(state.Dives[size_t(b)]);
        if (ua != ub) return ub;
        if (ua) return a < b;
    }
    const int c = compare(a, b, column);
    if (c != 0) return descending ? c > 0 : c < 0;
    return a < b;
}

std::vector<int> DiveOrder::sorted(std::vector<int> dives, int column, bool descending) const {
    std::sort(dives.begin(), dives.end(),
              [&](int a, int b) { return before(a, b, column, descending); });
    return dives;
}

} // namespace divelist
