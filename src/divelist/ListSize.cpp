#include "ListSize.h"

#include <algorithm>

namespace divelist {

QSize sizeBesideMainWindow(const QRect& screen, const QRect& main, const QSize& wanted,
                           int minWidth) {
    const int room = std::max(screen.right() - main.right(), main.left() - screen.left());
    int width = wanted.width();
    if (room < width && room >= minWidth) width = room;
    return QSize(std::min(width, screen.width()), std::min(wanted.height(), screen.height()));
}

} // namespace divelist
