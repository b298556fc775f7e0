#pragma once

#include "store/AppState.h"
#include "store/Recovery.h"

#include <QLine>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSessionManager;
class HelpWindow;
class frmResults;

namespace Ui {
class FormLog;
}

// The main window: one dive of the open diver at a time, the commands that move between,
// add and remove dives, and the menus. Loading it opens the diver's files; closing it saves
// them.
class FormLog : public QMainWindow {
    Q_OBJECT

  public:
    struct StartOptions {
        bool splash = true;        // the start-up screen and its two-second pause
        bool deferStartUp = false; // the caller runs startUp() once its save hooks are armed
    };

    explicit FormLog(AppState& state, QWidget* parent = nullptr);
    FormLog(AppState& state, const StartOptions& options, QWidget* parent = nullptr);
    ~FormLog() override;

    // Reads the settings and opens the diver's files. False when the window was closed
    // before the files were opened (nothing is saved then).
    bool startUp();
    // Copies the log to the recovery journal within a few seconds, not at once: edits that
    // come in a burst are kept by one write.
    void journalSoon();

    // Moves to state.CurrentDive (the results window sets it first, with ResultsJump).
    void GoToDive();
    bool ResultsJump = false;

    void ShowEntry();
    void FillLists();
    void DrawThumbnail();
    void ShowTimeTotals();
    void ShowAvgDepth();
    void SetTitle();

    void NewEntry();
    void ClearEntry();
    void DeleteEntry();
    // "Dive Profile": refuses, with a message, a dive without bottom time or depth. True when
    // the dive may show its profile.
    bool DiveProfile();
    // Opens the profile window for the shown dive unless refused, then shows the dive again.
    void openProfile();

    // "Charting": a fresh selection, then its results beside this window.
    void openChart();
    void closeResults();

    // The output dialog, modal. PrintListReady is left as the caller set it: the results
    // window sets it to offer its dives, the main window's Print clears it first.
    void openPrint();

    // Saves the diver's files. When one cannot be written the user is told which and why, and
    // (when `mayCancel`) asked whether to quit anyway; false means stay.
    bool saveForExit(bool mayCancel);
    // SaveLog, but when another program changed a file of the set since it was opened, the
    // diver is asked first (`mayAsk`); No, or no one to ask, keeps both: the log as shown here
    // goes to new names and the changed files stay.
    FileProblems saveChecked(bool mayAsk);

    // What the small profile picture shows, in its own pixel units.
    const std::vector<QLine>& thumbnail() const { return thumbLines; }
    HelpWindow& helpWindow() const { return *help; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void centre();
    void renameDefaultDiver(AppState& s);
    void setUpControls();
    void setUpMenus();

    // Runs the leave-the-box checks of the box being edited, so a command never loses or
    // misplaces what was typed last.
    void commitEdit();
    void focusGained(QObject* box);
    void focusLost(QObject* box);

    void numberCheck();
    void moveTo(int index);
    void showNumber();
    void setScrollRange();
    void timeCheck(int i);
    void numberChanged(int i);
    void visibilityMoved(int value);
    void profileCheck(int i);
    void listCheck(int i);
    void reselectLists();
    void commentsChanged();
    void openListEditor(int which);
    void openUrl(const QString& link);
    void showAbout();
    // Several divers: the Select Diver step of the start-up, File/Change Diver, File/Options.
    void chooseDiver();
    void changeDiver();
    void openOptions();
    void paintThumbnail();

    AppState& state;
    StartOptions options;
    std::unique_ptr<Ui::FormLog> ui;
    std::unique_ptr<HelpWindow> help;
    QPointer<frmResults> results;

    std::array<QLineEdit*, 7> txtAData{};
    std::array<QLineEdit*, 10> txtBData{};
    std::array<QComboBox*, 4> cboCData{};
    std::array<QCheckBox*, 8> chkEData{};
    std::array<QRadioButton*, 3> optRate{};
    std::array<QLabel*, 3> imgRate{};

    bool SplashShown = false;
    bool showing = false;    // ShowEntry is filling the controls from the record
    bool settingViz = false; // the visibility box is moving the scroll bar
    bool settingNumber = false;
    bool closedAndSaved = false;
    int16_t SavedBottomTime = 0;
    int16_t SavedMaxDepth = 0;
    QString helpFile;
    QObject* clickedInto = nullptr;  // a box (or the comment's viewport) just entered by a click
    QObject* committedBox = nullptr; // checked by a command while it kept the focus
    int committedDive = 0;
    std::vector<QLine> thumbLines;
    recovery::Journal journal{state};
    QTimer journalTimer;
};
