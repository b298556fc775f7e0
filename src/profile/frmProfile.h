#pragma once

#include "ProfileEditor.h"

#include <QDialog>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
namespace Ui {
class frmProfile;
}

namespace session {
class Session;
}

namespace profile {

// Draws and edits the profile of the main window's current dive. Close stores it as a new
// profile record of the dive; any other way out leaves everything as it was.
class frmProfile : public QDialog {
    Q_OBJECT
  public:
    explicit frmProfile(session::Session& session, QWidget* parent = nullptr);
    // On its own (tests): the window keeps a session of its own over `state`.
    explicit frmProfile(store::AppState& state, QWidget* parent = nullptr);
    ~frmProfile() override;

    // Whether this screen can give the dive's every minute and depth a drawing unit. When it
    // cannot, the user has been told so and the window must not be shown.
    bool fitsScreen();

    const ProfileEditor& editor() const { return edit; }

  private:
    void setUp();
    void loadProfile();
    void sizeArea();
    void areaPressed(int x, int y);
    void areaMoved(int x, int y);
    void pressAt(ProfileEditor::Point at);
    void removeAt(ProfileEditor::Point at);
    void moveCrosshair(int dTime, int dDepth);
    void pressCrosshair();
    void showReadout(ProfileEditor::Point at);
    void clearProfile();
    void closeAndStore();

    std::unique_ptr<session::Session> ownSession;
    session::Session& session;
    const store::AppState& state;
    std::unique_ptr<Ui::frmProfile> ui;
    ProfileEditor edit;
    std::array<QLineEdit*, ProfileEditor::NoteBoxes> txtProf{};
    std::array<QLabel*, 5> lblInfo{};
};

} // namespace profile
