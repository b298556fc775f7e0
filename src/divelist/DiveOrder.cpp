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

DiveOrder::DiveOrder(const store::AppState& s) : state(s) {
    for (int which = 0; which < 4; ++which)
        listChanged(which);
}

void DiveOrder::listChanged(int which) {
    const store::RefList& list = state.list(which);
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
    const store::DiveRecord& x = state.Dives[static_cast<size_t>(a)];
    const store::DiveRecord& y = state.Dives[static_cast<size_t>(b)];
    const auto& tx = x.TimeData;
    const auto& ty = y.TimeData;
    switch (column) {
    case Number:
        return three(a, b);
    case Date:
        return three(std::array<int16_t, 5>{tx[store::field::Year], tx[store::field::Month],
                                            tx[store::field::Day], tx[store::field::EntryHour],
                                            tx[store::field::EntryMinute]},
                     std::array<int16_t, 5>{ty[store::field::Year], ty[store::field::Month],
                                            ty[store::field::Day], ty[store::field::EntryHour],
                                            ty[store::field::EntryMinute]});
    case Entry:
        return three(std::make_pair(tx[store::field::EntryHour], tx[store::field::EntryMinute]),
                     std::make_pair(ty[store::field::EntryHour], ty[store::field::EntryMinute]));
    case Exit:
        return three(std::make_pair(tx[store::field::ExitHour], tx[store::field::ExitMinute]),
                     std::make_pair(ty[store::field::ExitHour], ty[store::field::ExitMinute]));
    case Location:
    case Type:
    case Buddy:
    case Gear: {
        const int which = column - Location;
        return three(listRank(which, x.ListData[size_t(which)]),
                     listRank(which, y.ListData[size_t(which)]));
    }
    case MaxDepth:
        return three(x.DiveData[store::field::MaxDepth], y.DiveData[store::field::MaxDepth]);
    case BottomTime:
        return three(x.DiveData[store::field::BottomTime], y.DiveData[store::field::BottomTime]);
    case PsiIn:
        return three(x.DiveData[store::field::PsiIn], y.DiveData[store::field::PsiIn]);
    case PsiOut:
        return three(x.DiveData[store::field::PsiOut], y.DiveData[store::field::PsiOut]);
    case TankSize:
        return three(x.DiveData[store::field::TankSize], y.DiveData[store::field::TankSize]);
    case Weight:
        return three(x.DiveData[store::field::Weight], y.DiveData[store::field::Weight]);
    case AirTemp:
        return three(x.DiveData[store::field::AirTemp], y.DiveData[store::field::AirTemp]);
    case SurfaceTemp:
        return three(x.DiveData[store::field::SurfaceTemp], y.DiveData[store::field::SurfaceTemp]);
    case BottomTemp:
        return three(x.DiveData[store::field::BottomTemp], y.DiveData[store::field::BottomTemp]);
    case Visibility:
        return three(x.DiveData[store::field::Visibility], y.DiveData[store::field::Visibility]);
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
