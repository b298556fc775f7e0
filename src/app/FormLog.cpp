#include "FormLog.h"
#include "ui_FormLog.h"

#include "EntryFields.h"
#include "RecoveryPrompt.h"
#include "StartupScreen.h"

#include "divelist/frmDiveList.h"
#include "divers/frmMulti.h"
#include "divers/frmNewName.h"
#include "divers/frmOptions.h"
#include "profile/frmProfile.h"
#include "search/frmResults.h"

#include "session/Session.h"
#include "settings/Settings.h"
#include "store/EntryRules.h"
#include "store/LogOps.h"
#include "store/Totals.h"
#include "ui/HelpWindow.h"
#include "ui/Placement.h"
#include "ui/Platform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSessionManager>

namespace app {

FormLog::FormLog(store::AppState& s, QWidget* parent) : FormLog(s, StartOptions{}, parent) {}

FormLog::FormLog(store::AppState& s, const StartOptions& opts, QWidget* parent)
    : QMainWindow(parent), state(s), options(opts), ui(std::make_unique<Ui::FormLog>()),
      help(std::make_unique<ui::HelpWindow>()), session(new session::Session(s, this)) {
    ui->setupUi(this);
    fields = new EntryFields(*ui, *session, this);
    setUpControls();
    setUpMenus();
    listenToSession();
    const QPixmap icon(QStringLiteral(":/icons/reefbook.png"));
    if (!icon.isNull()) setWindowIcon(icon);

    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!state.Loaded) return; // still starting: there is no log to save yet
        commitEdit();
        const bool mayAsk = manager.allowsInteraction();
        if (!saveForExit(mayAsk)) manager.cancel();
        if (mayAsk) manager.release();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (closedAndSaved) return;
        commitEdit();
        help->quit();
        saveForExit(false);
        closedAndSaved = true;
    });

    if (!options.deferStartUp) startUp();
}

FormLog::~FormLog() = default;

void FormLog::setUpControls() {
    ui->txtDNum->installEventFilter(this);
    connect(ui->txtDNum, &QLineEdit::returnPressed, this, &FormLog::numberCheck);
    connect(ui->vsbDNum, &QScrollBar::valueChanged, this, [this](int v) {
        if (settingNumber) return;
        // The wheel moves the bar without taking the focus from the box being edited.
        if (focusWidget() != ui->txtDNum) commitEdit();
        moveTo(v);
    });
    connect(ui->picProfile, &Thumbnail::clicked, this, &FormLog::openProfile);
    connect(ui->picProfile, &Thumbnail::resized, this, &FormLog::DrawThumbnail);

    connect(ui->cmdNew, &QPushButton::clicked, this, &FormLog::NewEntry);
    connect(ui->cmdClear, &QPushButton::clicked, this, &FormLog::ClearEntry);
    connect(ui->cmdClose, &QPushButton::clicked, this, &FormLog::close);
    // From here the dives found by a search are not on offer.
    connect(ui->cmdPrint, &QPushButton::clicked, this, [this] { openPrint(); });
    connect(ui->cmdProfile, &QPushButton::clicked, this, &FormLog::openProfile);
    connect(ui->cmdChart, &QPushButton::clicked, this, &FormLog::openChart);
    connect(ui->cmdLoc, &QPushButton::clicked, this, [this] { openListEditor(0); });
    connect(ui->cmdType, &QPushButton::clicked, this, [this] { openListEditor(1); });
    connect(ui->cmdBuddy, &QPushButton::clicked, this, [this] { openListEditor(2); });
    connect(ui->cmdGear, &QPushButton::clicked, this, [this] { openListEditor(3); });
}

// ---------------------------------------------------------------------------------------
// Start-up

bool FormLog::startUp() {
    closeResults(); // they name dives of the log about to be replaced
    session->closeLog();
    centre();
    if (!SplashShown && options.splash) showStartupScreen(2000);
    SplashShown = true;
    // Closed (by a signal) during the start-up screen: no dialog may come up and write.
    if (closedAndSaved) return false;
    helpFile = ui::HelpWindow::helpFilePath(QCoreApplication::applicationDirPath());

    settings::readStartup(*session->setup(), [this](store::AppState& s) { renameDefaultDiver(s); });
    ui->mnuChDiver->setVisible(state.MultiFlag == 1);
    if (state.MultiFlag == 1 && !closedAndSaved) chooseDiver();
    if (closedAndSaved) return false; // closed (by a signal) while a dialog was up

    const store::FileProblems problems = session->open();
    const QString damagedNote =
        state.DamagedFiles.empty()
            ? QString()
            : QStringLiteral("\n\nWhat could be read is shown. Before the log is saved, each "
                             "damaged file is kept under its own name followed by \".damaged\".");
    if (!problems.empty())
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("Some of the diver's files could not be read as they "
                                     "are:\n\n") +
                          store::describeProblems(problems) + damagedNote);
    offerRecovery(this, *session, [this] { return closedAndSaved; });
    if (closedAndSaved) return false;
    session->opened();
    setScrollRange();
    showNumber();
    FillLists();
    ShowEntry();
    ShowTimeTotals();
    ShowAvgDepth();
    SetTitle();
    return true;
}

