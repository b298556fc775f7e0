#include "DiveValues.h"

#include "store/ListOps.h"

#include <algorithm>

namespace output {

namespace {

enum class Sign { SpaceOrMinus, MinusOnly };

// Appends the decimal form of v: an optional sign, then at least minDigits digits.
void appendNumber(QString& s, long long v, Sign sign, int minDigits) {
    char16_t text[24];
    char16_t* end = text + 24;
    char16_t* p = end;
    // Work on the magnitude as unsigned so the most negative value has no overflow.
    unsigned long long m =
        v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        *--p = static_cast<char16_t>(u'0' + m % 10);
        m /= 10;
    } while (m != 0);
    while (end - p < minDigits)
        *--p = u'0';
    if (v < 0)
        *--p = u'-';
    else if (sign == Sign::SpaceOrMinus)
        *--p = u' ';
    s.append(reinterpret_cast<const QChar*>(p), end - p);
}

// The value texts are refilled dive after dive; emptying a string this way keeps its
// buffer, so an export of many dives does not allocate for every value.
void restart(QString& s, QLatin1StringView label) {
    s.resize(0);
    s.append(label);
}

// label followed by the number text of v.
void labelled(QString& s, QLatin1StringView label, long long v) {
    restart(s, label);
    appendNumber(s, v, Sign::SpaceOrMinus, 1);
}

// label, plain number of a, ":", then b as a two-digit number.
void clockTime(QString& s, QLatin1StringView label, long long a, long long b) {
    restart(s, label);
    appendNumber(s, a, Sign::MinusOnly, 1);
    s.append(QLatin1Char(':'));
    appendNumber(s, b, Sign::MinusOnly, 2);
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

const std::array<Condition, 8> ConditionOrder = {{{"Freshwater", 0},
                                                  {"Saltwater", 1},
                                                  {"Boat", 2},
                                                  {"Shore", 3},
                                                  {"Waves", 4},
                                                  {"Current", 5},
                                                  {"Surge", 7},
                                                  {"Surf", 6}}};

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

RunningTotals::RunningTotals(const AppState& state) {
    const size_t count = static_cast<size_t>(std::max(state.DiveCount(), 0));
    minutes_.resize(count + 1);
    depth_.resize(count + 1);
    for (size_t i = 1; i <= count; ++i) {
        const DiveRecord& d = state.Dives[i];
        minutes_[i] = minutes_[i - 1] + d.DiveData[field::BottomTime];
        depth_[i] = depth_[i - 1] + d.DiveData[field::MaxDepth];
    }
}

LogTotals RunningTotals::upTo(int i) const {
    LogTotals t;
    const int last = static_cast<int>(minutes_.size()) - 1;
    i = std::clamp(i, 0, last);
    t.minutes = minutes_[static_cast<size_t>(i)];
    t.depth = depth_[static_cast<size_t>(i)];
    t.dives = i;
    return t;
}

void makeDiveValues(DiveValues& out, const AppState& state, int i, const RunningTotals& totals) {
    const DiveRecord& d = state.Dives[static_cast<size_t>(i)];
    const auto& t = d.TimeData;
    const auto& v = d.DiveData;
    const LogTotals sums = totals.upTo(i);

    out.LocationName = lists::entryName(state, field::Location, d.ListData[field::Location]);
    out.TypeName = lists::entryName(state, field::Type, d.ListData[field::Type]);
    out.BuddyName = lists::entryName(state, field::Buddy, d.ListData[field::Buddy]);
    out.GearName = lists::entryName(state, field::Gear, d.ListData[field::Gear]);

    // The shown number is computed wide: a large offset plus a late index passes 32767.
    labelled(out.DiveNoText, QLatin1StringView("Dive:"),
             static_cast<long long>(state.DiveOffset) + i);
    labelled(out.BottomTimeText, QLatin1StringView("Bottom Time:"), v[field::BottomTime]);

    restart(out.DateText, QLatin1StringView("Date:"));
    appendNumber(out.DateText, t[field::Month], Sign::MinusOnly, 1);
    out.DateText.append(QLatin1Char('/'));
    appendNumber(out.DateText, t[field::Day], Sign::MinusOnly, 1);
    out.DateText.append(QLatin1Char('/'));
    appendNumber(out.DateText, t[field::Year], Sign::MinusOnly, 1);

    labelled(out.WeightText, QLatin1StringView("Wt.:"), v[field::Weight]);
    labelled(out.PsiInText, QLatin1StringView("PSI In:"), v[field::PsiIn]);
    labelled(out.PsiOutText, QLatin1StringView("PSI Out:"), v[field::PsiOut]);
    clockTime(out.TimeInText, QLatin1StringView("Time In:"), t[field::EntryHour],
              t[field::EntryMinute]);
    clockTime(out.TimeOutText, QLatin1StringView("Time Out:"), t[field::ExitHour],
              t[field::ExitMinute]);
    labelled(out.AirTempText, QLatin1StringView("Temp - Air:"), v[field::AirTemp]);
    labelled(out.SurfaceTempText, QLatin1StringView(", Surface:"), v[field::SurfaceTemp]);
    labelled(out.BottomTempText, QLatin1StringView(", Bottom:"), v[field::BottomTemp]);
    labelled(out.MaxDepthText, QLatin1StringView("Max. Depth:"), v[field::MaxDepth]);
    labelled(out.VisibilityText, QLatin1StringView("Visibility:"), v[field::Visibility]);
    labelled(out.TankSizeText, QLatin1StringView("Tank Sz.:"), v[field::TankSize]);
    labelled(out.TotalTimeText, QLatin1StringView("Total Time:"), sums.minutes);
    // Averages drop the fraction (integer division truncates).
    labelled(out.AvgTimeText, QLatin1StringView("Avg. Time:"), sums.avgTime());
    labelled(out.AvgDepthText, QLatin1StringView("Avg. Depth:"), sums.avgDepth());

    for (size_t c = 0; c < ConditionOrder.size(); ++c)
        out.conditionSet[c] = d.CondData[static_cast<size_t>(ConditionOrder[c].flag)] != 0;
    out.Rating = d.Rating;
    out.Comments = d.Comments;
}

DiveValues makeDiveValues(const AppState& state, int i, const RunningTotals& totals) {
    DiveValues out;
    makeDiveValues(out, state, i, totals);
    return out;
}

qsizetype diverTextSize(const AppState& state, const std::vector<int>& dives, bool withComments) {
    qsizetype size = 0;
    for (int i : dives) {
        if (i < 1 || i > state.DiveCount()) continue;
        const DiveRecord& d = state.Dives[static_cast<size_t>(i)];
        for (int which = 0; which < 4; ++which) {
            const RefList& list = state.list(which);
            const int k = d.ListData[static_cast<size_t>(which)];
            if (k >= 0 && k < static_cast<int>(list.size()))
                size += list[static_cast<size_t>(k)].Name.size();
        }
        if (withComments) size += d.Comments.size();
    }
    return size;
}

void forEachDiveValues(const AppState& state, const std::vector<int>& dives,
                       const std::function<void(const DiveValues&)>& perDive) {
    const RunningTotals totals(state);
    DiveValues values;
    for (int i : dives) {
        if (i < 1 || i > state.DiveCount()) continue;
        makeDiveValues(values, state, i, totals);
        perDive(values);
    }
}

} // namespace output
