#pragma once

#include <QDialog>

#include <memory>

namespace store {
struct AppState;
}
class QShowEvent;

namespace Ui {
class frmNewName;
}

namespace divers {

// Offered at start-up while the default diver is still called "Default", so the diver can put
// his own name on the log. Okay stores the name; closing the window any other way keeps the old
// one, and the question comes again at the next start.
class frmNewName : public QDialog {
    Q_OBJECT

public:
  explicit frmNewName(store::AppState& log, QWidget* parent = nullptr);
  ~frmNewName() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOkayClick();

    store::AppState& state;
    std::unique_ptr<Ui::frmNewName> ui;
    bool shown = false;
};

} // namespace divers
