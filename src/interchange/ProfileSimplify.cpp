#include "ProfileSimplify.h"

#include <algorithm>
#include <cmath>
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

ProfileRecord profileFromSamples(const std::vector<Sample>& samples, Units units,
                                 int bottomTime, int maxDepth) {
    ProfileRecord p;
    if (samples.empty()) return p;
    const std::vector<size_t> kept = simplifyProfile(samples, ProfileRecord::PointSlots - 1);
    size_t deepestAt = 0;
    for (size_t k = 0; k < samples.size(); ++k)
        if (samples[k].depth > samples[deepestAt].depth) deepestAt = k;
    const size_t lastAt = samples.size() - 1;

    auto depthOf = [&](size_t k) {
        const double d = std::round(fromSi(Quantity::Depth, units, samples[k].depth));
        return static_cast<int16_t>(std::clamp(d, 0.0, static_cast<double>(maxDepth)));
    };
    int count = 0;     // points after the start
    size_t chosen = 0; // the sample behind the newest point
    p.Depths[0] = depthOf(kept.front());
    for (size_t k : kept) {
        const double m = std::round(samples[k].seconds / 60.0);
        const int minute = static_cast<int>(std::clamp(m, 0.0, static_cast<double>(bottomTime)));
        if (minute == 0) continue; // the start point stands for the first minute
        if (count > 0 && p.Times[static_cast<size_t>(count)] == minute) {
            // Same minute: the deepest of the dive wins, then its last sample, then depth.
            const bool better = chosen != deepestAt &&
                                (k == deepestAt || (chosen != lastAt && k == lastAt) ||
                                 (chosen != lastAt && samples[k].depth > samples[chosen].depth));
            if (better) {
                p.Depths[static_cast<size_t>(count)] = depthOf(k);
                chosen = k;
            }
            continue;
        }
        if (count == ProfileRecord::PointSlots - 1) break;
        ++count;
        p.Times[static_cast<size_t>(count)] = static_cast<int16_t>(minute);
        p.Depths[static_cast<size_t>(count)] = depthOf(k);
        chosen = k;
    }
    return p;
}

} // namespace interchange
