#include "FormLog.h"
#include "ui_FormLog.h"

#include "RecoveryPrompt.h"
#include "StartupScreen.h"
#include "frmAbout.h"

#include "divers/frmMulti.h"
#include "divers/frmNewName.h"
#include "divers/frmOptions.h"
#include "interchange/ExportMenu.h"
#include "lists/frmData.h"
#include "lists/frmLocation.h"
#include "profile/frmProfile.h"
#include "search/frmChart.h"
#include "search/frmResults.h"
#include "output/frmPrint.h"

#include "settings/Settings.h"
#include "store/EntryRules.h"
#include "store/ListOps.h"
#include "store/LogOps.h"
#include "store/Numbers.h"
#include "store/Totals.h"
#include "ui/HelpWindow.h"
#include "ui/Platform.h"
#include "ui/StorableText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QUrl>

namespace {

const QString MailLink = QStringLiteral("mailto:reefbook@example.org");
const QString WebLink = QStringLiteral("https://reefbook.example.org/");

template <typename T, size_t N> int indexIn(const std::array<T*, N>& controls, const QObject* o) {
    for (size_t i = 0; i < N; ++i)
        if (controls[i] == o) return static_cast<int>(i);
    return -1;
}

// Focus moving into a menu or to another window is not the user leaving the box.
bool userFocusChange(const QEvent* event) {
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

FormLog::FormLog(AppState& s, QWidget* parent) : FormLog(s, StartOptions{}, parent) {}

FormLog::FormLog(AppState& s, const StartOptions& opts, QWidget* parent)
    : QMainWindow(parent), state(s), options(opts), ui(std::make_unique<Ui::FormLog>()),
      help(std::make_unique<HelpWindow>()) {
    ui->setupUi(this);
    setUpControls();
    setUpMenus();
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

    journalTimer.setSingleShot(true);
    journalTimer.setInterval(2000);
    connect(&journalTimer, &QTimer::timeout, this, [this] {
        // A journal that cannot be written is retried with the next change; the save on
        // Exit reports the folder's trouble.
        if (state.Loaded && !closedAndSaved) journal.update();
    });

    if (!options.deferStartUp) startUp();
}

FormLog::~FormLog() = default;

void FormLog::setUpControls() {
    txtAData = {ui->txtAData_0, ui->txtAData_1, ui->txtAData_2, ui->txtAData_3,
                ui->txtAData_4, ui->txtAData_5, ui->txtAData_6};
    txtBData = {ui->txtBData_0, ui->txtBData_1, ui->txtBData_2, ui->txtBData_3, ui->txtBData_4,
                ui->txtBData_5, ui->txtBData_6, ui->txtBData_7, ui->txtBData_8, ui->txtBData_9};
    cboCData = {ui->cboCData_0, ui->cboCData_1, ui->cboCData_2, ui->cboCData_3};
    chkEData = {ui->chkEData_0, ui->chkEData_1, ui->chkEData_2, ui->chkEData_3,
                ui->chkEData_4, ui->chkEData_5, ui->chkEData_6, ui->chkEData_7};
    optRate = {ui->optRate_0, ui->optRate_1, ui->optRate_2};
    imgRate = {ui->imgRate_0, ui->imgRate_1, ui->imgRate_2};

    const char* faces[] = {":/faces/poor.png", ":/faces/average.png", ":/faces/good.png"};
    for (int i = 0; i < 3; ++i) {
        const QPixmap face(QString::fromLatin1(faces[i]));
        if (!face.isNull())
            imgRate[i]->setPixmap(
                face.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        imgRate[i]->installEventFilter(this);
        connect(optRate[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !showing) state.current().Rating = static_cast<int16_t>(i);
        });
    }

    ui->txtDNum->installEventFilter(this);
    connect(ui->txtDNum, &QLineEdit::returnPressed, this, &FormLog::numberCheck);
    connect(ui->txtDNum, &QLineEdit::textChanged, this, [this] {
        if (ResultsJump && !settingNumber) {
            ResultsJump = false;
            numberCheck();
        }
    });
    connect(ui->vsbDNum, &QScrollBar::valueChanged, this, [this](int v) {
        if (settingNumber) return;
        // The wheel moves the bar without taking the focus from the box being edited.
        if (focusWidget() != ui->txtDNum) commitEdit();
        moveTo(v);
    });

    for (QLineEdit* box : txtAData) {
        box->setMaxLength(8);
        box->installEventFilter(this);
    }
    for (int i = 0; i < 10; ++i) {
        txtBData[i]->installEventFilter(this);
        connect(txtBData[i], &QLineEdit::textChanged, this, [this, i] { numberChanged(i); });
    }
    connect(ui->hsbViz, &QScrollBar::valueChanged, this, &FormLog::visibilityMoved);
    for (int i = 0; i < 4; ++i) {
        cboCData[i]->installEventFilter(this);
        cboCData[i]->setCompleter(nullptr); // a typed name must stay as typed
    }
    for (int i = 0; i < 8; ++i)
        connect(chkEData[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (!showing) state.current().CondData[static_cast<size_t>(i)] = on ? 1 : 0;
        });
    ui->txtDData->installEventFilter(this);
    ui::keepStorable(ui->txtDData);
    for (QComboBox* box : cboCData) ui::keepStorable(box->lineEdit());
    ui->txtDData->viewport()->installEventFilter(this); // mouse presses land on the viewport
    connect(ui->txtDData, &QPlainTextEdit::textChanged, this, &FormLog::commentsChanged);
    ui->picProfile->installEventFilter(this);

    connect(ui->cmdNew, &QPushButton::clicked, this, &FormLog::NewEntry);
    connect(ui->cmdClear, &QPushButton::clicked, this, &FormLog::ClearEntry);
    connect(ui->cmdClose, &QPushButton::clicked, this, &FormLog::close);
    // From here the dives handed over by the results window are not on offer.
    connect(ui->cmdPrint, &QPushButton::clicked, this, [this] {
        state.PrintListReady = false;
        openPrint();
    });
    connect(ui->cmdProfile, &QPushButton::clicked, this, &FormLog::openProfile);
    connect(ui->cmdChart, &QPushButton::clicked, this, &FormLog::openChart);
    connect(ui->cmdLoc, &QPushButton::clicked, this, [this] { openListEditor(0); });
    connect(ui->cmdType, &QPushButton::clicked, this, [this] { openListEditor(1); });
    connect(ui->cmdBuddy, &QPushButton::clicked, this, [this] { openListEditor(2); });
    connect(ui->cmdGear, &QPushButton::clicked, this, [this] { openListEditor(3); });
}

void FormLog::setUpMenus() {
    ui->mnuEntry->insertSeparator(ui->mnuChart)->setObjectName(QStringLiteral("mnuSeparator"));
    interchange::addExportActions(ui->mnuFile, ui->mnuExit, this, state);
    connect(ui->mnuExit, &QAction::triggered, this, &FormLog::close);
    connect(ui->mnuNew, &QAction::triggered, this, &FormLog::NewEntry);
    connect(ui->mnuClear, &QAction::triggered, this, &FormLog::ClearEntry);
    connect(ui->mnuDelete, &QAction::triggered, this, &FormLog::DeleteEntry);
    connect(ui->mnuAbout, &QAction::triggered, this, &FormLog::showAbout);
    connect(ui->mnuEmail, &QAction::triggered, this, [this] { openUrl(MailLink); });
    connect(ui->mnuWebPage, &QAction::triggered, this, [this] { openUrl(WebLink); });
    connect(ui->mnuChart, &QAction::triggered, this, &FormLog::openChart);
    connect(ui->mnuPrint, &QAction::triggered, ui->cmdPrint, &QPushButton::click);
    connect(ui->mnuLoc, &QAction::triggered, this, [this] { openListEditor(0); });
    connect(ui->mnuType, &QAction::triggered, this, [this] { openListEditor(1); });
    connect(ui->mnuBud, &QAction::triggered, this, [this] { openListEditor(2); });
    connect(ui->mnuGear, &QAction::triggered, this, [this] { openListEditor(3); });
    connect(ui->mnuProfile, &QAction::triggered, this, &FormLog::openProfile);
    connect(ui->mnuCont, &QAction::triggered, this, [this] { help->showContents(helpFile); });
    ui->mnuOptions->setEnabled(true);
    ui->mnuChDiver->setEnabled(true);
    connect(ui->mnuOptions, &QAction::triggered, this, &FormLog::openOptions);
    connect(ui->mnuChDiver, &QAction::triggered, this, &FormLog::changeDiver);
}

// ---------------------------------------------------------------------------------------
// Start-up

bool FormLog::startUp() {
    closeResults(); // they name dives of the log about to be replaced
    state.Loaded = false;
    centre();
    if (!SplashShown && options.splash) showStartupScreen(2000);
    SplashShown = true;
    // Closed (by a signal) during the start-up screen: no dialog may come up and write.
    if (closedAndSaved) return false;
    helpFile = HelpWindow::helpFilePath(QCoreApplication::applicationDirPath());

    settings::readStartup(state, [this](AppState& s) { renameDefaultDiver(s); });
    ui->mnuChDiver->setVisible(state.MultiFlag == 1);
    if (state.MultiFlag == 1 && !closedAndSaved) chooseDiver();
    if (closedAndSaved) return false; // closed (by a signal) while a dialog was up

    const FileProblems problems = OpenLog(state);
    const QString damagedNote =
        state.DamagedFiles.empty()
            ? QString()
            : QStringLiteral("\n\nWhat could be read is shown. Before the log is saved, each "
                             "damaged file is kept under its own name followed by \".damaged\".");
    if (!problems.empty())
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("Some of the diver's files could not be read as they "
                                     "are:\n\n") +
                          describeProblems(problems) + damagedNote);
    offerRecovery(this, state, journal, [this] { return closedAndSaved; });
    if (closedAndSaved) return false;
    state.Loaded = true;
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
    const QSize frame = frameGeometry().size().expandedTo(size());
    // A window larger than the screen keeps its title bar on the screen.
    const int left = std::max(area.left(), area.left() + (area.width() - frame.width()) / 2);
    const int top = std::max(area.top(), area.top() + (area.height() - frame.height()) / 2);
    move(left, top);
}

void FormLog::renameDefaultDiver(AppState& s) {
    if (closedAndSaved) return;
    frmNewName rename(s, this);
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
    moveTo(entry::checkDiveNumber(ui->txtDNum->text(), ui->vsbDNum->value(), state.DiveOffset,
                                  state.DiveCount()));
}

void FormLog::moveTo(int index) {
    journalSoon();
    state.CurrentDive = std::clamp(index, 1, state.DiveCount());
    showNumber();
    settingNumber = true;
    ui->vsbDNum->setValue(state.CurrentDive);
    settingNumber = false;
    FillLists();
    ShowEntry();
    ShowTimeTotals();
    ShowAvgDepth();
}

void FormLog::GoToDive() {
    // The caller has already chosen the dive: text still being typed in a box belongs to the
    // dive shown before and must not be stored into this one when the box loses the focus.
    if (QWidget* box = focusWidget(); box && box != ui->txtDNum) {
        committedBox = box;
        committedDive = -1;
    }
    showNumber();
    if (ResultsJump) {
        ResultsJump = false;
        numberCheck();
    }
    ui->txtDNum->setFocus();
    moveTo(state.CurrentDive);
}

void FormLog::FillLists() {
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(cboCData[i]);
        cboCData[i]->clear();
        for (const ListEntry& e : state.list(i))
            cboCData[i]->addItem(e.Name);
    }
}

