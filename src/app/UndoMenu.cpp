#include "UndoMenu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QUndoStack>

namespace app {

UndoMenu::UndoMenu(QMainWindow& w, QMenu* before, QUndoStack& stack,
                   std::function<void()> beforeEach)
    : QObject(&w), window(w), edit(new QMenu(QStringLiteral("E&dit"), &w)) {
    edit->setObjectName(QStringLiteral("mnuEdit"));
    w.menuBar()->insertMenu(before->menuAction(), edit);
    auto* undo = edit->addAction(QString());
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    auto* redo = edit->addAction(QString());
    redo->setObjectName(QStringLiteral("mnuRedo"));
    redo->setShortcuts(QKeySequence::Redo);

    auto label = [](const QString& verb, const QString& what) {
        return what.isEmpty() ? verb : verb + QLatin1Char(' ') + what;
    };
    auto show = [=, &stack] {
        undo->setText(label(QStringLiteral("&Undo"), stack.undoText()));
        undo->setEnabled(stack.canUndo());
        redo->setText(label(QStringLiteral("&Redo"), stack.redoText()));
        redo->setEnabled(stack.canRedo());
    };
    connect(&stack, &QUndoStack::indexChanged, this, show);
    connect(&stack, &QUndoStack::cleanChanged, this, show);
    show();
    connect(undo, &QAction::triggered, this, [beforeEach, &stack] {
        beforeEach();
        stack.undo();
    });
    connect(redo, &QAction::triggered, this, [beforeEach, &stack] {
        beforeEach();
        stack.redo();
    });
    qApp->installEventFilter(this);
}

bool UndoMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &window &&
        (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))) {
        event->ignore(); // not the box's: the shortcut of the menu runs
        return true;
    }
    return false;
}

} // namespace app
