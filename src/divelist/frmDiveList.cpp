#include "frmDiveList.h"

#include "BulkEdit.h"
#include "DiveColumns.h"
#include "DiveSortProxy.h"
#include "DiveTableModel.h"
#include "ListSize.h"
#include "frmEditDives.h"

#include "interchange/ExchangeExport.h"
#include "output/DiveChoice.h"
#include "output/ExportFile.h"
#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "search/DiveSearch.h"
#include "session/Session.h"
#include "settings/Settings.h"
#include "ui/Placement.h"
#include "ui/Platform.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace divelist {

namespace {

const QString Section = QStringLiteral("DiveList");
// The date boxes show "any" at their lowest date: that end of the range is open.
const QDate NoDate(1900, 1, 1);

QDateEdit* dateBox(QWidget* parent, const QString& name, const QString& accessible) {
    auto* box = new QDateEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    box->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    box->setMinimumDate(NoDate);
    box->setSpecialValueText(QStringLiteral("any"));
    box->setDate(NoDate);
    box->setCalendarPopup(true);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text,
                    const QString& accessible) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(accessible);
    b->setAutoDefault(false);
    return b;
}

int32_t dayOf(const QDateEdit* box) {
    const QDate d = box->date();
    return d == NoDate ? 0 : search::DayNumber(d.month(), d.day(), d.year());
}

} // namespace

frmDiveList::frmDiveList(session::Session& s, QWidget* parent)
    : QDialog(parent), session(s), model(new DiveTableModel(s, this)),
      proxy(new DiveSortProxy(*model, this)) {
    setObjectName(QStringLiteral("frmDiveList"));
    setWindowTitle(QStringLiteral("Dive List"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setSizeGripEnabled(true);
    model->setUnits(settings::diverUnits(s.state().Files));
    buildControls();
    restoreColumns();

    connect(&session, &session::Session::currentDiveChanged, this, &frmDiveList::follow);
    connect(&session, &session::Session::logReset, this, [this] {
        saveColumns();
        model->setUnits(settings::diverUnits(session.state().Files));
        restoreColumns();
        follow(session.state().CurrentDive);
    });
    // Rows inserted, removed or moved by a sort change the figures of the selection.
    connect(proxy, &QAbstractItemModel::rowsRemoved, this, &frmDiveList::showSummary);
    connect(proxy, &QAbstractItemModel::dataChanged, this, &frmDiveList::showSummary);
    follow(session.state().CurrentDive);
    showSummary();
}

// Closing the main window ends the program without closing this one first.
frmDiveList::~frmDiveList() {
    remember();
}

void frmDiveList::remember() const {
    saveColumns();
    settings::SaveSetting(settings::AppName, Section, QStringLiteral("Geometry"),
                          QString::fromLatin1(saveGeometry().toBase64()));
}

void frmDiveList::buildControls() {
    filterText = new QLineEdit(this);
    filterText->setObjectName(QStringLiteral("txtFilter"));
    filterText->setAccessibleName(QStringLiteral("Filter"));
    filterText->setAccessibleDescription(
        QStringLiteral("Shows the dives whose location, type, buddy, gear or comment holds "
                       "this text"));
    filterText->setPlaceholderText(QStringLiteral("Location, type, buddy, gear or comment"));
    filterText->setClearButtonEnabled(true);
    ratingChoice = new QComboBox(this);
    ratingChoice->setObjectName(QStringLiteral("cboRating"));
    ratingChoice->setAccessibleName(QStringLiteral("Rating"));
    ratingChoice->addItems(
        {QStringLiteral("Any rating"), ratingWord(0), ratingWord(1), ratingWord(2)});
    fromDate = dateBox(this, QStringLiteral("dtpFrom"), QStringLiteral("From date"));
    toDate = dateBox(this, QStringLiteral("dtpTo"), QStringLiteral("To date"));

    auto* lblFilter = new QLabel(QStringLiteral("&Filter:"), this);
    lblFilter->setBuddy(filterText);
    auto* lblFrom = new QLabel(QStringLiteral("From"), this);
    lblFrom->setBuddy(fromDate);
    auto* lblTo = new QLabel(QStringLiteral("To"), this);
    lblTo->setBuddy(toDate);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(lblFilter);
    filterRow->addWidget(filterText, 1);
    filterRow->addWidget(ratingChoice);
    filterRow->addWidget(lblFrom);
    filterRow->addWidget(fromDate);
    filterRow->addWidget(lblTo);
    filterRow->addWidget(toDate);

    table = new QTableView(this);
    table->setObjectName(QStringLiteral("tblDives"));
    table->setAccessibleName(QStringLiteral("Dives"));
    table->setModel(proxy);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSortingEnabled(true);
    table->setWordWrap(false);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    // Every row as tall as one line of text: with 30000 dives the table must not ask each
    // row how tall it wants to be.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table->installEventFilter(this);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionsMovable(true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    header->setHighlightSections(false);
    connect(header, &QWidget::customContextMenuRequested, this, &frmDiveList::headerMenu);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("lblSummary"));
    summary->setAccessibleName(QStringLiteral("Selection"));
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    editButton = button(this, QStringLiteral("cmdEdit"), QStringLiteral("&Edit Selected Dives..."),
                        QStringLiteral("Edit Selected Dives"));
    deleteButton = button(this, QStringLiteral("cmdDelete"), QStringLiteral("&Delete"),
                          QStringLiteral("Delete selected dives"));
    printButton = button(this, QStringLiteral("cmdPrint"), QStringLiteral("&Print..."),
                         QStringLiteral("Print selected dives"));
    exportButton = button(this, QStringLiteral("cmdExport"), QStringLiteral("E&xport"),
                          QStringLiteral("Export selected dives"));
    auto* closeButton =
        button(this, QStringLiteral("cmdClose"), QStringLiteral("Close"), QStringLiteral("Close"));
    auto* exportMenu = new QMenu(exportButton);
    const QStringList formats = {QStringLiteral("&Text File..."), QStringLiteral("&HTML File..."),
                                 QStringLiteral("&UDDF..."), QStringLiteral("&CSV...")};
    for (int f = 0; f < formats.size(); ++f)
        connect(exportMenu->addAction(formats[f]), &QAction::triggered, this,
                [this, f] { exportSelected(f); });
    exportButton->setMenu(exportMenu);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(editButton);
    buttons->addWidget(deleteButton);
    buttons->addWidget(printButton);
    buttons->addWidget(exportButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(table, 1);
    layout->addWidget(summary);
    layout->addLayout(buttons);
    setTabOrder(filterText, ratingChoice);
    setTabOrder(ratingChoice, fromDate);
    setTabOrder(fromDate, toDate);
    setTabOrder(toDate, table);
    setTabOrder(table, editButton);

    connect(filterText, &QLineEdit::textChanged, this, &frmDiveList::filterChanged);
    connect(ratingChoice, &QComboBox::currentIndexChanged, this, &frmDiveList::filterChanged);
    connect(fromDate, &QDateEdit::dateChanged, this, &frmDiveList::filterChanged);
    connect(toDate, &QDateEdit::dateChanged, this, &frmDiveList::filterChanged);
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmDiveList::currentRowChanged);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        showSummary();
        emit offerChanged(true);
    });
    connect(editButton, &QPushButton::clicked, this, &frmDiveList::editSelected);
    connect(deleteButton, &QPushButton::clicked, this, &frmDiveList::deleteSelected);
    connect(printButton, &QPushButton::clicked, this, &frmDiveList::printSelected);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, this, [this] {
        filterText->setFocus(Qt::ShortcutFocusReason);
        filterText->selectAll();
    });
    addAction(find);
}