void FormLog::reselectLists() {
    const DiveRecord& d = state.current();
    for (int i = 0; i < 4; ++i) {
        const int at = d.ListData[static_cast<size_t>(i)];
        const QSignalBlocker quiet(cboCData[i]);
        if (at >= 0 && at < cboCData[i]->count()) {
            cboCData[i]->setCurrentIndex(at);
        } else {
            // An index the list does not hold (a list file shorter than the log expects).
            cboCData[i]->setCurrentIndex(-1);
            cboCData[i]->setEditText(QString());
        }
    }
}

void FormLog::ShowEntry() {
    showing = true;
    const DiveRecord d = state.current();
    for (int i = 0; i < 7; ++i)
        txtAData[i]->setText(entry::timeFieldText(i, d.TimeData[static_cast<size_t>(i)]));
    for (int i = 0; i < 10; ++i)
        txtBData[i]->setText(QString::number(d.DiveData[static_cast<size_t>(i)]));
    reselectLists();
    const QString comment = entry::commentForBox(d.Comments);
    if (entry::commentForBox(ui->txtDData->document()->toRawText()) != comment)
        ui->txtDData->setPlainText(comment);
    for (int i = 0; i < 8; ++i)
        chkEData[i]->setChecked(d.CondData[static_cast<size_t>(i)] != 0);
    if (d.Rating >= 0 && d.Rating <= 2) {
        optRate[d.Rating]->setChecked(true);
    } else {
        for (QRadioButton* o : optRate) {
            o->setAutoExclusive(false);
            o->setChecked(false);
            o->setAutoExclusive(true);
        }
    }
    ui->lblTotal->setText(QString::number(state.DiveCount()));
    DrawThumbnail();
    showing = false;
}

