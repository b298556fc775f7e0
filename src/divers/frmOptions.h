#pragma once

#include <QDialog>

#include <memory>

struct AppState;
namespace session {
class Session;
}
class QShowEvent;

namespace Ui {
class frmOptions;
}

// Options: one diver or several, and the number the log starts at. Changes live in memory at
// once; Close also stores them in the settings.
class frmOptions : public QDialog {
    Q_OBJECT

  public:
    explicit frmOptions(session::Session& session, QWidget* parent = nullptr);
    ~frmOptions() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void offsetChanged(const QString& text);
    void cmdCloseClick();

    session::Session& session;
    std::unique_ptr<Ui::frmOptions> ui;
    bool centred = false;
};