void frmDiveList::place() {
    const QByteArray saved = QByteArray::fromBase64(
        settings::GetSetting(settings::AppName, Section, QStringLiteral("Geometry"), QString())
            .toLatin1());
    if (!saved.isEmpty() && restoreGeometry(saved)) return;
    const QWidget* main = parentWidget();
    const QScreen* screen =
        main && main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    if (!main || !screen) return;
    // Not shown yet, the window has no frame: it will get one like the main window's. Nor has
    // its layout set its least size yet; a window sized below it would grow past the screen's
    // edge when shown.
    if (layout()) layout()->activate();
    const QSize least = minimumSize().expandedTo(minimumSizeHint());
    const QSize border = main->frameGeometry().size() - main->size();
    const QSize frame = sizeBesideMainWindow(
        screen->availableGeometry(), main->frameGeometry(),
        QSize(720, std::max(420, main->height())).expandedTo(least) + border,
        std::max(420, least.width()) + border.width());
    resize((frame - border).expandedTo(least));
    ui::placeBeside(this, main);
}

void frmDiveList::unitsChanged() {
    model->setUnits(settings::diverUnits(session.state().Files));
    showSummary();
}

std::vector<int> frmDiveList::shownDives() const {
    std::vector<int> shown;
    shown.reserve(static_cast<size_t>(proxy->rowCount()));
    for (int r = 0; r < proxy->rowCount(); ++r)
        shown.push_back(DiveTableModel::diveAt(proxy->mapToSource(proxy->index(r, 0)).row()));
    return shown;
}

