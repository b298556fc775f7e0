#pragma once

#include "store/AppState.h"

#include <QLine>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace profile {

// The profile of one dive while it is being drawn: its points, the scales that turn pointer
// positions into minutes and depths, and what a press does to the points. The profile window
// feeds it pointer positions in its drawing units and draws what it holds.
class ProfileEditor {
  public:
    static constexpr int MaxPoints = store::ProfileRecord::PointSlots - 1; // after the start point
    static constexpr int NoteBoxes = 5;
    // Drawing units are 16-bit: no area is wider or taller than this.
    static constexpr int MaxUnits = 32767;

    struct Point {
        int16_t time = 0;
        int16_t depth = 0;
    };
    enum class Press { Appended, MovedLast, Inserted, Moved, Full, Ignored };
    // The depth of the start point is set by a press at minute 0, like any other point's.
    static constexpr int StartPoint = 0;

    ProfileEditor(int bottomTime, int maxDepth);

    // The smallest area, in drawing units, that gives every minute and every depth unit at
    // least one unit; wider or taller than MaxUnits when no area can.
    int neededWidth() const { return TimeSpan; }
    int neededHeight() const { return MaxDepthValue; }
    bool drawable() const;

    // The scales for an area of this size in drawing units.
    void setArea(int width, int height);
    int16_t timeScale() const { return TimeScale; }
    int16_t depthScale() const { return DepthScale; }
    // A position in the area, in drawing units from its top-left corner. Positions past the
    // dive's last minute or deepest depth (the area's remainder) or before its start give the
    // nearest edge, the same edge the keyboard stops at.
    Point pointAt(int x, int y) const;
    // Where a minute and depth lie in the area.
    QPoint position(int time, int depth) const;

    // A mouse press at this point: append, move the last point, insert between two points or
    // move the point already at this minute (at minute 0, the start point). No two points
    // ever share a minute.
    Press press(int16_t time, int16_t depth);
    // Takes out the point at this minute; false when no point after the start lies there.
    bool remove(int16_t time);
    // Appends a point after the last one; false when the profile already holds MaxPoints.
    bool AddPoint(int16_t time, int16_t depth);
    void Clear();

    // Takes the points of a stored profile, the start depth with them. Points stored at
    // minute 0 right after the start (earlier versions inserted a press at minute 0 there)
    // give the start its depth, the last of them winning; the points after them load whole.
    void Load(const store::ProfileRecord& record);
    // Adds the profile as a new record of state.Profiles and links the shown dive to it.
    // False, with nothing changed, when the profile numbers are used up.
    bool Store(store::AppState& state, const std::array<QString, NoteBoxes>& notes) const;
    // Whether the profile file can hold one more profile; and the points and notes as a
    // record to store.
    bool storable(const store::AppState& state) const;
    store::ProfileRecord record(const std::array<QString, NoteBoxes>& notes) const;

    // Whether a point after the start lies at this minute (the read-outs show it).
    bool atPoint(int time) const;

    // The drawing: a line to every point, and a dot on it, in drawing units.
    std::vector<QLine> lines() const;
    std::vector<QPoint> dots() const;

    int pointCount() const { return PointCount; }
    int lastTime() const { return LastTime; }
    Point point(int i) const;
    int bottomTime() const { return TimeSpan - 1; }
    int maxDepth() const { return MaxDepthValue; }

  private:
    void insertAt(int p, int16_t time, int16_t depth);

    int MaxDepthValue;
    int TimeSpan;
    int16_t DepthScale = 0;
    int16_t TimeScale = 0;
    // Always room for every point a profile may hold, whatever the dive's bottom time, so no
    // press can reach past the end.
    std::array<int16_t, store::ProfileRecord::PointSlots> PointTimes{};
    std::array<int16_t, store::ProfileRecord::PointSlots> PointDepths{};
    int PointCount = 0;
    int16_t LastTime = 0;
};

// How many points follow the start point of a stored profile as written: the first later
// point at minute 0 ends it (ProfileEditor::Load also reads past repeated minute-0 points).
int storedPointCount(const store::ProfileRecord& record);

// Tick spacing for an axis: the smallest of 1, 2, 5, 10, 20, 50, ... whose ticks lie at
// least `minGap` drawing units apart when one step is `unitsPerStep` units.
int tickStep(int unitsPerStep, int minGap);

// The stored profile the shown dive refers to, or nullptr when it has none or the profile
// file does not hold it.
const store::ProfileRecord* linkedProfile(const store::AppState& state);

} // namespace profile
