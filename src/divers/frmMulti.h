#pragma once

#include <QDialog>

#include <memory>

struct AppState;
class QShowEvent;

namespace Ui {
class frmMulti;
}

// Select Diver: picks whose log is opened, and adds, deletes or makes default a diver. Okay
// sets the open diver and writes divers.dvl; closing the window any other way keeps the diver
// the main window already has.
class frmMulti : public QDialog {
    Q_OBJECT

  public:
    explicit frmMulti(AppState& state, QWidget* parent = nullptr);
    ~frmMulti() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FillDiverList();
    int selectedPosition() const; // 1-based, 0 with no row selected
    void cmdOkayClick();
    void cmdNewClick();
    void cmdDefaultClick();
    void cmdDelClick();

    AppState& state;
    std::unique_ptr<Ui::frmMulti> ui;
    bool centred = false;
};