void FormLog::ShowTimeTotals() {
    const LogTotals t = totalsUpTo(state, state.CurrentDive);
    ui->lblTime->setText(timeToDateText(t.minutes));
    ui->lblAvgTime->setText(QString::number(t.avgTime()));
}

void FormLog::ShowAvgDepth() {
    ui->lblAvgDepth->setText(QString::number(totalsUpTo(state, state.CurrentDive).avgDepth()));
}

// ---------------------------------------------------------------------------------------
// Entry commands

void FormLog::NewEntry() {
    commitEdit();
    if (!AppendEntry(state)) {
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("This log already holds %1 dives, the most it can hold. "
                                     "No entry was added.")
                          .arg(MaxDives));
        return;
    }
    journalSoon();
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
    entry::clearDive(state.current());
    ShowEntry();
    showing = true;
    for (int i = 0; i < 3; ++i)
        txtAData[i]->clear();
    showing = false;
    ShowTimeTotals();
    ShowAvgDepth();
    journalSoon();
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
    RemoveEntry(state);
    if (results) results->diveRemoved(removed);
    journalSoon();
    ui->lblTotal->setText(QString::number(state.DiveCount()));
    setScrollRange();
    showNumber();
    ShowEntry();
    // The figures run up to the shown dive, which is now another one.
    ShowTimeTotals();
    ShowAvgDepth();
}

