#include "DiveChoice.h"

#include <algorithm>

namespace output {

QString MakeBaseName(const QString& diverName) {
    QString base = diverName.left(8);
    for (QChar& c : base) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(static_cast<char16_t>(u + 32));
        else if (!(u >= u'a' && u <= u'z'))
            c = QLatin1Char('_');
    }
    if (base.isEmpty()) return QStringLiteral("default");
    return base;
}

int rangeFirst(const store::AppState& state) {
    return state.DiveOffset + 1;
}

int rangeLast(const store::AppState& state) {
    return state.DiveOffset + state.DiveCount();
}

int correctedRangeStart(const store::AppState& state, int start, int end) {
    if (start < rangeFirst(state) || start > end) return rangeFirst(state);
    return start;
}

int correctedRangeEnd(const store::AppState& state, int start, int end) {
    if (end > rangeLast(state) || end < start) return rangeLast(state);
    return end;
}

std::vector<int> divesFor(const store::AppState& state, DiveChoice choice, int rangeStart,
                          int rangeEnd, const std::vector<int>& selected) {
    const int count = state.DiveCount();
    auto isDive = [count](long long i) { return i >= 1 && i <= count; };
    std::vector<int> out;
    switch (choice) {
    case DiveChoice::All:
        out.reserve(static_cast<size_t>(std::max(count, 0)));
        for (int i = 1; i <= count; ++i)
            out.push_back(i);
        break;
    case DiveChoice::Range: {
        // Only the part of the range that lies in the log can yield dives; looping over the
        // rest would take as long as the numbers are large and produce nothing.
        const long long first = std::max<long long>(rangeStart, rangeFirst(state));
        const long long last = std::min<long long>(rangeEnd, rangeLast(state));
        for (long long n = first; n <= last; ++n)
            if (isDive(n - state.DiveOffset)) out.push_back(static_cast<int>(n - state.DiveOffset));
        break;
    }
    case DiveChoice::Displayed:
        if (isDive(state.CurrentDive)) out.push_back(state.CurrentDive);
        break;
    case DiveChoice::Selected:
        for (const int d : selected)
            if (isDive(d)) out.push_back(d);
        break;
    }
    return out;
}

} // namespace output
