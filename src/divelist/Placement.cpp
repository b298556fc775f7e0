#include "Placement.h"

#include <algorithm>

namespace divelist {

QRect besideMainWindow(const QRect& screen, const QRect& main, const QSize& frame, int minWidth) {
    const int roomRight = screen.right() - main.right();
    const int roomLeft = main.left() - screen.left();
    const int height = std::min(frame.height(), screen.height());
    const int top = std::clamp(main.top(), screen.top(), screen.bottom() + 1 - height);
    int width = frame.width();
    int left;
    if (roomRight >= width) {
        left = main.right() + 1;
    } else if (roomLeft >= width) {
        left = main.left() - width;
    } else if (std::max(roomRight, roomLeft) >= minWidth) {
        width = std::max(roomRight, roomLeft);
        left = roomRight >= roomLeft ? main.right() + 1 : screen.left();
    } else {
        width = std::min(width, screen.width());
        left = roomRight >= roomLeft ? screen.right() + 1 - width : screen.left();
    }
    return QRect(left, top, width, height);
}

} // namespace divelist