bool FormLog::DiveProfile() {
    if (entry::profileRefused(state.current())) {
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
    frmProfile profile(state, this);
    if (profile.fitsScreen()) profile.exec();
    ShowEntry(); // the dive may have a new profile now
    journalSoon();
}

// ---------------------------------------------------------------------------------------
// Entry fields

void FormLog::commitEdit() {
    QWidget* box = state.Loaded ? focusWidget() : nullptr;
    if (!box) return;
    focusLost(box);
    // The box still holds the focus; when it really loses it, possibly after the command has
    // moved to another dive, its text belongs to the dive it was checked for.
    if (box != ui->txtDNum) {
        committedBox = box;
        committedDive = state.CurrentDive;
    }
}

bool FormLog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (userFocusChange(event)) {
            committedBox = nullptr;
            focusGained(watched);
            const bool byMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            clickedInto = !byMouse                  ? nullptr
                          : watched == ui->txtDData ? ui->txtDData->viewport()
                                                    : qobject_cast<QLineEdit*>(watched);
        }
        break;
    case QEvent::FocusOut:
        if (!userFocusChange(event)) break;
        if (watched == committedBox) {
            committedBox = nullptr;
            if (committedDive != state.CurrentDive) break;
        }
        focusLost(watched);
        break;
    case QEvent::MouseButtonPress:
        if (const int i = indexIn(imgRate, watched); i >= 0) optRate[i]->setChecked(true);
        if (watched == clickedInto) {
            // The click that entered the box selects its whole text rather than placing the
            // cursor, so typing replaces the value as it does after Tab.
            clickedInto = nullptr;
            if (auto* line = qobject_cast<QLineEdit*>(watched))
                line->selectAll();
            else
                ui->txtDData->selectAll();
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        // A click on the small picture: released with the left button over it.
        if (watched == ui->picProfile) {
            const auto* click = static_cast<QMouseEvent*>(event);
            if (click->button() == Qt::LeftButton &&
                ui->picProfile->rect().contains(click->position().toPoint()))
                openProfile();
            return true;
        }
        break;
    case QEvent::Paint:
        if (watched == ui->picProfile) paintThumbnail();
        break;
    case QEvent::Resize:
        if (watched == ui->picProfile) DrawThumbnail();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FormLog::focusGained(QObject* box) {
    if (box == ui->txtDNum) {
        ui->txtDNum->selectAll();
    } else if (const int a = indexIn(txtAData, box); a >= 0) {
        txtAData[a]->selectAll();
    } else if (const int b = indexIn(txtBData, box); b >= 0) {
        txtBData[b]->selectAll();
        SavedBottomTime = 0;
        SavedMaxDepth = 0;
        const int16_t value = numbers::toInt16(numbers::roundedValue(txtBData[b]->text()));
        if (b == field::BottomTime)
            SavedBottomTime = value;
        else if (b == field::MaxDepth)
            SavedMaxDepth = value;
    } else if (box == ui->txtDData) {
        ui->txtDData->selectAll();
    }
}

void FormLog::focusLost(QObject* box) {
    journalSoon();
    if (box == ui->txtDNum)
        numberCheck();
    else if (const int a = indexIn(txtAData, box); a >= 0)
        timeCheck(a);
    else if (const int b = indexIn(txtBData, box); b >= 0)
        profileCheck(b);
    else if (const int c = indexIn(cboCData, box); c >= 0)
        listCheck(c);
}

void FormLog::timeCheck(int i) {
    const int16_t previous =
        state.Dives[static_cast<size_t>(state.CurrentDive - 1)].TimeData[static_cast<size_t>(i)];
    const entry::TimeFieldOutcome out = entry::checkTimeField(i, txtAData[i]->text(), previous);
    if (!out.store) {
        txtAData[i]->clear();
        return;
    }
    state.current().TimeData[static_cast<size_t>(i)] = out.value;
    txtAData[i]->setText(out.text);
}

void FormLog::numberChanged(int i) {
    QLineEdit* box = txtBData[i];
    const QString text = box->text();
    if (!showing) {
        const int16_t previous = state.Dives[static_cast<size_t>(state.CurrentDive - 1)]
                                     .DiveData[static_cast<size_t>(i)];
        const entry::NumberFieldOutcome out = entry::checkNumberField(text, previous);
        if (out.replace) {
            box->setText(out.text); // stored by the change this makes
            return;
        }
    }
    if (i == field::Visibility) {
        const entry::VisibilityOutcome viz = entry::syncVisibility(text);
        settingViz = true;
        ui->hsbViz->setValue(viz.position);
        settingViz = false;
        if (viz.clearBox && !text.isEmpty()) {
            box->clear(); // stores 0 through the change this makes
            return;
        }
    }
    // A record is filled in from itself; storing its values again could only spoil one that
    // a file brought in beyond the usual ranges.
    if (!showing)
        state.current().DiveData[static_cast<size_t>(i)] =
            numbers::toInt16(numbers::roundedValue(text));
    if (i == field::BottomTime)
        ShowTimeTotals();
    else if (i == field::MaxDepth)
        ShowAvgDepth();
}

void FormLog::visibilityMoved(int value) {
    if (!settingViz) txtBData[field::Visibility]->setText(QString::number(value));
}

void FormLog::profileCheck(int i) {
    if (i != field::BottomTime && i != field::MaxDepth) return;
    DiveRecord& d = state.current();
    if (!entry::profileWarningNeeded(txtBData[field::BottomTime]->text(),
                                     txtBData[field::MaxDepth]->text(), SavedBottomTime,
                                     SavedMaxDepth, d.ProfileNum))
        return;
    if (ui::askYesNo(this, QStringLiteral("WARNING!"),
                     QStringLiteral("This will permanently delete the entered profile.  Are you "
                                    "sure you want to continue?")) != ui::Answer::Yes) {
        const int16_t saved = i == field::BottomTime ? SavedBottomTime : SavedMaxDepth;
        txtBData[i]->setText(QString::number(saved));
        return;
    }
    d.ProfileNum = 0;
    DrawThumbnail();
}

void FormLog::listCheck(int i) {
    QComboBox* box = cboCData[i];
    const QString text = box->currentText();
    if (text.isEmpty()) return;
    QStringList names;
    for (int p = 0; p < box->count(); ++p)
        names << box->itemText(p);
    // Text typed over a chosen entry no longer counts as that entry.
    const int at = box->currentIndex();
    const int selected = at >= 0 && box->itemText(at) == text ? at : -1;
    int t = entry::listPositionFor(selected, names, text);
    if (t == -1) {
        t = lists::AddListEntry(state, i, text);
        if (t < 0) {
            ui::showError(this, QStringLiteral("Error"),
                          QStringLiteral("This list is full; \"%1\" was not added.").arg(text));
            reselectLists();
            return;
        }
        FillLists();
    }
    state.current().ListData[static_cast<size_t>(i)] = static_cast<int16_t>(t);
    reselectLists();
}

void FormLog::commentsChanged() {
    if (showing) return;
    // The raw text: the plain text would also turn no-break spaces into spaces.
    const QString text = entry::commentFromBox(ui->txtDData->document()->toRawText());
    if (!text.isEmpty()) state.current().Comments = text;
}

// ---------------------------------------------------------------------------------------
// Profile picture

void FormLog::DrawThumbnail() {
    thumbLines.clear();
    const DiveRecord& d = state.current();
    const QSize area = ui->picProfile->contentsRect().size();
    // A profile number the profile file does not hold draws nothing.
    if (d.ProfileNum > 0 && d.ProfileNum < static_cast<int>(state.Profiles.size()))
        thumbLines = entry::thumbnailLines(
            state.Profiles[static_cast<size_t>(d.ProfileNum)], d.DiveData[field::BottomTime],
            d.DiveData[field::MaxDepth], area.width(), area.height());
    ui->picProfile->update();
}

void FormLog::journalSoon() {
    if (state.Loaded && !journalTimer.isActive()) journalTimer.start();
}

void FormLog::paintThumbnail() {
    QPainter p(ui->picProfile);
    const QRect inner = ui->picProfile->contentsRect();
    p.fillRect(inner, Qt::white);
    p.translate(inner.topLeft());
    p.setClipRect(QRect(QPoint(0, 0), inner.size()));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x10, 0x3c, 0x8c), 2));
    p.drawLines(thumbLines.data(), static_cast<int>(thumbLines.size()));
}

