#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// A control of `w` found by its name; a missing one fails the test instead of crashing it.
template <typename T = QWidget> T* child(const QWidget* w, const char* name) {
    T* c = w ? w->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (!c) ADD_FAILURE() << "no control " << name;
    return c;
}
template <typename T = QWidget> T* child(const QWidget& w, const char* name) {
    return child<T>(&w, name);
}

// Runs `act` on the modal dialog that the next exec() brings up.
inline void whenModalOpens(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(nullptr, modal) << "no modal dialog came up";
        act(modal);
    });
}
