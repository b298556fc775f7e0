#include "BulkEdit.h"

#include "store/DvlFormat.h"
#include "store/Totals.h"

#include <algorithm>

namespace divelist {

bool BulkEdit::isEmpty() const {
    auto none = [](const auto& a) {
        return std::none_of(a.begin(), a.end(), [](const auto& v) { return v.has_value(); });
    };
    return none(list) && !rating && none(conditions) && !tankSize && !weight && !comment;
}

void BulkEdit::apply(store::DiveRecord& d) const {
    for (size_t w = 0; w < 4; ++w)
        if (list[w]) d.ListData[w] = *list[w];
    if (rating) d.Rating = *rating;
    for (size_t c = 0; c < 8; ++c)
        if (conditions[c]) d.CondData[c] = *conditions[c];
    if (tankSize) d.DiveData[store::field::TankSize] = *tankSize;
    if (weight) d.DiveData[store::field::Weight] = *weight;
    if (comment) {
        QString text = *comment;
        if (appendComment && !d.Comments.isEmpty() && !text.isEmpty())
            text = d.Comments + QStringLiteral("\r\n") + text;
        else if (appendComment)
            text = d.Comments + text;
        // A counted string holds 65535 bytes; a comment that would grow past that keeps what it
        // had rather than being cut on saving.
        if (text.size() <= store::dvl::MaxStringBytes) d.Comments = text;
    }
}

QString selectionSummary(const store::AppState& state, const std::vector<int>& dives,
                         interchange::Units units) {
    long long minutes = 0, depthSum = 0;
    int depthCount = 0, maxDepth = 0;
    for (int i : dives) {
        const store::DiveRecord& d = state.Dives[static_cast<size_t>(i)];
        minutes += d.DiveData[store::field::BottomTime];
        const int depth = d.DiveData[store::field::MaxDepth];
        if (depth != 0) {
            depthSum += depth;
            ++depthCount;
            maxDepth = std::max(maxDepth, depth);
        }
    }
    const QString unit = interchange::unitLabel(interchange::Quantity::Depth, units);
    const QString dot = QStringLiteral(" \u00b7 ");
    return (dives.size() == 1 ? QStringLiteral("1 dive")
                              : QStringLiteral("%1 dives").arg(dives.size())) +
           dot + QStringLiteral("bottom time ") + store::timeToDateText(minutes) + dot +
           QStringLiteral("max depth %1 %2").arg(maxDepth).arg(unit) + dot +
           QStringLiteral("avg depth %1 %2").arg(depthCount ? depthSum / depthCount : 0).arg(unit);
}

} // namespace divelist