// ---------------------------------------------------------------------------------------
// Menus and closing

void FormLog::openListEditor(int which) {
    commitEdit();
    if (which == field::Location) {
        frmLocation editor(state, this);
        editor.exec();
    } else {
        state.ListKind = static_cast<int16_t>(which); // 1 types, 2 buddies, 3 gear
        frmData editor(state, this);
        editor.exec();
    }
    FillLists();
    reselectLists();
    journalSoon();
}

void FormLog::openChart() {
    commitEdit();
    closeResults();
    frmChart chart(state, this);
    if (chart.exec() != QDialog::Accepted) return;
    results = new frmResults(state, this);
    connect(results, &frmResults::printRequested, this, &FormLog::openPrint);
    results->setPrintAvailable(true);
    connect(results, &frmResults::goToDive, this, [this] {
        ResultsJump = true;
        GoToDive();
    });
    // Queued, so the results window has gone before the selection dialog comes up.
    connect(results, &frmResults::changeRequested, this, &FormLog::openChart, Qt::QueuedConnection);
    results->show();
}

void FormLog::closeResults() {
    if (results) results->close();
}

void FormLog::openUrl(const QString& link) {
    ui::platform().openUrl(QUrl(link));
}

void FormLog::openPrint() {
    commitEdit(); // what was typed last is printed too
    frmPrint dialog(state, this);
    dialog.exec();
}