void frmDiveList::closeEvent(QCloseEvent* event) {
    emit offerChanged(false);
    remember();
    QDialog::closeEvent(event);
}

bool frmDiveList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            deleteSelected();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            table->currentIndex().isValid()) {
            // Enter takes the diver to the dive in the main window.
            emit showDive(DiveTableModel::diveAt(proxy->mapToSource(table->currentIndex()).row()));
            if (QWidget* main = parentWidget()) {
                main->raise();
                main->activateWindow();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Filter and the two-way selection

void frmDiveList::filterChanged() {
    QuickFilter f;
    f.text = filterText->text();
    f.rating = ratingChoice->currentIndex() - 1;
    f.fromDay = dayOf(fromDate);
    f.toDay = dayOf(toDate);
    proxy->setFilter(f);
    showSummary();
    emit offerChanged(true);
}

void frmDiveList::follow(int dive) {
    const QModelIndex at = proxy->mapFromSource(model->index(DiveTableModel::rowOf(dive), 0));
    if (!at.isValid()) return; // filtered out: the selection stays as it is
    following = true;
    QItemSelectionModel* selection = table->selectionModel();
    // A dive already among several selected keeps the others selected.
    if (selection->isRowSelected(at.row(), QModelIndex()))
        selection->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    else
        selection->setCurrentIndex(at,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table->scrollTo(at);
    following = false;
}

void frmDiveList::currentRowChanged() {
    if (following) return;
    const QModelIndex current = table->currentIndex();
    if (!current.isValid()) return;
    const int dive = DiveTableModel::diveAt(proxy->mapToSource(current).row());
    if (dive != session.state().CurrentDive) emit showDive(dive);
}

std::vector<int> frmDiveList::selectedDives() const {
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    std::vector<std::pair<int, int>> byRow; // (row shown, dive)
    byRow.reserve(static_cast<size_t>(rows.size()));
    for (const QModelIndex& r : rows)
        byRow.emplace_back(r.row(), DiveTableModel::diveAt(proxy->mapToSource(r).row()));
    std::sort(byRow.begin(), byRow.end());
    std::vector<int> dives;
    dives.reserve(byRow.size());
    for (const auto& [row, dive] : byRow)
        dives.push_back(dive);
    return dives;
}

void frmDiveList::showSummary() {
    const std::vector<int> dives = selectedDives();
    const bool any = !dives.empty();
    summary->setText(
        QStringLiteral("%1 of %2 dives shown").arg(proxy->rowCount()).arg(model->rowCount()) +
        (any ? QStringLiteral("  \u2014  ") +
                   selectionSummary(session.state(), dives,
                                    settings::diverUnits(session.state().Files))
             : QString()));
    for (QPushButton* b : {editButton, deleteButton, printButton, exportButton})
        b->setEnabled(any);
}

// ---- Columns

void frmDiveList::restoreColumns() {
    columnsKey = session.state().Files.LogFile;
    QHeaderView* header = table->horizontalHeader();
    const QByteArray saved = QByteArray::fromBase64(
        settings::GetSetting(settings::AppName, Section, columnsKey, QString()).toLatin1());
    if (!saved.isEmpty() && header->restoreState(saved)) return;
    for (int c = 0; c < ColumnCount; ++c) {
        header->moveSection(header->visualIndex(c), c);
        header->setSectionHidden(c, !shownByDefault(c));
    }
    // A few hundred rows tell a column's width as well as thirty thousand.
    header->setResizeContentsPrecision(200);
    table->resizeColumnsToContents();
    header->resizeSection(Comment, 260);
    table->sortByColumn(Number, Qt::AscendingOrder);
}

void frmDiveList::saveColumns() const {
    if (columnsKey.isEmpty()) return;
    settings::SaveSetting(settings::AppName, Section, columnsKey,
                          QString::fromLatin1(table->horizontalHeader()->saveState().toBase64()));
}

void frmDiveList::headerMenu(const QPoint& at) {
    QHeaderView* header = table->horizontalHeader();
    const int clicked = header->logicalIndexAt(at);
    QMenu menu(this);
    menu.setAccessibleName(QStringLiteral("Columns"));
    if (clicked >= 0) {
        const int visual = header->visualIndex(clicked);
        QAction* left = menu.addAction(QStringLiteral("Move &Left"));
        left->setEnabled(visual > 0);
        connect(left, &QAction::triggered, this, [=] { header->moveSection(visual, visual - 1); });
        QAction* right = menu.addAction(QStringLiteral("Move &Right"));
        right->setEnabled(visual < ColumnCount - 1);
        connect(right, &QAction::triggered, this, [=] { header->moveSection(visual, visual + 1); });
        connect(menu.addAction(QStringLiteral("&Fit Width")), &QAction::triggered, this,
                [=] { table->resizeColumnToContents(clicked); });
        menu.addSeparator();
    }
    for (int v = 0; v < ColumnCount; ++v) {
        const int c = header->logicalIndex(v);
        QAction* a = menu.addAction(model->headerData(c, Qt::Horizontal).toString());
        a->setCheckable(true);
        a->setChecked(!header->isSectionHidden(c));
        connect(a, &QAction::toggled, this, [=](bool on) {
            // The last column shown stays: a table without columns cannot be clicked.
            if (!on && header->count() - header->hiddenSectionCount() <= 1) return;
            header->setSectionHidden(c, !on);
            if (on && header->sectionSize(c) < 20) table->resizeColumnToContents(c);
        });
    }
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Re&set Columns")), &QAction::triggered, this, [this] {
        settings::SaveSetting(settings::AppName, Section, columnsKey, QString());
        restoreColumns();
    });
    menu.exec(header->mapToGlobal(at));
    saveColumns();
}

// ---- Actions on the selection

void frmDiveList::deleteSelected() {
    const std::vector<int> dives = selectedDives();
    if (dives.empty()) return;
    if (static_cast<int>(dives.size()) >= session.state().DiveCount()) {
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("There must always be at least one entry in a Log"));
        return;
    }
    const QString what = dives.size() == 1 ? QStringLiteral("this dive")
                                           : QStringLiteral("these %1 dives").arg(dives.size());
    if (ui::askYesNo(this, QStringLiteral("Delete Confirmation"),
                     QStringLiteral("Are you sure you want to delete %1?").arg(what)) !=
        ui::Answer::Yes)
        return;
    session.endTyping();
    std::vector<int> gone = dives;
    std::sort(gone.begin(), gone.end());
    if (session.removeEntries(
            dives, dives.size() == 1 ? QStringLiteral("Delete %1").arg(session.diveName(dives[0]))
                                     : QStringLiteral("Delete %1 Dives").arg(dives.size())))
        emit divesDeleted(gone);
}

