#include "frmResults.h"

#include "search/DiveSearch.h"
#include "ui_frmResults.h"

#include "ui/Placement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace search {

frmResults::frmResults(const store::AppState& s, std::vector<int16_t> found, QWidget* parent)
    : QDialog(parent), state(s), flagged(std::move(found)), ui(std::make_unique<Ui::frmResults>()) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setPrintAvailable(false);

    connect(ui->cmdGoTo, &QPushButton::clicked, this, &frmResults::jump);
    connect(ui->lstFlaggedDives, &QListWidget::itemDoubleClicked, ui->cmdGoTo, &QPushButton::click);
    connect(ui->cmdPrint, &QPushButton::clicked, this, &frmResults::print);
    connect(ui->cmdChange, &QPushButton::clicked, this, [this] {
        close();
        emit changeRequested();
    });
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmResults::closeAndForget);

    Fill();
    place();
}

frmResults::~frmResults() = default;

void frmResults::place() {
    adjustSize();
    // Beside the main window, and where it hides as little of it as it can.
    if (const QWidget* main = parentWidget()) ui::placeBeside(this, main);
}

void frmResults::Fill() {
    const search::ResultFigures f = search::Figures(state, flagged);
    ui->lblMatch->setText(QString::number(f.matched));
    ui->lblTotal->setText(QString::number(f.total));
    ui->lblpercent->setText(QString::number(f.percent));
    ui->lstFlaggedDives->clear();
    for (int number : f.displayed)
        ui->lstFlaggedDives->addItem(QString::number(number));
    enablePrint();
}

void frmResults::diveRemoved(int index) {
    search::DiveRemoved(flagged, index);
    Fill();
}

void frmResults::setPrintAvailable(bool available) {
    printAvailable = available;
    enablePrint();
}

void frmResults::enablePrint() {
    ui->cmdPrint->setEnabled(printAvailable && flagged.size() > 1);
}

void frmResults::setSearched(const search::SearchedRange& range) {
    ui->lblSearched->setText(search::describeSearched(range, state.DiveOffset));
    place(); // the line may make the window taller
}

void frmResults::jump() {
    const int lines = ui->lstFlaggedDives->count();
    for (int i = 0; i < lines; ++i) {
        if (!ui->lstFlaggedDives->item(i)->isSelected()) continue;
        const size_t at = static_cast<size_t>(i) + 1;
        // The list is refreshed when a dive goes; this guards against any other way a line
        // could outlive its dive.
        if (at >= flagged.size()) break;
        const int index = flagged[at];
        if (index < 1 || index > state.DiveCount()) continue;
        emit goToDive(index);
    }
}

void frmResults::print() {
    if (flagged.size() <= 1) return;
    emit printRequested(std::vector<int>(flagged.begin() + 1, flagged.end()));
}

void frmResults::closeAndForget() {
    flagged.assign(1, 0);
    emit forgotten();
    close();
}

} // namespace search
