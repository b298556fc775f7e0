#include "frmMulti.h"
#include "ui_frmMulti.h"

#include "frmNewDiver.h"

#include "divers/DiverOps.h"
#include "divers/DiverList.h"
#include "store/FileIO.h"
#include "ui/Placement.h"
#include "ui/Platform.h"

#include <QShowEvent>

namespace divers {

namespace {
const QString DefaultMark = QStringLiteral(" - Default");

void report(QWidget* parent, const QString& what, const store::FileProblems& problems) {
    if (!problems.empty())
        ui::showError(parent, QStringLiteral("Error"), what + store::describeProblems(problems));
}
} // namespace

frmMulti::frmMulti(store::AppState& s, QWidget* parent)
    : QDialog(parent), state(s), ui(std::make_unique<Ui::frmMulti>()) {
    ui->setupUi(this);
    connect(ui->cmdOkay, &QPushButton::clicked, this, &frmMulti::cmdOkayClick);
    connect(ui->lstDivers, &QListWidget::itemDoubleClicked, this, &frmMulti::cmdOkayClick);
    connect(ui->cmdNew, &QPushButton::clicked, this, &frmMulti::cmdNewClick);
    connect(ui->cmdDefault, &QPushButton::clicked, this, &frmMulti::cmdDefaultClick);
    connect(ui->cmdDel, &QPushButton::clicked, this, &frmMulti::cmdDelClick);

    report(parent, QStringLiteral("The list of divers could not be read whole:\n\n"),
           divers::LoadDiverList(state));
    // The diver who is open is the one offered (at start-up that is the default diver).
    FillDiverList(openPosition());
    // Placed before it is first shown, so the window manager frames it where it was put.
    adjustSize();
    ui::centreOnScreen(this);
}

frmMulti::~frmMulti() = default;

void frmMulti::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->lstDivers->setFocus();
}

int frmMulti::openPosition() const {
    const int count = static_cast<int>(state.DiverList.size());
    for (int p = 1; p <= count; ++p)
        if (state.DiverList[static_cast<size_t>(p - 1)].Files.LogFile == state.Files.LogFile)
            return p;
    return 0;
}

void frmMulti::done(int result) {
    const int count = static_cast<int>(state.DiverList.size());
    if (result != QDialog::Accepted && openPosition() == 0 && state.DefaultDiver >= 1 &&
        state.DefaultDiver <= count) {
        const store::DiverEntry& d = state.DiverList[static_cast<size_t>(state.DefaultDiver - 1)];
        state.DiverName = d.Name;
        state.Files = d.Files;
    }
    QDialog::done(result);
}

void frmMulti::FillDiverList(int selectPosition) {
    ui->lstDivers->clear();
    const int count = static_cast<int>(state.DiverList.size());
    for (int p = 1; p <= count; ++p) {
        const QString& name = state.DiverList[static_cast<size_t>(p - 1)].Name;
        ui->lstDivers->addItem(p == state.DefaultDiver ? name + DefaultMark : name);
    }
    if (selectPosition < 1 || selectPosition > count) selectPosition = state.DefaultDiver;
    if (selectPosition >= 1 && selectPosition <= count)
        ui->lstDivers->setCurrentRow(selectPosition - 1);
}

int frmMulti::selectedPosition() const {
    const QListWidgetItem* item = ui->lstDivers->currentItem();
    if (!item || !item->isSelected()) return 0;
    return ui->lstDivers->row(item) + 1;
}

void frmMulti::cmdOkayClick() {
    report(this, QStringLiteral("The list of divers could not be saved:\n\n"),
           divers::SelectDiver(state, selectedPosition()));
    accept();
}

void frmMulti::cmdNewClick() {
    frmNewDiver add(state, this);
    add.exec();
    FillDiverList();
}

void frmMulti::cmdDefaultClick() {
    const int position = selectedPosition();
    if (position == 0) return;
    const store::FileProblems problems = divers::SetDefault(state, position);
    FillDiverList();
    report(this, QStringLiteral("The list of divers could not be saved:\n\n"), problems);
}

void frmMulti::cmdDelClick() {
    const int position = selectedPosition();
    switch (divers::checkDelete(state, position)) {
    case divers::DeleteCheck::NoSelection:
        return;
    case divers::DeleteCheck::IsDefault:
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("You can not delete the Default Diver."));
        return;
    case divers::DeleteCheck::Ok:
        break;
    }
    // The warning says where the files go: to the Trash, from where they can be restored,
    // or, with no Trash to take them, gone for good.
    const QString warning =
        store::fileio::trashAvailable()
            ? QStringLiteral("This will move this diver's records to the Trash.  Are you sure "
                             "you want to continue?")
            : QStringLiteral("This will permanently delete this divers records.  Are you sure "
                             "you want to continue?");
    if (ui::askYesNo(this, QStringLiteral("WARNING!"), warning) != ui::Answer::Yes) return;
    const store::FileProblems problems = divers::DeleteDiver(state, position);
    FillDiverList();
    report(this, QStringLiteral("Not every file of the diver could be removed:\n\n"), problems);
}

} // namespace divers