void frmDiveList::printSelected() {
    std::vector<int16_t> list{0};
    for (int d : selectedDives())
        list.push_back(static_cast<int16_t>(d));
    if (list.size() > 1) emit printRequested(list);
}

void frmDiveList::exportSelected(int format) {
    const std::vector<int> dives = selectedDives();
    if (dives.empty()) return;
    const store::AppState& state = session.state();
    static const char* const Titles[4] = {"Text File", "HTML File", "UDDF", "CSV"};
    static const char* const Suffixes[4] = {"txt", "htm", "uddf", "csv"};
    ui::FileRequest request;
    request.title =
        QStringLiteral("Export %1 as %2").arg(dives.size()).arg(QLatin1String(Titles[format]));
    request.defaultSuffix = QLatin1String(Suffixes[format]);
    request.filter =
        QStringLiteral("%1 (*.%2)").arg(QLatin1String(Titles[format]), request.defaultSuffix);
    const QString proposed =
        output::MakeBaseName(state.DiverName) + QLatin1Char('.') + request.defaultSuffix;
    const QString path = ui::platform().saveFileName(this, request, proposed).path;
    if (path.isEmpty()) return;
    const output::ExportResult r =
        format <= 1 ? output::exportToFile(format == 0 ? output::TextFormat : output::HtmlFormat,
                                           state, path, dives, true)
                    : output::exportBytesToFile(
                          state, path,
                          interchange::exchangeDocument(
                              state, dives,
                              format == 2 ? interchange::Format::Uddf : interchange::Format::Csv,
                              settings::diverUnits(state.Files)));
    if (!r.refusal.isEmpty()) {
        ui::showError(this, QStringLiteral("Error"), r.refusal);
        return;
    }
    if (!r.written || !r.problems.empty())
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("Could not write %1:\n\n%2")
                          .arg(path, store::describeProblems(r.problems)));
}

void frmDiveList::editSelected() {
    const std::vector<int> dives = selectedDives();
    if (dives.empty()) return;
    frmEditDives dialog(session.state(), static_cast<int>(dives.size()), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const BulkEdit edit = dialog.edit();
    if (edit.isEmpty()) return;
    session.endTyping();
    session.editDives(dives, QStringLiteral("Edit %1 Dives").arg(dives.size()),
                      [&edit](store::DiveRecord& d) { edit.apply(d); });
}

} // namespace divelist
