#include "DiveValues.h"

#include "lists/ListOps.h"

#include <algorithm>
#include <cstring>

namespace output {

namespace {

enum class Sign { SpaceOrMinus, MinusOnly };

// Writes the decimal form of v to end on `end`: an optional sign, then at least minDigits
// digits. Returns where it starts.
char* formatNumber(char* end, long long v, Sign sign, int minDigits) {
    char* p = end;
    // Work on the magnitude as unsigned so the most negative value has no overflow.
    unsigned long long m =
        v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        *--p = static_cast<char>('0' + m % 10);
        m /= 10;
    } while (m != 0);
    while (end - p < minDigits)
        *--p = '0';
    if (v < 0)
        *--p = '-';
    else if (sign == Sign::SpaceOrMinus)
        *--p = ' ';
    return p;
}

void append(QString& s, std::string_view text) {
    s.append(QLatin1StringView(text.data(), static_cast<qsizetype>(text.size())));
}

void append(Figure& f, std::string_view text) {
    std::memcpy(f.text + f.size, text.data(), text.size());
    f.size += static_cast<int>(text.size());
}

template <typename Text> void appendNumber(Text& s, long long v, Sign sign, int minDigits) {
    char text[24];
    char* end = text + sizeof text;
    const char* p = formatNumber(end, v, sign, minDigits);
    append(s, std::string_view(p, static_cast<size_t>(end - p)));
}

// The value texts are refilled dive after dive; emptying a string this way keeps its
// buffer, so an export of many dives does not allocate for every value.
void restart(QString& s, std::string_view label) {
    s.resize(0);
    append(s, label);
}

void restart(Figure& f, std::string_view label) {
    f.size = 0;
    append(f, label);
}

// label followed by the number text of v.
template <typename Text> void labelled(Text& s, std::string_view label, long long v) {
    restart(s, label);
    appendNumber(s, v, Sign::SpaceOrMinus, 1);
}

// label, plain number of a, ":", then b as a two-digit number.
template <typename Text> void clockTime(Text& s, std::string_view label, long long a, long long b) {
    restart(s, label);
    appendNumber(s, a, Sign::MinusOnly, 1);
    append(s, ":");
    appendNumber(s, b, Sign::MinusOnly, 2);
}

template <typename Values>
void fillDiveValues(Values& out, const store::AppState& state, int i, const RunningTotals& totals) {
    const store::DiveRecord& d = state.Dives[static_cast<size_t>(i)];
    const auto& t = d.TimeData;
    const auto& v = d.DiveData;
    const store::LogTotals sums = totals.upTo(i);

    out.LocationName =
        lists::entryName(state, store::field::Location, d.ListData[store::field::Location]);
    out.TypeName = lists::entryName(state, store::field::Type, d.ListData[store::field::Type]);
    out.BuddyName = lists::entryName(state, store::field::Buddy, d.ListData[store::field::Buddy]);
    out.GearName = lists::entryName(state, store::field::Gear, d.ListData[store::field::Gear]);

    // The shown number is computed wide: a large offset plus a late index passes 32767.
    labelled(out.DiveNoText, "Dive:", static_cast<long long>(state.DiveOffset) + i);
    labelled(out.BottomTimeText, "Bottom Time:", v[store::field::BottomTime]);

    restart(out.DateText, "Date:");
    appendNumber(out.DateText, t[store::field::Month], Sign::MinusOnly, 1);
    append(out.DateText, "/");
    appendNumber(out.DateText, t[store::field::Day], Sign::MinusOnly, 1);
    append(out.DateText, "/");
    appendNumber(out.DateText, t[store::field::Year], Sign::MinusOnly, 1);

    labelled(out.WeightText, "Wt.:", v[store::field::Weight]);
    labelled(out.PsiInText, "PSI In:", v[store::field::PsiIn]);
    labelled(out.PsiOutText, "PSI Out:", v[store::field::PsiOut]);
    clockTime(out.TimeInText, "Time In:", t[store::field::EntryHour], t[store::field::EntryMinute]);
    clockTime(out.TimeOutText, "Time Out:", t[store::field::ExitHour], t[store::field::ExitMinute]);
    labelled(out.AirTempText, "Temp - Air:", v[store::field::AirTemp]);
    labelled(out.SurfaceTempText, ", Surface:", v[store::field::SurfaceTemp]);
    labelled(out.BottomTempText, ", Bottom:", v[store::field::BottomTemp]);
    labelled(out.MaxDepthText, "Max. Depth:", v[store::field::MaxDepth]);
    labelled(out.VisibilityText, "Visibility:", v[store::field::Visibility]);
    labelled(out.TankSizeText, "Tank Sz.:", v[store::field::TankSize]);
    labelled(out.TotalTimeText, "Total Time:", sums.minutes);
    // Averages drop the fraction (integer division truncates).
    labelled(out.AvgTimeText, "Avg. Time:", sums.avgTime());
    labelled(out.AvgDepthText, "Avg. Depth:", sums.avgDepth());

    for (size_t c = 0; c < ConditionOrder.size(); ++c)
        out.conditionSet[c] = d.CondData[static_cast<size_t>(ConditionOrder[c].flag)] != 0;
    out.Rating = d.Rating;
    out.Comments = d.Comments;
}

template <typename Values, typename F>
void walkDives(const store::AppState& state, const std::vector<int>& dives, const F& perDive) {
    const RunningTotals totals(state);
    Values values;
    for (int i : dives) {
        if (i < 1 || i > state.DiveCount()) continue;
        fillDiveValues(values, state, i, totals);
        perDive(values);
    }
}

} // namespace