void FormLog::centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // Room for every control without scrolling, unless the screen is smaller than that; then
    // the entry area scrolls instead of being cut off. The margin leaves room for the frame.
    const QSize content = ui->entryArea->minimumSizeHint().expandedTo(QSize(880, 600));
    const QSize wanted(content.width() + 8, content.height() + menuBar()->sizeHint().height() + 8);
    resize(wanted.boundedTo(area.size() - QSize(16, 48)));
    ui::centreOnScreen(this);
}

void FormLog::renameDefaultDiver(store::AppState& s) {
    if (closedAndSaved) return;
    divers::frmNewName rename(s, this);
    rename.exec();
}

void FormLog::SetTitle() {
    setWindowTitle(QStringLiteral("RB - The Reef Book  V%1.%2     [%3]")
                       .arg(REEFBOOK_VERSION_MAJOR)
                       .arg(REEFBOOK_VERSION_MINOR)
                       .arg(state.DiverName));
}

// ---------------------------------------------------------------------------------------
// Moving between dives

void FormLog::setScrollRange() {
    settingNumber = true;
    ui->vsbDNum->setRange(1, std::max(1, state.DiveCount()));
    ui->vsbDNum->setValue(state.CurrentDive);
    settingNumber = false;
}

void FormLog::showNumber() {
    settingNumber = true;
    ui->txtDNum->setText(QString::number(state.CurrentDive + state.DiveOffset));
    settingNumber = false;
}

void FormLog::numberCheck() {
    moveTo(store::entry::checkDiveNumber(ui->txtDNum->text(), ui->vsbDNum->value(),
                                         state.DiveOffset, state.DiveCount()));
}

void FormLog::moveTo(int index) {
    session->endTyping();
    session->setCurrentDive(index);
    showNumber();
    settingNumber = true;
    ui->vsbDNum->setValue(state.CurrentDive);
    settingNumber = false;
    FillLists();
    ShowEntry();
    ShowTimeTotals();
    ShowAvgDepth();
}

void FormLog::showAll() {
    setScrollRange();
    moveTo(state.CurrentDive);
}

void FormLog::GoToDive(int index) {
    // Text still being typed in a box belongs to the dive shown before and must not be stored
    // into this one when the box loses the focus.
    fields->detachFocus();
    ui->txtDNum->setFocus();
    moveTo(index);
}

void FormLog::FillLists() { fields->fillLists(); }

void FormLog::ShowEntry() {
    fields->show();
    ui->lblTotal->setText(QString::number(state.DiveCount()));
    DrawThumbnail();
}

void FormLog::ShowTimeTotals() {
    const store::LogTotals t = store::totalsUpTo(state, state.CurrentDive);
    ui->lblTime->setText(store::timeToDateText(t.minutes));
    ui->lblAvgTime->setText(QString::number(t.avgTime()));
}

void FormLog::ShowAvgDepth() {
    ui->lblAvgDepth->setText(
        QString::number(store::totalsUpTo(state, state.CurrentDive).avgDepth()));
}

void FormLog::DrawThumbnail() {
    const store::DiveRecord& d = state.current();
    const QSize area = ui->picProfile->contentsRect().size();
    // A profile number the profile file does not hold draws nothing.
    if (d.ProfileNum > 0 && d.ProfileNum < static_cast<int>(state.Profiles.size()))
        ui->picProfile->setLines(store::entry::thumbnailLines(
            state.Profiles[static_cast<size_t>(d.ProfileNum)], d.DiveData[store::field::BottomTime],
            d.DiveData[store::field::MaxDepth], area.width(), area.height()));
    else
        ui->picProfile->setLines({});
}

const std::vector<QLine>& FormLog::thumbnail() const { return ui->picProfile->lines(); }

// ---------------------------------------------------------------------------------------
// Entry commands

void FormLog::NewEntry() {
    commitEdit();
    const QScopedValueRollback<bool> own(ownChange, true);
    if (!session->appendEntry()) {
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("This log already holds %1 dives, the most it can hold. "
                                     "No entry was added.")
                          .arg(store::MaxDives));
        return;
    }
    setScrollRange();
    showNumber();
    ui->lblTotal->setText(QString::number(state.DiveCount()));
    // The new, empty dive is shown when the number box is left.
    ui->txtDNum->setFocus(Qt::OtherFocusReason);
    ui->txtDNum->selectAll();
}

void FormLog::ClearEntry() {
    // The box being edited is checked and left first, so no check runs later on an emptied
    // box and brings an old value back.
    commitEdit();
    ui->cmdClear->setFocus(Qt::OtherFocusReason);
    // The record is cleared as a whole: boxes that store only when left (date, lists) or
    // only when not empty (comment) would otherwise keep the old values behind an empty form.
    session->clearEntry(state.CurrentDive);
    ShowEntry();
    fields->clearDate();
}

