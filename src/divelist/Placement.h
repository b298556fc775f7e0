#pragma once

#include <QRect>
#include <QSize>

namespace divelist {

// Where the dive list's frame goes: beside the main window's frame, top edges level, on the
// side with room for it (right first, then left), so it covers none of the main window. With
// room on neither side it takes the wider side, narrowed to fit when at least `minWidth`
// remains there; only then does it overlap, at the screen's edge on that side. Always on the
// screen as far as its size allows.
QRect besideMainWindow(const QRect& screen, const QRect& main, const QSize& frame, int minWidth);

} // namespace divelist
