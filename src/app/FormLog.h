#pragma once

#include "store/AppState.h"
#include "store/FileIO.h"

#include <QLine>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class QSessionManager;

namespace Ui {
class FormLog;
}
namespace ui {
class HelpWindow;
}
namespace search {
class frmResults;
}
namespace divelist {
class frmDiveList;
}
namespace session {
class Session;
}

namespace app {

class EntryFields;

// The main window: one dive of the open diver at a time, the commands that move between,
// add and remove dives, and the menus. It shows the session's log and changes it only
// through the session; loading it opens the diver's files, closing it saves them.
class FormLog : public QMainWindow {
    Q_OBJECT

  public:
    struct StartOptions {
        bool splash = true;        // the start-up screen and its two-second pause
        bool deferStartUp = false; // the caller runs startUp() once its save hooks are armed
    };

    explicit FormLog(store::AppState& state, QWidget* parent = nullptr);
    FormLog(store::AppState& state, const StartOptions& options, QWidget* parent = nullptr);
    ~FormLog() override;

    // Reads the settings and opens the diver's files. False when the window was closed
    // before the files were opened (nothing is saved then).
    bool startUp();

    session::Session& logSession() const { return *session; }

    // Moves to dive `index` (the results window's Go).
    void GoToDive(int index);

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
    // "Dive List", beside this window; showDive moves here as the scroll bar does.
    void openDiveList();
    void showDive(int index);
    // The statistics may count the dives the list shows or has selected.
    void offerListDives(bool open);

    // The output dialog, modal, offering `offered` (the dives a search found) as its
    // selected dives when there are any.
    void openPrint(const std::vector<int>& offered = {});

    // Saves the diver's files. When one cannot be written the user is told which and why, and
    // (when `mayCancel`) asked whether to quit anyway; false means stay.
    bool saveForExit(bool mayCancel);
    // SaveLog, but when another program changed a file of the set since it was opened, the
    // diver is asked first (`mayAsk`); No, or no one to ask, keeps both: the log as shown here
    // goes to new names and the changed files stay.
    store::FileProblems saveChecked(bool mayAsk);

    // What the small profile picture shows, in its own pixel units.
    const std::vector<QLine>& thumbnail() const;
    ui::HelpWindow& helpWindow() const { return *help; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void centre();
    void renameDefaultDiver(store::AppState& s);
    void setUpControls();
    void setUpMenus();
    void listenToSession();

    // Runs the leave-the-box checks of the box being edited, so a command never loses or
    // misplaces what was typed last.
    void commitEdit();
    void numberCheck();
    void moveTo(int index);
    void showNumber();
    void setScrollRange();
    void showAll();
    void openListEditor(int which);
    void openUrl(const QString& link);
    void showAbout();
    // Several divers: the Select Diver step of the start-up, File/Change Diver, File/Options.
    void chooseDiver();
    void changeDiver();
    void openOptions();
    // The last search's dives for the statistics' scope; none once the results are closed.
    void showSelection(const std::optional<std::vector<int>>& dives);

    store::AppState& state;
    StartOptions options;
    std::unique_ptr<Ui::FormLog> ui;
    std::unique_ptr<ui::HelpWindow> help;
    session::Session* session;
    EntryFields* fields;
    QPointer<search::frmResults> results;
    std::optional<std::vector<int>> chartSelection; // the last search's dives, while shown
    QPointer<divelist::frmDiveList> diveList;
    // The diver open when Change Diver was chosen: he stays open unless another is picked.
    std::optional<store::DiverEntry> keptDiver;

    bool SplashShown = false;
    bool settingNumber = false;
    bool closedAndSaved = false;
    bool ownChange = false; // a command of this window is changing the log
    bool totalsStale = false; // dives before the shown one changed; summed when the change is done
    QString helpFile;
};

} // namespace app
