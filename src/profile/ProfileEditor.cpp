#include "ProfileEditor.h"

#include <algorithm>

namespace profile {

namespace {

// Whole part rounded down, also for positions left of or above the area.
int floorDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int16_t toInt16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

} // namespace

ProfileEditor::ProfileEditor(int bottomTime, int maxDepth)
    : MaxDepthValue(maxDepth), TimeSpan(bottomTime + 1) {}

bool ProfileEditor::drawable() const {
    return TimeSpan > 1 && MaxDepthValue > 0 && TimeSpan <= MaxUnits && MaxDepthValue <= MaxUnits;
}

void ProfileEditor::setArea(int width, int height) {
    width = std::clamp(width, 0, MaxUnits);
    height = std::clamp(height, 0, MaxUnits);
    TimeScale = TimeSpan > 0 ? toInt16(width / TimeSpan) : 0;
    DepthScale = MaxDepthValue > 0 ? toInt16(height / MaxDepthValue) : 0;
}

ProfileEditor::Point ProfileEditor::pointAt(int x, int y) const {
    // An area too small for the dive has no scale; the window never opens that small.
    if (TimeScale <= 0 || DepthScale <= 0) return {};
    return {toInt16(std::clamp(floorDiv(x, TimeScale), 0, bottomTime())),
            toInt16(std::clamp(floorDiv(y, DepthScale), 0, MaxDepthValue))};
}

QPoint ProfileEditor::position(int time, int depth) const {
    return {time * TimeScale, depth * DepthScale};
}

ProfileEditor::Press ProfileEditor::press(int16_t time, int16_t depth) {
    if (time > LastTime) return AddPoint(time, depth) ? Press::Appended : Press::Full;
    if (time == LastTime) {
        PointDepths[static_cast<size_t>(PointCount)] = depth;
        return Press::MovedLast;
    }
    if (time <= 0) {
        // Minute 0 is the start point's: a second point there would end the stored profile.
        PointDepths[StartPoint] = depth;
        return Press::Moved;
    }
    const bool full = PointCount >= MaxPoints;
    if (time < PointTimes[1]) {
        if (full) return Press::Full;
        insertAt(1, time, depth);
        return Press::Inserted;
    }
    for (int i = 1; i <= PointCount; ++i) {
        const auto at = static_cast<size_t>(i);
        const int next = i < PointCount ? PointTimes[at + 1] : 0;
        if (PointTimes[at] < time && time < next) {
            if (full) return Press::Full;
            insertAt(i + 1, time, depth);
            return Press::Inserted;
        }
        if (time == PointTimes[at]) {
            PointDepths[at] = depth;
            return Press::Moved;
        }
    }
    return Press::Ignored; // only out-of-order times from a hand-edited file get here
}

bool ProfileEditor::AddPoint(int16_t time, int16_t depth) {
    if (PointCount >= MaxPoints) return false;
    ++PointCount;
    PointTimes[static_cast<size_t>(PointCount)] = time;
    PointDepths[static_cast<size_t>(PointCount)] = depth;
    LastTime = time;
    return true;
}

bool ProfileEditor::remove(int16_t time) {
    for (int i = 1; i <= PointCount; ++i) {
        if (PointTimes[static_cast<size_t>(i)] != time) continue;
        for (int j = i; j < PointCount; ++j) {
            PointTimes[static_cast<size_t>(j)] = PointTimes[static_cast<size_t>(j + 1)];
            PointDepths[static_cast<size_t>(j)] = PointDepths[static_cast<size_t>(j + 1)];
        }
        PointTimes[static_cast<size_t>(PointCount)] = 0;
        PointDepths[static_cast<size_t>(PointCount)] = 0;
        --PointCount;
        LastTime = PointTimes[static_cast<size_t>(PointCount)];
        return true;
    }
    return false;
}

void ProfileEditor::insertAt(int p, int16_t time, int16_t depth) {
    ++PointCount;
    for (int j = PointCount; j > p; --j) {
        PointTimes[static_cast<size_t>(j)] = PointTimes[static_cast<size_t>(j - 1)];
        PointDepths[static_cast<size_t>(j)] = PointDepths[static_cast<size_t>(j - 1)];
    }
    PointTimes[static_cast<size_t>(p)] = time;
    PointDepths[static_cast<size_t>(p)] = depth;
}

void ProfileEditor::Clear() {
    PointTimes.fill(0);
    PointDepths.fill(0);
    PointCount = 0;
    LastTime = 0;
}

void ProfileEditor::Load(const store::ProfileRecord& record) {
    Clear();
    constexpr size_t last = MaxPoints;
    PointDepths[StartPoint] = record.Depths[StartPoint];
    // Repeated minute-0 points count only when a later point follows them; otherwise the
    // first of them ends an empty profile, as it always has.
    size_t from = 1;
    while (from <= last && record.Times[from] == 0)
        ++from;
    if (from > last) return;
    if (from > 1) PointDepths[StartPoint] = record.Depths[from - 1];
    for (size_t i = from; i <= last && record.Times[i] != 0; ++i)
        AddPoint(record.Times[i], record.Depths[i]);
}

bool ProfileEditor::storable(const store::AppState& state) const {
    return state.Profiles.size() <= static_cast<size_t>(store::ProfileRecord::MaxNumber);
}

store::ProfileRecord ProfileEditor::record(const std::array<QString, NoteBoxes>& notes) const {
    store::ProfileRecord record;
    for (int i = 0; i <= PointCount; ++i) {
        record.Times[static_cast<size_t>(i)] = PointTimes[static_cast<size_t>(i)];
        record.Depths[static_cast<size_t>(i)] = PointDepths[static_cast<size_t>(i)];
    }
    std::copy(notes.begin(), notes.end(), record.Notes.begin());
    return record;
}

bool ProfileEditor::Store(store::AppState& state,
                          const std::array<QString, NoteBoxes>& notes) const {
    if (!storable(state)) return false;
    const size_t k = state.Profiles.size();
    state.Profiles.push_back(record(notes));
    state.current().ProfileNum = static_cast<int16_t>(k);
    return true;
}

bool ProfileEditor::atPoint(int time) const {
    for (int i = 1; i <= PointCount; ++i)
        if (PointTimes[static_cast<size_t>(i)] == time) return true;
    return false;
}

ProfileEditor::Point ProfileEditor::point(int i) const {
    const auto at = static_cast<size_t>(std::clamp(i, 0, MaxPoints));
    return {PointTimes[at], PointDepths[at]};
}

std::vector<QLine> ProfileEditor::lines() const {
    std::vector<QLine> out;
    for (int i = 1; i <= PointCount; ++i) {
        const Point a = point(i - 1), b = point(i);
        // Each segment reaches a little past both of its points so the joins close.
        out.emplace_back(position(a.time, a.depth) - QPoint(2, 2),
                         position(b.time, b.depth) + QPoint(2, 2));
    }
    return out;
}

std::vector<QPoint> ProfileEditor::dots() const {
    std::vector<QPoint> out;
    for (int i = 1; i <= PointCount; ++i)
        out.push_back(position(point(i).time, point(i).depth));
    return out;
}

int storedPointCount(const store::ProfileRecord& record) {
    int n = 0;
    while (n < ProfileEditor::MaxPoints && record.Times[static_cast<size_t>(n + 1)] != 0)
        ++n;
    return n;
}

int tickStep(int unitsPerStep, int minGap) {
    if (unitsPerStep <= 0) return 0;
    for (int decade = 1; decade <= 10000; decade *= 10)
        for (int m : {1, 2, 5})
            if (m * decade * unitsPerStep >= minGap) return m * decade;
    return 100000;
}

const store::ProfileRecord* linkedProfile(const store::AppState& state) {
    const int p = state.current().ProfileNum;
    if (p <= 0 || p >= static_cast<int>(state.Profiles.size())) return nullptr;
    return &state.Profiles[static_cast<size_t>(p)];
}

} // namespace profile
