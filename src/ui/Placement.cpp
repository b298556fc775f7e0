#include "Placement.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

int clampInto(int start, int length, int areaStart, int areaLength) {
    // Too long for the area: the start (title bar, left edge) stays on it.
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

long long overlap(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

QRect screenArea(const QWidget* w) {
    const QScreen* s = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

// Once the window manager has framed a window that was centred before it was shown, centre
// it again should the frame have turned out different from the one expected.
class FramedCentring : public QObject {
  public:
    FramedCentring(QWidget* window, QSize expected) : QObject(window), w(window), frame(expected) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != w || !w->isVisible()) return false;
        if (event->type() != QEvent::Move && event->type() != QEvent::Show &&
            event->type() != QEvent::Resize)
            return false;
        const QSize now = w->frameGeometry().size();
        if (now == w->size()) return false; // not framed yet (or never: no window manager)
        if (now != frame) w->move(centredPlace(screenArea(w), now));
        deleteLater();
        w->removeEventFilter(this);
        return false;
    }

  private:
    QWidget* w;
    QSize frame;
};

} // namespace

QPoint centredPlace(const QRect& screen, const QSize& frame) {
    return {clampInto(screen.left() + (screen.width() - frame.width()) / 2, frame.width(),
                      screen.left(), screen.width()),
            clampInto(screen.top() + (screen.height() - frame.height()) / 2, frame.height(),
                      screen.top(), screen.height())};
}

QPoint besidePlace(const QRect& screen, const QRect& main, const QSize& frame,
                   const std::vector<QRect>& controls) {
    const int top = clampInto(main.top(), frame.height(), screen.top(), screen.height());
    if (main.left() - frame.width() >= screen.left()) return {main.left() - frame.width(), top};
    if (main.right() + 1 + frame.width() <= screen.right() + 1) return {main.right() + 1, top};
    const QPoint left(screen.left(), top);
    const QPoint right(clampInto(screen.right() + 1 - frame.width(), frame.width(), screen.left(),
                                 screen.width()),
                       top);
    const auto cost = [&](QPoint at) {
        const QRect r(at, frame);
        long long covered = 0;
        for (const QRect& c : controls)
            covered += overlap(r, c);
        return std::pair(covered, overlap(r, main));
    };
    return cost(right) < cost(left) ? right : left;
}

QSize expectedFrameSize(const QWidget* window) {
    if (window->isVisible() && window->frameGeometry().size() != window->size())
        return window->frameGeometry().size();
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible()) continue;
        const QSize border = other->frameGeometry().size() - other->size();
        if (border != QSize(0, 0) && border.width() >= 0 && border.height() >= 0)
            return window->size() + border;
    }
    return window->size();
}

void centreOnScreen(QWidget* window) {
    const QSize frame = expectedFrameSize(window);
    window->move(centredPlace(screenArea(window), frame));
    // Not framed yet: shown just now, or about to be.
    if (window->frameGeometry().size() == window->size()) new FramedCentring(window, frame);
}

void placeBeside(QWidget* window, const QWidget* main) {
    // The window goes where the main window's frame does not; its own frame will be like it.
    const QSize border = main->frameGeometry().size() - main->size();
    const QSize frame = window->size() + border.expandedTo(QSize(0, 0));
    std::vector<QRect> controls;
    for (const QWidget* c : main->findChildren<QWidget*>()) {
        if (!c->isVisible()) continue;
        const bool control = qobject_cast<const QLabel*>(c) || qobject_cast<const QLineEdit*>(c) ||
                             qobject_cast<const QAbstractButton*>(c) ||
                             qobject_cast<const QComboBox*>(c) ||
                             qobject_cast<const QAbstractSlider*>(c) ||
                             qobject_cast<const QTextEdit*>(c) ||
                             qobject_cast<const QAbstractItemView*>(c);
        if (control) controls.emplace_back(c->mapToGlobal(QPoint(0, 0)), c->size());
    }
    window->move(besidePlace(screenArea(main), main->frameGeometry(), frame, controls));
}

} // namespace ui
