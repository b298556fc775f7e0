#include "DiveValues.h"

#include "store/ListOps.h"

#include <algorithm>

namespace output {

namespace {

enum class Sign { SpaceOrMinus, MinusOnly };

// Appends the decimal form of v: an optional sign, then at least minDigits digits.
void appendNumber(QString& s, long long v, Sign sign, int minDigits) {
    char16_t digits[24];
    int n = 0;
    // Work on the magnitude as unsigned so the most negative value has no overflow.
    unsigned long long m = v < 0 ? 0ULL - static_cast<unsigned long long>(v)
                                 : static_cast<unsigned long long>(v);
    do {
        digits[n++] = static_cast<char16_t>(u'0' + m % 10);
        m /= 10;
    } while (m != 0);
    while (n < minDigits)
        digits[n++] = u'0';
    if (v < 0)
        s += QLatin1Char('-');
    else if (sign == Sign::SpaceOrMinus)
        s += QLatin1Char(' ');
    while (n > 0)
        s += QChar(digits[--n]);
}

// label followed by the number text of v, in one allocation.
QString labelled(QLatin1StringView label, long long v) {
    QString s;
    s.reserve(label.size() + 22);
    s += label;
    appendNumber(s, v, Sign::SpaceOrMinus, 1);
    return s;
}

// label, plain number of a, separator, then b either plain or as a two-digit number.
QString pair(QLatin1StringView label, long long a, QLatin1Char separator, long long b,
             int bDigits) {
    QString s;
    s.reserve(label.size() + 44);
    s += label;
    appendNumber(s, a, Sign::MinusOnly, 1);
    s += separator;
    appendNumber(s, b, Sign::MinusOnly, bDigits);
    return s;
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

DiveValues makeDiveValues(const AppState& state, int i, const RunningTotals& totals) {
    const DiveRecord& d = state.Dives[static_cast<size_t>(i)];
    const auto& t = d.TimeData;
    const auto& v = d.DiveData;
    const LogTotals sums = totals.upTo(i);

    DiveValues out;
    out.LocationName = lists::entryName(state, field::Location, d.ListData[field::Location]);
    out.TypeName = lists::entryName(state, field::Type, d.ListData[field::Type]);
    out.BuddyName = lists::entryName(state, field::Buddy, d.ListData[field::Buddy]);
    out.GearName = lists::entryName(state, field::Gear, d.ListData[field::Gear]);

    // The shown number is computed wide: a large offset plus a late index passes 32767.
    out.DiveNoText = labelled(QLatin1StringView("Dive:"), static_cast<long long>(state.DiveOffset) + i);
    out.BottomTimeText = labelled(QLatin1StringView("Bottom Time:"), v[field::BottomTime]);

    QString date;
    date.reserve(5 + 3 * 7);
    date += QLatin1StringView("Date:");
    appendNumber(date, t[field::Month], Sign::MinusOnly, 1);
    date += QLatin1Char('/');
    appendNumber(date, t[field::Day], Sign::MinusOnly, 1);
    date += QLatin1Char('/');
    appendNumber(date, t[field::Year], Sign::MinusOnly, 1);
    out.DateText = std::move(date);

    out.WeightText = labelled(QLatin1StringView("Wt.:"), v[field::Weight]);
    out.PsiInText = labelled(QLatin1StringView("PSI In:"), v[field::PsiIn]);
    out.PsiOutText = labelled(QLatin1StringView("PSI Out:"), v[field::PsiOut]);
    out.TimeInText = pair(QLatin1StringView("Time In:"), t[field::EntryHour], QLatin1Char(':'),
                          t[field::EntryMinute], 2);
    out.TimeOutText = pair(QLatin1StringView("Time Out:"), t[field::ExitHour], QLatin1Char(':'),
                           t[field::ExitMinute], 2);
    out.AirTempText = labelled(QLatin1StringView("Temp - Air:"), v[field::AirTemp]);
    out.SurfaceTempText = labelled(QLatin1StringView(", Surface:"), v[field::SurfaceTemp]);
    out.BottomTempText = labelled(QLatin1StringView(", Bottom:"), v[field::BottomTemp]);
    out.MaxDepthText = labelled(QLatin1StringView("Max. Depth:"), v[field::MaxDepth]);
    out.VisibilityText = labelled(QLatin1StringView("Visibility:"), v[field::Visibility]);
    out.TankSizeText = labelled(QLatin1StringView("Tank Sz.:"), v[field::TankSize]);
    out.TotalTimeText = labelled(QLatin1StringView("Total Time:"), sums.minutes);
    // Averages drop the fraction (integer division truncates).
    out.AvgTimeText = labelled(QLatin1StringView("Avg. Time:"), sums.avgTime());
    out.AvgDepthText = labelled(QLatin1StringView("Avg. Depth:"), sums.avgDepth());

    for (size_t c = 0; c < ConditionOrder.size(); ++c)
        out.conditionSet[c] = d.CondData[static_cast<size_t>(ConditionOrder[c].flag)] != 0;
    out.Rating = d.Rating;
    out.Comments = d.Comments;
    return out;
}

} // namespace output