void FormLog::showAbout() {
    frmAbout about(this);
    about.exec();
}

// ---------------------------------------------------------------------------------------
// Several divers

void FormLog::chooseDiver() {
    // Closing the dialog by its frame keeps the default diver read from the settings.
    frmMulti select(state, this);
    select.exec();
}

void FormLog::changeDiver() {
    commitEdit();
    if (state.Loaded) {
        // The open diver stays open when his files cannot be written, so nothing is lost.
        journalTimer.stop();
        const FileProblems problems = saveChecked(true);
        if (problems.empty()) journal.saved();
        if (!problems.empty()) {
            ui::showError(this, QStringLiteral("Error"),
                          QStringLiteral("The log could not be saved, so the diver stays "
                                         "open:\n\n") +
                              describeProblems(problems));
            return;
        }
    }
    state.Loaded = false;
    startUp();
}

void FormLog::openOptions() {
    commitEdit();
    closeResults();
    frmOptions options(state, this);
    options.exec();
    if (closedAndSaved) return; // closed by a signal: saved already, no diver to choose
    showNumber();
    if (state.MultiFlag == 1) changeDiver();
    ui->mnuChDiver->setVisible(state.MultiFlag == 1);
}

bool FormLog::saveForExit(bool mayCancel) {
    // Before the files were opened memory holds no log: saving would empty them.
    if (!state.Loaded) return true;
    journalTimer.stop();
    const FileProblems problems = saveChecked(mayCancel);
    if (problems.empty()) {
        journal.saved();
        return true;
    }
    journal.update(); // the session's work is kept there until a save succeeds
    const QString list = describeProblems(problems);
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

FileProblems FormLog::saveChecked(bool mayAsk) {
    const std::vector<QString> changed = ChangedOnDisk(state);
    if (changed.empty()) return SaveLog(state);
    const FileSet kept = KeepBothNames(state.Files);
    const auto keptNames = kept.names();
    const QString question =
        QStringLiteral("Another program changed %1 since Reefbook opened the log. Replace "
                       "with the dives shown here?\n\nNo keeps both: the changed files stay as "
                       "they are, and the log shown here is saved as %2.")
            .arg(QStringList(changed.begin(), changed.end()).join(QStringLiteral(", ")),
                 QStringList(keptNames.begin(), keptNames.end()).join(QStringLiteral(", ")));
    if (mayAsk && ui::askYesNo(this, QStringLiteral("WARNING!"), question) == ui::Answer::Yes)
        return SaveLog(state);
    return SaveLogAs(state, kept);
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
