#pragma once

#include <QRect>
#include <QSize>

namespace divelist {

// The size of the dive list's frame before it is put beside the main window (ui::placeBeside):
// as wanted when that fits on the screen to the left or the right of the main window's frame;
// otherwise narrowed to the wider free side, so that it covers none of the main window, when
// at least `minWidth` is free there; otherwise as wanted (it has to overlap). Never taller or
// wider than the screen.
QSize sizeBesideMainWindow(const QRect& screen, const QRect& main, const QSize& wanted,
                           int minWidth);

} // namespace divelist
