#include "FormLog.h"
#include "ui_FormLog.h"

#include "EntryFields.h"
#include "divelist/frmDiveList.h"
#include "UndoMenu.h"
#include "frmAbout.h"

#include "interchange/ExportMenu.h"
#include "interchange/ImportMenu.h"
#include "lists/frmData.h"
#include "lists/frmLocation.h"
#include "output/frmPrint.h"
#include "search/frmChart.h"
#include "search/frmResults.h"
#include "session/Session.h"
#include "stats/frmStats.h"
#include "ui/HelpWindow.h"
#include "ui/Platform.h"

#include <QUrl>

namespace app {

// The main window's menus, the windows they open, and how the window follows the log.

namespace {

const QString MailLink = QStringLiteral("mailto:reefbook@example.org");
const QString WebLink = QStringLiteral("https://reefbook.example.org/");

} // namespace

void FormLog::setUpMenus() {
    ui->mnuEntry->insertSeparator(ui->mnuChart)->setObjectName(QStringLiteral("mnuSeparator"));
    interchange::addExportActions(ui->mnuFile, ui->mnuExit, this, state);

    // Edit, after File.
    new UndoMenu(*this, ui->mnuEntry, session->undoStack(), [this] { commitEdit(); });

    interchange::addImportAction(
        ui->mnuFile, findChild<QAction*>(QStringLiteral("mnuExportUddf")), this, state,
        {[this] { commitEdit(); },
         [this](const store::AppState& imported, const auto& report) {
             session->importDives(imported, report.firstIndex, report.replacedBlank,
                                  QStringLiteral("Import of %1 Dives").arg(report.added));
             moveTo(report.firstIndex);
         }});
    connect(ui->mnuExit, &QAction::triggered, this, &FormLog::close);
    connect(ui->mnuNew, &QAction::triggered, this, &FormLog::NewEntry);
    connect(ui->mnuClear, &QAction::triggered, this, &FormLog::ClearEntry);
    connect(ui->mnuDelete, &QAction::triggered, this, &FormLog::DeleteEntry);
    connect(ui->mnuAbout, &QAction::triggered, this, &FormLog::showAbout);
    connect(ui->mnuEmail, &QAction::triggered, this, [this] { openUrl(MailLink); });
    connect(ui->mnuWebPage, &QAction::triggered, this, [this] { openUrl(WebLink); });
    connect(ui->mnuChart, &QAction::triggered, this, &FormLog::openChart);
    auto* mnuDiveList = new QAction(QStringLiteral("Dive &List"), ui->mnuEntry);
    mnuDiveList->setObjectName(QStringLiteral("mnuDiveList"));
    mnuDiveList->setShortcut(Qt::Key_F5);
    mnuDiveList->setShortcutContext(Qt::ApplicationShortcut); // like F1-F4, from every window
    const QList<QAction*> entry = ui->mnuEntry->actions();
    const qsizetype chart = entry.indexOf(ui->mnuChart);
    ui->mnuEntry->insertAction(chart + 1 < entry.size() ? entry[chart + 1] : nullptr, mnuDiveList);
    connect(mnuDiveList, &QAction::triggered, this, &FormLog::openDiveList);
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
    QAction* mnuStats = ui->mnuEntry->addAction(QStringLiteral("&Statistics"));
    mnuStats->setObjectName(QStringLiteral("mnuStats"));
    mnuStats->setShortcut(Qt::Key_F6);
    mnuStats->setShortcutContext(Qt::ApplicationShortcut); // like F1-F4, from every window
    connect(mnuStats, &QAction::triggered, this, [this] {
        stats::frmStats::showFor(state, this);
        showSelection(chartSelection);
        offerListDives(diveList != nullptr);
    });
}

// The window follows the log: what the entry boxes wrote needs only the figures; anything
// else (an undo, another window) shows the dive again.
void FormLog::listenToSession() {
    using session::Session;
    connect(session, &Session::diveChanged, this, [this](int index) {
        if (!state.Loaded || index != state.CurrentDive) {
            // One command may change thousands of dives (the dive list's bulk edits): the
            // totals are summed once, when it is done.
            if (index <= state.CurrentDive) totalsStale = true;
            return;
        }
        if (!fields->writing()) fields->show();
        DrawThumbnail();
        ShowTimeTotals();
        ShowAvgDepth();
    });
    connect(session, &Session::modified, this, [this] {
        if (!totalsStale) return;
        totalsStale = false;
        ShowTimeTotals();
        ShowAvgDepth();
    });
    auto countChanged = [this] {
        if (state.Loaded && !ownChange) showAll();
    };
    connect(session, &Session::divesInserted, this, countChanged);
    connect(session, &Session::divesRemoved, this, countChanged);
    connect(session, &Session::listChanged, this, [this] {
        if (!state.Loaded) return;
        FillLists();
        fields->reselectLists();
    });
    connect(session, &Session::offsetChanged, this, [this] {
        if (state.Loaded) showNumber();
    });
    // The statistics follow the log as it changes, when they are open.
    connect(session, &Session::modified, this, [this] {
        if (auto* stats = findChild<stats::frmStats*>(); stats && stats->isVisible())
            stats->refresh();
    });
    connect(session, &Session::revealDive, this, [this](int index) {
        fields->detachFocus();
        moveTo(index);
    });
}

// ---------------------------------------------------------------------------------------
// Menus and closing

void FormLog::openListEditor(int which) {
    commitEdit();
    if (which == store::field::Location) {
        lists::frmLocation editor(*session, this);
        editor.exec();
    } else {
        lists::frmData editor(*session, which, this); // 1 types, 2 buddies, 3 gear
        editor.exec();
    }
    FillLists();
    fields->reselectLists();
}

void FormLog::openChart() {
    commitEdit();
    closeResults();
    search::frmChart chart(state, this);
    if (chart.exec() != QDialog::Accepted) return;
    const std::vector<int16_t>& found = chart.found();
    showSelection(std::vector<int>(found.begin() + 1, found.end()));
    results = new search::frmResults(state, found, this);
    connect(results, &search::frmResults::printRequested, this, &FormLog::openPrint);
    connect(results, &search::frmResults::forgotten, this, [this] { showSelection(std::nullopt); });
    results->setPrintAvailable(true);
    results->setSearched(chart.searched());
    connect(results, &search::frmResults::goToDive, this, &FormLog::GoToDive);
    // Queued, so the results window has gone before the selection dialog comes up.
    connect(results, &search::frmResults::changeRequested, this, &FormLog::openChart,
            Qt::QueuedConnection);
    results->show();
}

void FormLog::openDiveList() {
    commitEdit();
    if (!diveList) {
        diveList = new divelist::frmDiveList(*session, this);
        connect(diveList, &divelist::frmDiveList::showDive, this, &FormLog::showDive);
        // The results keep naming the dives they found, as after Delete here.
        connect(diveList, &divelist::frmDiveList::divesDeleted, this,
                [this](const std::vector<int>& dives) {
                    for (auto d = dives.rbegin(); results && d != dives.rend(); ++d)
                        results->diveRemoved(*d);
                });
        connect(diveList, &divelist::frmDiveList::offerChanged, this, &FormLog::offerListDives);
        connect(diveList, &divelist::frmDiveList::printRequested, this,
                [this](const std::vector<int16_t>& dives) {
                    openPrint(std::vector<int>(dives.begin(), dives.end()));
                });
        diveList->place();
    }
    diveList->show();
    diveList->raise();
    diveList->activateWindow();
}

void FormLog::offerListDives(bool open) {
    auto* stats = findChild<stats::frmStats*>();
    if (!stats || !diveList) return;
    using Scope = stats::frmStats::Scope;
    const std::vector<int> selected = open ? diveList->selectedDives() : std::vector<int>{};
    open ? stats->setScope(Scope::ListFiltered, diveList->shownDives())
         : stats->clearScope(Scope::ListFiltered);
    selected.empty() ? stats->clearScope(Scope::ListSelected)
                     : stats->setScope(Scope::ListSelected, selected);
}

void FormLog::showDive(int index) { ui->vsbDNum->setValue(index); }

void FormLog::closeResults() {
    if (results) results->close();
}

void FormLog::openUrl(const QString& link) { ui::platform().openUrl(QUrl(link)); }

void FormLog::openPrint(const std::vector<int>& offered) {
    commitEdit(); // what was typed last is printed too
    output::frmPrint dialog(state, this);
    if (!offered.empty()) dialog.offerDives(offered);
    dialog.exec();
}

void FormLog::showSelection(const std::optional<std::vector<int>>& dives) {
    if (&dives != &chartSelection) chartSelection = dives;
    auto* stats = findChild<stats::frmStats*>();
    if (!stats) return;
    if (dives)
        stats->setScope(stats::frmStats::Scope::ChartSelection, *dives);
    else
        stats->clearScope(stats::frmStats::Scope::ChartSelection);
}

void FormLog::showAbout() {
    frmAbout about(this);
    about.exec();
}

} // namespace app
