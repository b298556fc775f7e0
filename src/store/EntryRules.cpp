#include "EntryRules.h"

#include "Numbers.h"

#include <QRegularExpression>

#include <algorithm>

namespace store {

namespace entry {

namespace {
bool beyondLimit(double v) {
    return v > NumberLimit || v < -NumberLimit;
}
} // namespace

int checkDiveNumber(const QString& text, int shown, int offset, int diveCount) {
    const double typed = numbers::leadingValue(text);
    if (beyondLimit(typed)) return shown;
    // The offset is a whole number, so rounding before or after taking it off is the same.
    const long long n = static_cast<long long>(numbers::roundHalfEven(typed)) - offset;
    if (n <= 0 || n > diveCount) return shown;
    return static_cast<int>(n);
}

QString timeFieldText(int element, int16_t value) {
    const bool padded =
        element == field::Year || element == field::EntryMinute || element == field::ExitMinute;
    QString text = QString::number(value);
    if (padded && value < 10) text.prepend(QLatin1Char('0'));
    return text;
}

TimeFieldOutcome checkTimeField(int element, const QString& text, int16_t previous) {
    QString t = text;
    if (t.isEmpty() || t.size() > 4) t = QString::number(previous);
    int v = numbers::roundedValue(t);
    bool ok = false;
    switch (element) {
    case field::Month:
        ok = v >= 1 && v <= 12;
        break;
    case field::Day:
        ok = v >= 1 && v <= 31;
        break;
    case field::Year:
        v = static_cast<int>(fourDigitYear(v));
        ok = v >= 1900 && v <= 2100;
        break;
    case field::EntryHour:
    case field::ExitHour:
        ok = v <= 24;
        break;
    case field::EntryMinute:
    case field::ExitMinute:
        ok = v <= 60;
        break;
    default:
        break;
    }
    TimeFieldOutcome out;
    if (!ok) return out;
    out.store = true;
    out.value = numbers::toInt16(v);
    out.text = timeFieldText(element, out.value);
    return out;
}

NumberFieldOutcome checkNumberField(const QString& text, int16_t previous) {
    NumberFieldOutcome out;
    if (beyondLimit(numbers::leadingValue(text))) {
        out.replace = true;
        out.text = QString::number(previous);
        return out;
    }
    out.value = numbers::toInt16(numbers::roundedValue(text));
    return out;
}

VisibilityOutcome syncVisibility(const QString& text) {
    const int v = numbers::roundedValue(text);
    VisibilityOutcome out;
    if (v > MaxVisibility || v <= 0) {
        out.clearBox = true;
        return out;
    }
    out.position = v;
    return out;
}

bool profileWarningNeeded(const QString& bottomTimeText, const QString& depthText,
                          int savedBottomTime, int savedDepth, int profileNum) {
    // Only the focused box's value was remembered, so an unchanged box stops here, and so
    // does an other box that is 0 (a dive with a profile has both values). The values are
    // compared as typed: 30.4 over a remembered 30 is a change the diver made, and is asked
    // about, though the record would keep 30.
    if (numbers::leadingValue(bottomTimeText) == savedBottomTime) return false;
    if (numbers::leadingValue(depthText) == savedDepth) return false;
    return profileNum > 0;
}

int listPositionFor(int selected, const QStringList& names, const QString& text) {
    int t = selected;
    for (int p = 0; p < names.size(); ++p)
        if (names[p] == text) t = p;
    return t;
}

double fourDigitYear(double year) {
    if (year < 50) return year + 2000;
    if (year < 100) return year + 1900;
    return year;
}

bool profileRefused(const DiveRecord& dive) {
    // A negative value (typed, or from another program) gives no scale to draw with either.
    return dive.DiveData[field::BottomTime] <= 0 || dive.DiveData[field::MaxDepth] <= 0;
}

std::vector<QLine> thumbnailLines(const ProfileRecord& profile, int bottomTime, int maxDepth,
                                  int width, int height) {
    std::vector<QLine> lines;
    // Negative values come only from hand-edited files; they would divide by zero or draw
    // outside the picture.
    if (bottomTime <= 0 || maxDepth <= 0 || width <= 0 || height <= 0) return lines;
    // Minutes 0..bottomTime take bottomTime + 1 columns, as in the profile window; the
    // scale W / bottomTime + 1 would push the end of every dive off the right edge.
    const int xScale = width / (bottomTime + 1);
    const int yScale = height / maxDepth;
    const int last = std::min(bottomTime, ProfileRecord::PointSlots - 1);
    for (int i = 1; i <= last; ++i) {
        const auto at = static_cast<size_t>(i);
        if (profile.Times[at] == 0) return lines; // the profile ends early: no surface line
        lines.emplace_back(profile.Times[at - 1] * xScale, profile.Depths[at - 1] * yScale,
                           profile.Times[at] * xScale, profile.Depths[at] * yScale);
    }
    lines.emplace_back(0, 0, width, 0);
    return lines;
}

void clearDive(DiveRecord& dive) {
    for (const int i : {field::Month, field::Day, field::Year})
        dive.TimeData[static_cast<size_t>(i)] = 0;
    dive.DiveData = {};
    dive.ListData = {};
    dive.Comments.clear();
    dive.CondData = {};
    dive.Rating = 1;
}

namespace {
// Every kind of line break the box or a file may hold, longest first.
QString breaksTo(QString text, const QString& lineBreak) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n|\x2028|\x2029"));
    return text.replace(breaks, lineBreak);
}
} // namespace

QString commentForBox(const QString& stored) {
    return breaksTo(stored, QStringLiteral("\n"));
}

QString commentFromBox(const QString& boxText) {
    return breaksTo(boxText, QStringLiteral("\r\n"));
}

} // namespace entry

} // namespace store
