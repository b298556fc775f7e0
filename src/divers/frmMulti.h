#pragma once

#include <QDialog>

#include <memory>

namespace store {
struct AppState;
}
class QShowEvent;

namespace Ui {
class frmMulti;
}

namespace divers {

// Select Diver: picks whose log is opened, and adds, deletes or makes default a diver. Okay
// sets the open diver and writes divers.dvl; closing the window any other way keeps the diver
// the main window already has.
class frmMulti : public QDialog {
    Q_OBJECT

  public:
    explicit frmMulti(store::AppState& state, QWidget* parent = nullptr);
    ~frmMulti() override;

    // Closing without Okay keeps the open diver, or the default one when the open diver was
    // deleted meanwhile.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The rows rebuilt, the row at this position (the default diver's when 0) selected.
    void FillDiverList(int selectPosition = 0);
    int openPosition() const; // 1-based, 0 when the open diver is in no row
    int selectedPosition() const; // 1-based, 0 with no row selected
    void cmdOkayClick();
    void cmdNewClick();
    void cmdDefaultClick();
    void cmdDelClick();

    store::AppState& state;
    std::unique_ptr<Ui::frmMulti> ui;
};

} // namespace divers
