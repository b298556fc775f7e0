#include "ListEditor.h"

#include "session/Session.h"
#include "divers/DiverList.h"
#include "ui/Placement.h"
#include "ui/Platform.h"
#include "ui/StorableText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace lists {

ListEditor::ListEditor(session::Session& s, int list, QWidget* parent)
    : QDialog(parent), session(s), state(s.state()), which(list),
      draft(lists::startDraft(s.state(), list)) {}

ListEditor::ListEditor(store::AppState& st, int list, QWidget* parent)
    : QDialog(parent), ownSession(std::make_unique<session::Session>(st)), session(*ownSession),
      state(st), which(list), draft(lists::startDraft(st, list)) {}

ListEditor::~ListEditor() = default;

void ListEditor::attach(const Controls& controls) {
    c = controls;
    QComboBox* cbo = c.cboData;
    cbo->setEditable(true);
    // A typed name is only ever added by Add, and is never completed or matched against the
    // existing names: typing a name that exists and pressing Add makes a second entry.
    cbo->setInsertPolicy(QComboBox::NoInsert);
    cbo->setCompleter(nullptr);
    // The combo box would otherwise pick the item whose text matches the typed one when the
    // name box loses the focus, turning "typed over" back into "selected".
    disconnect(cbo->lineEdit(), &QLineEdit::editingFinished, cbo, nullptr);
    ui::keepStorable(cbo->lineEdit());
    ui::keepStorable(c.txtInfo);

    // Enter in a box must not press a button: closing or adding by accident surprises.
    for (QPushButton* b : {c.cmdAdd, c.cmdDelete, c.cmdClose}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    filling = true;
    cbo->clear();
    for (const store::ListEntry& e : draft.entries)
        cbo->addItem(e.Name);
    filling = false;

    connect(cbo, &QComboBox::activated, this, &ListEditor::select);
    connect(cbo->lineEdit(), &QLineEdit::textEdited, this, &ListEditor::nameEdited);
    connect(c.txtInfo, &QLineEdit::textChanged, this, &ListEditor::infoChanged);
    c.txtInfo->installEventFilter(this);
    connect(c.cmdAdd, &QPushButton::clicked, this, &ListEditor::addEntry);
    connect(c.cmdDelete, &QPushButton::clicked, this, &ListEditor::deleteEntry);
    connect(c.cmdClose, &QPushButton::clicked, this, [this] {
        storeList();
        accept();
    });

    if (draft.hasSelection())
        select(draft.selected);
    else
        clearShown();
    // Placed before it is first shown, so the window manager frames it where it was put.
    adjustSize();
    ui::centreOnScreen(this);
}

void ListEditor::select(int index) {
    if (index < 0 || index >= static_cast<int>(draft.entries.size()))
        return;
    draft.selected = index;
    const store::ListEntry& e = draft.entries[static_cast<size_t>(index)];
    filling = true;
    c.cboData->setCurrentIndex(index);
    c.cboData->setEditText(e.Name); // also when the same item is picked after typing over it
    c.txtInfo->setText(e.Info);
    c.txtInfo->setEnabled(true);
    filling = false;
    entryShown(&e);
}

void ListEditor::clearShown() {
    filling = true;
    c.cboData->setCurrentIndex(-1);
    c.cboData->setEditText(QString());
    filling = false;
    showNoEntry();
}

void ListEditor::showNoEntry() {
    // Info typed now would belong to no entry and be dropped, so the box takes no typing
    // rather than swallow it; and nothing of the last entry stays in view to be mistaken for
    // the new name's.
    filling = true;
    c.txtInfo->clear();
    c.txtInfo->setEnabled(false);
    filling = false;
    entryShown(nullptr);
}

void ListEditor::nameEdited() {
    const bool wasSelected = draft.hasSelection();
    draft.selected = -1;
    if (wasSelected)
        showNoEntry();
}

void ListEditor::infoChanged(const QString& text) {
    if (!filling)
        lists::setDraftInfo(draft, text);
}

void ListEditor::addEntry() {
    const int added = lists::addDraftEntry(draft, c.cboData->currentText());
    if (added < 0)
        return;
    filling = true;
    c.cboData->addItem(draft.entries.back().Name);
    filling = false;
    select(added);
}

void ListEditor::deleteEntry() {
    const int deleted = draft.selected;
    // Another diver's dives name the entries of a shared list by position too; a deletion
    // would move them to other entries, so it is refused with their names.
    if (draft.hasSelection() && draft.entries.size() > 1) {
        if (const QStringList others = divers::sharedWith(state, which); !others.isEmpty()) {
            ui::showError(this, QStringLiteral("Error!"),
                          QStringLiteral("This list is shared with %1. Deleting an entry would "
                                         "make their dives name other entries, so entries of a "
                                         "shared list can be added and edited, not deleted.")
                              .arg(others.join(QStringLiteral(", "))));
            return;
        }
    }
    switch (lists::deleteDraftEntry(draft)) {
    case lists::DeleteOutcome::OnlyEntry:
        ui::showError(this, QStringLiteral("Error!"),
                      QStringLiteral("You must have at least one entry in this list"));
        return;
    case lists::DeleteOutcome::NoSelection:
        return;
    case lists::DeleteOutcome::Deleted:
        break;
    }
    filling = true;
    c.cboData->removeItem(deleted);
    filling = false;
    // Nothing is selected now; the info and picture of the removed entry go with it.
    clearShown();
}

void ListEditor::storeList() { session.commitListDraft(which, draft); }

void ListEditor::reject() {
    storeList();
    QDialog::reject();
}

void ListEditor::closeEvent(QCloseEvent* event) {
    storeList();
    QDialog::closeEvent(event);
}

void ListEditor::showEvent(QShowEvent* event) {
    if (!shown) {
        shown = true;
        // The name box has the focus; a name typed at once replaces the shown one instead of
        // running on from its end.
        c.cboData->lineEdit()->selectAll();
    }
    QDialog::showEvent(event);
}

bool ListEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c.txtInfo && event->type() == QEvent::FocusIn) {
        // Deferred, so the mouse press that gave the focus does not undo the selection.
        QTimer::singleShot(0, c.txtInfo, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lists
