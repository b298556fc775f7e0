#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace ui {

// Where windows come up. The rules are plain functions of rectangles (screen area, window
// frames), so they can be checked without a screen; the widget helpers below feed them.
// Every rectangle here is a frame: the window with its title bar and border.

// A frame of this size centred in the screen's free area; a frame larger than the area keeps
// its top-left corner (and so its title bar) on the screen.
QPoint centredPlace(const QRect& screen, const QSize& frame);

// A side window beside the main window, top edges level: left of it when it fits on the
// screen, else right of it, else against the screen's left or right edge, level with the main
// window or at the screen's foot, wherever it hides least of `controls` (the main window's
// controls, in screen coordinates) and then of the main window itself. Always within the
// screen as far as the frame's size allows.
QPoint besidePlace(const QRect& screen, const QRect& main, const QSize& frame,
                   const std::vector<QRect>& controls = {});

// The frame a window will have once shown. Before its first showing a window has no frame
// yet; it gets the border the window manager gives the windows already on the screen.
QSize expectedFrameSize(const QWidget* window);

// Centres the window's frame on its screen. A window not framed yet is centred again, once,
// when the window manager has framed it, should its frame differ from the expected one.
void centreOnScreen(QWidget* window);

// Puts `window` beside `main` (see besidePlace), clear of main's labels and entry controls.
void placeBeside(QWidget* window, const QWidget* main);

} // namespace ui
