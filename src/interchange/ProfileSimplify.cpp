#include "ProfileSimplify.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace interchange {

namespace {

struct Span {
    size_t from, to; // kept samples; the ones between are candidates
    size_t worst;    // the candidate farthest from the line from..to
    double error;
    bool operator<(const Span& o) const { return error < o.error; }
};

} // namespace

std::vector<size_t> simplifyProfile(const std::vector<Sample>& samples, size_t most) {
    const size_t n = samples.size();
    if (n <= most || n <= 2) {
        std::vector<size_t> all(n);
        for (size_t k = 0; k < n; ++k)
            all[k] = k;
        return all;
    }
    double deepest = 0, length = samples.back().seconds - samples.front().seconds;
    size_t deepestAt = 0;
    for (size_t k = 0; k < n; ++k)
        if (samples[k].depth > deepest) {
            deepest = samples[k].depth;
            deepestAt = k;
        }
    const double tScale = length > 0 ? 1.0 / length : 1.0;
    const double dScale = deepest > 0 ? 1.0 / deepest : 1.0;

    auto span = [&](size_t from, size_t to) {
        Span s{from, to, from, -1.0};
        const double x0 = samples[from].seconds * tScale, y0 = samples[from].depth * dScale;
        const double dx = samples[to].seconds * tScale - x0, dy = samples[to].depth * dScale - y0;
        const double len = std::hypot(dx, dy);
        for (size_t k = from + 1; k < to; ++k) {
            const double px = samples[k].seconds * tScale - x0, py = samples[k].depth * dScale - y0;
            const double e = len > 0 ? std::abs(px * dy - py * dx) / len : std::hypot(px, py);
            if (e > s.error) {
                s.error = e;
                s.worst = k;
            }
        }
        return s;
    };

    std::vector<size_t> kept = {0, n - 1};
    if (deepestAt != 0 && deepestAt != n - 1) kept.push_back(deepestAt);
    std::sort(kept.begin(), kept.end());
    std::priority_queue<Span> open;
    for (size_t k = 0; k + 1 < kept.size(); ++k)
        if (kept[k + 1] > kept[k] + 1) open.push(span(kept[k], kept[k + 1]));
    while (kept.size() < most && !open.empty()) {
        const Span s = open.top();
        open.pop();
        if (s.error <= 0) break; // everything left lies on the lines already drawn
        kept.push_back(s.worst);
        if (s.worst > s.from + 1) open.push(span(s.from, s.worst));
        if (s.to > s.worst + 1) open.push(span(s.worst, s.to));
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

store::ProfileRecord profileFromSamples(const std::vector<Sample>& samples, Units units,
                                        int bottomTime, int maxDepth) {
    store::ProfileRecord p;
    if (samples.empty() || bottomTime <= 0) return p;
    size_t deepestAt = 0;
    for (size_t k = 0; k < samples.size(); ++k)
        if (samples[k].depth > samples[deepestAt].depth) deepestAt = k;
    const size_t lastAt = samples.size() - 1;

    // First one sample a minute, as the log keeps minutes: the deepest of the dive if it falls
    // into that minute, else the dive's last sample, else the minute's deepest.
    std::vector<Sample> minutes; // seconds hold the whole minute
    std::vector<size_t> chosen;  // the sample behind each
    for (size_t k = 0; k < samples.size(); ++k) {
        const double m =
            std::clamp(std::round(samples[k].seconds / 60.0), 0.0, static_cast<double>(bottomTime));
        if (minutes.empty() || minutes.back().seconds != m) {
            if (minutes.empty() && m > 0) { // the dive starts at the surface at minute 0
                minutes.push_back({0, samples[k].depth});
                chosen.push_back(k);
            }
            minutes.push_back({m, samples[k].depth});
            chosen.push_back(k);
            continue;
        }
        const size_t was = chosen.back();
        const bool better =
            was != deepestAt && (k == deepestAt || (was != lastAt && k == lastAt) ||
                                 (was != lastAt && samples[k].depth > samples[was].depth));
        if (better) {
            minutes.back().depth = samples[k].depth;
            chosen.back() = k;
        }
    }
    // Then the shape: the start point and at most 150 more.
    const std::vector<size_t> kept = simplifyProfile(minutes, store::ProfileRecord::PointSlots);
    auto depthOf = [&](const Sample& s) {
        const double d = std::round(fromSi(Quantity::Depth, units, s.depth));
        return static_cast<int16_t>(std::clamp(d, 0.0, static_cast<double>(maxDepth)));
    };
    size_t slot = 0;
    for (size_t k : kept) {
        p.Times[slot] = static_cast<int16_t>(minutes[k].seconds);
        p.Depths[slot] = depthOf(minutes[k]);
        ++slot;
    }
    return p;
}

} // namespace interchange