QString numberText(long long v) {
    QString s;
    appendNumber(s, v, Sign::SpaceOrMinus, 1);
    return s;
}

QString plainNumber(long long v) {
    QString s;
    appendNumber(s, v, Sign::MinusOnly, 1);
    return s;
}

QString twoDigitNumber(long long v) {
    QString s;
    appendNumber(s, v, Sign::MinusOnly, 2);
    return s;
}

// The order the files list the conditions in: surge before surf.
const std::array<Condition, 8> ConditionOrder = [] {
    std::array<Condition, 8> order{};
    const int flags[8] = {0, 1, 2, 3, 4, 5, 7, 6};
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = {store::field::ConditionNames[static_cast<size_t>(flags[k])], flags[k]};
    return order;
}();

QString textRatingText(int rating) {
    switch (rating) {
    case 0:
        return QStringLiteral("[Poor Dive]");
    case 1:
        return QStringLiteral("[Average Dive]");
    case 2:
        return QStringLiteral("[Good Dive]");
    default:
        return {};
    }
}

RunningTotals::RunningTotals(const store::AppState& state) {
    const size_t count = static_cast<size_t>(std::max(state.DiveCount(), 0));
    minutes_.resize(count + 1);
    depth_.resize(count + 1);
    for (size_t i = 1; i <= count; ++i) {
        const store::DiveRecord& d = state.Dives[i];
        minutes_[i] = minutes_[i - 1] + d.DiveData[store::field::BottomTime];
        depth_[i] = depth_[i - 1] + d.DiveData[store::field::MaxDepth];
    }
}

store::LogTotals RunningTotals::upTo(int i) const {
    store::LogTotals t;
    const int last = static_cast<int>(minutes_.size()) - 1;
    i = std::clamp(i, 0, last);
    t.minutes = minutes_[static_cast<size_t>(i)];
    t.depth = depth_[static_cast<size_t>(i)];
    t.dives = i;
    return t;
}

void makeDiveValues(DiveValues& out, const store::AppState& state, int i,
                    const RunningTotals& totals) {
    fillDiveValues(out, state, i, totals);
}

void makeDiveValues(DiveFigures& out, const store::AppState& state, int i,
                    const RunningTotals& totals) {
    fillDiveValues(out, state, i, totals);
}

DiveValues makeDiveValues(const store::AppState& state, int i, const RunningTotals& totals) {
    DiveValues out;
    makeDiveValues(out, state, i, totals);
    return out;
}

qsizetype diverTextSize(const store::AppState& state, const std::vector<int>& dives,
                        bool withComments) {
    qsizetype size = 0;
    for (int i : dives) {
        if (i < 1 || i > state.DiveCount()) continue;
        const store::DiveRecord& d = state.Dives[static_cast<size_t>(i)];
        for (int which = 0; which < 4; ++which) {
            const store::RefList& list = state.list(which);
            const int k = d.ListData[static_cast<size_t>(which)];
            if (k >= 0 && k < static_cast<int>(list.size()))
                size += list[static_cast<size_t>(k)].Name.size();
        }
        if (withComments) size += d.Comments.size();
    }
    return size;
}

void forEachDiveValues(const store::AppState& state, const std::vector<int>& dives,
                       const std::function<void(const DiveValues&)>& perDive) {
    walkDives<DiveValues>(state, dives, perDive);
}

void forEachDiveValues(const store::AppState& state, const std::vector<int>& dives,
                       const std::function<void(const DiveFigures&)>& perDive) {
    walkDives<DiveFigures>(state, dives, perDive);
}

} // namespace output
