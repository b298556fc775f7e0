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
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>

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

// Once the window manager has framed a window that was placed before, place it again should
// the frame have turned out other than expected: another size, or placed by its client area
// (a window moved while shown but not yet framed is placed so). `placeFor` gives the place of
// a frame of the size it has now.
class FramedCentring : public QObject {
  public:
    FramedCentring(QWidget* window, std::function<QPoint(const QSize&)> placeFor)
        : QObject(window), w(window), place(std::move(placeFor)) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != w || !w->isVisible()) return false;
        // Framing may bring a move, or nothing but the first paint; some platforms know the
        // frame only once the show is over.
        switch (event->type()) {
        case QEvent::Show:
            QTimer::singleShot(0, this, &FramedCentring::check);
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::UpdateRequest:
        case QEvent::Paint:
        case QEvent::WindowActivate:
            check();
            break;
        default:
            break;
        }
        return false;
    }

  private:
    void check() {
        if (done || !w->isVisible()) return;
        const QRect now = w->frameGeometry();
        if (now.size() == w->size()) return; // not framed yet (or never: no window manager)
        done = true;
        w->removeEventFilter(this);
        deleteLater();
        const QPoint there = place(now.size());
        if (now.topLeft() != there) w->move(there);
    }

    QWidget* w;
    const std::function<QPoint(const QSize&)> place;
    bool done = false;
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
    // Against the screen's left or right edge, level with the main window or at the screen's
    // foot; the place that hides the least of the controls (a control wholly hidden counts
    // one, half hidden a half), then of the main window, wins; on a tie the earlier one.
    const int left = screen.left();
    const int right = clampInto(screen.right() + 1 - frame.width(), frame.width(), screen.left(),
                                screen.width());
    const int foot = clampInto(screen.bottom() + 1 - frame.height(), frame.height(), screen.top(),
                               screen.height());
    const QPoint places[] = {{left, top}, {right, top}, {left, foot}, {right, foot}};
    const auto cost = [&](QPoint at) {
        const QRect r(at, frame);
        double hidden = 0;
        for (const QRect& c : controls)
            if (!c.isEmpty()) hidden += double(overlap(r, c)) / (double(c.width()) * c.height());
        return std::pair(hidden, overlap(r, main));
    };
    QPoint best = places[0];
    for (const QPoint& p : places)
        if (cost(p) < cost(best)) best = p;
    return best;
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
    if (window->frameGeometry().size() == window->size())
        new FramedCentring(window, [window](const QSize& framed) {
            return centredPlace(screenArea(window), framed);
        });
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
    const auto place = [window, main, controls](const QSize& framed) {
        return besidePlace(screenArea(main), main->frameGeometry(), framed, controls);
    };
    window->move(place(frame));
    if (window->frameGeometry().size() == window->size()) new FramedCentring(window, place);
}

} // namespace ui