void FormLog::DeleteEntry() {
    commitEdit();
    if (state.DiveCount() <= 1) {
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("There must always be at least one entry in a Log"));
        return;
    }
    if (ui::askYesNo(this, QStringLiteral("Delete Confirmation"),
                     QStringLiteral("Are you sure you want to delete this entry?")) !=
        ui::Answer::Yes)
        return;
    const int removed = state.CurrentDive;
    {
        const QScopedValueRollback<bool> own(ownChange, true);
        session->removeEntry(removed);
    }
    if (results) results->diveRemoved(removed);
    showAll();
}

bool FormLog::DiveProfile() {
    if (store::entry::profileRefused(state.current())) {
        ui::showError(this, QStringLiteral("Sorry!"),
                      QStringLiteral("You must enter a bottom time and a maximum depth to view "
                                     "the dive profile"));
        return false;
    }
    return true;
}

void FormLog::openProfile() {
    commitEdit();
    if (!DiveProfile()) return;
    profile::frmProfile profile(*session, this);
    if (profile.fitsScreen()) profile.exec();
    ShowEntry(); // the dive may have a new profile now
}

// ---------------------------------------------------------------------------------------
// The box being edited

void FormLog::commitEdit() {
    if (!state.Loaded) return;
    if (focusWidget() == ui->txtDNum)
        numberCheck();
    else
        fields->commit();
}

bool FormLog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ui->txtDNum) return false;
    if (event->type() == QEvent::FocusIn) {
        ui->txtDNum->selectAll();
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus moving into a menu or to another window is not the user leaving the box.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            numberCheck();
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// Several divers

void FormLog::chooseDiver() {
    // Closing the dialog by its frame or Escape keeps the diver who was open: at start-up the
    // default diver read from the settings, on Change Diver the diver of the session.
    store::AppState& setup = *session->setup();
    if (keptDiver) {
        setup.DiverName = keptDiver->Name;
        setup.Files = keptDiver->Files;
        keptDiver.reset();
    }
    divers::frmMulti select(setup, this);
    select.exec();
}

void FormLog::changeDiver() {
    commitEdit();
    if (state.Loaded) {
        // The open diver stays open when his files cannot be written, so nothing is lost.
        const store::FileProblems problems = saveChecked(true);
        if (!problems.empty()) {
            ui::showError(this, QStringLiteral("Error"),
                          QStringLiteral("The log could not be saved, so the diver stays "
                                         "open:\n\n") +
                              store::describeProblems(problems));
            return;
        }
    }
    keptDiver = store::DiverEntry{state.DiverName, state.Files};
    session->closeLog();
    startUp();
    keptDiver.reset();
}

void FormLog::openOptions() {
    commitEdit();
    closeResults();
    divers::frmOptions dialog(*session, this);
    dialog.exec();
    if (closedAndSaved) return; // closed by a signal: saved already, no diver to choose
    if (diveList) diveList->unitsChanged();
    showNumber();
    if (state.MultiFlag == 1) changeDiver();
    ui->mnuChDiver->setVisible(state.MultiFlag == 1);
}

bool FormLog::saveForExit(bool mayCancel) {
    // Before the files were opened memory holds no log: saving would empty them.
    if (!state.Loaded) return true;
    const store::FileProblems problems = saveChecked(mayCancel);
    if (problems.empty()) return true;
    const QString list = store::describeProblems(problems);
    if (!mayCancel) {
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("The log could not be saved:\n\n") + list);
        return true;
    }
    return ui::askYesNo(this, QStringLiteral("Error"),
                        QStringLiteral("The log could not be saved:\n\n") + list +
                            QStringLiteral("\n\nQuit anyway? The changes of this session "
                                           "would be lost.")) == ui::Answer::Yes;
}

store::FileProblems FormLog::saveChecked(bool mayAsk) {
    const std::vector<QString> changed = store::ChangedOnDisk(state);
    if (changed.empty()) return session->save();
    const store::FileSet kept = store::KeepBothNames(state.Files);
    const auto keptNames = kept.names();
    const QString question =
        QStringLiteral("Another program changed %1 since Reefbook opened the log. Replace "
                       "with the dives shown here?\n\nNo keeps both: the changed files stay as "
                       "they are, and the log shown here is saved as %2.")
            .arg(QStringList(changed.begin(), changed.end()).join(QStringLiteral(", ")),
                 QStringList(keptNames.begin(), keptNames.end()).join(QStringLiteral(", ")));
    if (mayAsk && ui::askYesNo(this, QStringLiteral("WARNING!"), question) == ui::Answer::Yes)
        return session->save();
    return session->saveAs(kept);
}

void FormLog::closeEvent(QCloseEvent* event) {
    commitEdit();
    help->quit();
    if (!saveForExit(true)) {
        event->ignore();
        return;
    }
    closedAndSaved = true;
    closeResults();
    event->accept();
}

} // namespace app
