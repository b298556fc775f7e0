#include "Totals.h"

#include <algorithm>

namespace store {

LogTotals totalsUpTo(const AppState& state, int last) {
    LogTotals t;
    last = std::min(last, state.DiveCount());
    for (int i = 1; i <= last; ++i) {
        const DiveRecord& d = state.Dives[static_cast<size_t>(i)];
        t.minutes += d.DiveData[field::BottomTime];
        t.depth += d.DiveData[field::MaxDepth];
    }
    t.dives = std::max(last, 0);
    return t;
}

QString timeToDateText(long long minutes) {
    // Integer division truncates towards zero; a negative sum (negative bottom times typed in)
    // still shows its sign once, in the hours.
    const long long hours = minutes / 60;
    long long rest = minutes % 60;
    QString text = QString::number(hours) + QLatin1Char(':');
    if (minutes < 0) {
        rest = -rest;
        if (hours == 0)
            text = QStringLiteral("-0:");
    }
    if (rest < 10)
        text += QLatin1Char('0');
    return text + QString::number(rest);
}

} // namespace store
