#pragma once

#include <QDialog>

#include <cstdint>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace session {
class Session;
}

namespace divelist {

class DiveSortProxy;
class DiveTableModel;

// "Dive List": every dive of the log in one table beside the main window, to sort, filter,
// select and act on several dives at once. Selecting a row shows the dive in the main window
// (showDive) and the main window's moves select the row; every change goes through the
// session, so both windows show it at once and Undo takes it back.
class frmDiveList : public QDialog {
    Q_OBJECT
  public:
    explicit frmDiveList(session::Session& session, QWidget* parent);
    ~frmDiveList() override;

    // The selected dives in the order the table shows them.
    std::vector<int> selectedDives() const;
    // Puts the window beside its parent unless the diver placed it before.
    void place();
    // The diver chose other units in Options: the headers and figures say so.
    void unitsChanged();
    // The dives the table shows, filtered, in its order.
    std::vector<int> shownDives() const;

  signals:
    void showDive(int index);
    // The dives to print, for the output dialog: element 0 holds no dive.
    void printRequested(const std::vector<int16_t>& printList);
    // The dives shown or selected changed (the statistics may ask for them); `open` is false
    // when the window closes.
    void offerChanged(bool open);
    // These dives (log positions, ascending) have just been deleted.
    void divesDeleted(const std::vector<int>& dives);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void filterChanged();
    void follow(int dive);
    void currentRowChanged();
    void showSummary();
    void headerMenu(const QPoint& at);
    void restoreColumns();
    void saveColumns() const;
    // Columns, size and place, for the next opening.
    void remember() const;
    void deleteSelected();
    void printSelected();
    void exportSelected(int format);
    void editSelected();

    session::Session& session;
    DiveTableModel* model;
    DiveSortProxy* proxy;
    QTableView* table = nullptr;
    QLineEdit* filterText = nullptr;
    QComboBox* ratingChoice = nullptr;
    QDateEdit* fromDate = nullptr;
    QDateEdit* toDate = nullptr;
    QLabel* summary = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* exportButton = nullptr;
    bool following = false;
    QString columnsKey; // the diver whose columns the header shows
};

} // namespace divelist
