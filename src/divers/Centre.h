#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// The diver dialogs come up before the main window is placed (at start-up), so they centre
// on the screen rather than on a parent.
inline void centreOnScreen(QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    w->move(area.x() + (area.width() - w->frameGeometry().width()) / 2,
            area.y() + (area.height() - w->frameGeometry().height()) / 2);
}
