#pragma once

#include "store/AppState.h"
#include "lists/ListOps.h"

#include <QDialog>

#include <memory>

namespace session {
class Session;
}

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lists {

// What the dive type, buddy, gear and location editors share: a working copy of one list,
// the name box with its selection, the info box, Add, Delete and Close. Closing the window
// by any way puts the working copy back as the list and, in the same step, renumbers the
// dives for the entries deleted.
class ListEditor : public QDialog {
    Q_OBJECT
public:
    void reject() override;

protected:
    ListEditor(session::Session& s, int list, QWidget* parent);
    // On its own (tests): the editor keeps a session of its own over `state`.
    ListEditor(store::AppState& st, int list, QWidget* parent);
    ~ListEditor() override;

    struct Controls {
        QComboBox* cboData;
        QLineEdit* txtInfo;
        QPushButton* cmdAdd;
        QPushButton* cmdDelete;
        QPushButton* cmdClose;
    };
    // Called by the window once its controls exist: wires them and shows the list.
    void attach(const Controls& controls);

    // Runs after the shown entry changed: `entry` is the selected one, or null when nothing
    // is selected any more (after Delete, or once the user types over the name).
    virtual void entryShown(const store::ListEntry* entry) { (void)entry; }

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::unique_ptr<session::Session> ownSession;
    session::Session& session;
    const store::AppState& state;
    const int which;
    lists::ListDraft draft;

private:
    void select(int index);
    void clearShown();
    void showNoEntry();
    void nameEdited();
    void infoChanged(const QString& text);
    void addEntry();
    void deleteEntry();
    void storeList();

    Controls c{};
    bool filling = false; // set while code, not the user, changes the controls
    bool shown = false;
};

} // namespace lists
