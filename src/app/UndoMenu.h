#pragma once

#include <QObject>

#include <functional>

class QMainWindow;
class QMenu;
class QUndoStack;

namespace app {

// The Edit menu of a window over an undo stack: Undo and Redo, whose texts name the change
// they take back or do again, greyed when there is none. Their keys are the window's even
// while one of its text boxes has the focus: a box's own undo would change a record behind
// the stack's back. `beforeEach` runs first (the window commits what was typed last).
class UndoMenu : public QObject {
    Q_OBJECT
  public:
    UndoMenu(QMainWindow& window, QMenu* before, QUndoStack& stack,
             std::function<void()> beforeEach);

    QMenu* menu() const { return edit; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QMainWindow& window;
    QMenu* edit;
};

} // namespace app
