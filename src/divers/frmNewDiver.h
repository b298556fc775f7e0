#pragma once

#include <QDialog>

#include <array>
#include <memory>

namespace store {
struct AppState;
}
class QComboBox;
class QShowEvent;

namespace Ui {
class frmNewDiver;
}

namespace divers {

// New Diver: a name, and for each of the four lists either a new file or another diver's file
// to share. Okay adds him to the diver list in memory; nothing is written here.
class frmNewDiver : public QDialog {
    Q_OBJECT

  public:
    explicit frmNewDiver(store::AppState& state, QWidget* parent = nullptr);
    ~frmNewDiver() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void comOkayClick();

    store::AppState& state;
    std::unique_ptr<Ui::frmNewDiver> ui;
    std::array<QComboBox*, 4> lists{}; // locations, types, buddies, gear
};

} // namespace divers
