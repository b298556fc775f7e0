#pragma once

#include "PrintDoc.h"

#include "store/AppState.h"

// A dive's stored profile drawn on the printed page: a box under the dive's details holding
// the time and depth axes with a few labelled ticks, the profile's line and its points, all to
// scale (the surface along the top, depth growing downwards, as in the profile window).
namespace print {

// The height of the box, in twips, whatever the profile.
inline constexpr double ProfileBoxHeight = 2400;

// The profile dive index `dive` refers to, when the log holds it and it has a point after
// the start; nullptr otherwise, and then no box is drawn.
const store::ProfileRecord* printableProfile(const store::AppState& state, int dive);

// Draws the profile into a box `width` twips wide whose top left corner is `topLeft`, on the
// document's current page. The axes run to the dive's bottom time and maximum depth, or
// further when a point lies beyond them.
void drawProfile(PrintDoc& doc, const store::ProfileRecord& profile, int bottomTime, int maxDepth,
                 QPointF topLeft, double width);

} // namespace print
