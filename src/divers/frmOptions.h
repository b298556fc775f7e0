#pragma once

#include <QDialog>

#include <memory>

namespace store {
struct AppState;
}
namespace Ui {
class frmOptions;
}

namespace session {
class Session;
}

namespace divers {

// Options: one diver or several, and the number the log starts at. Changes live in memory at
// once; Close also stores them in the settings.
class frmOptions : public QDialog {
    Q_OBJECT

  public:
    explicit frmOptions(session::Session& session, QWidget* parent = nullptr);
    ~frmOptions() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void offsetChanged(const QString& text);
    // Leaving the box (or Close) with text that is no offset: the message, and the box back
    // to 0. False when the text was refused.
    bool checkOffsetBox();
    void cmdCloseClick();

    session::Session& session;
    std::unique_ptr<Ui::frmOptions> ui;
    // The box was refused as the focus left it for Close: that click closes nothing.
    bool offsetJustRefused = false;
};

} // namespace divers
