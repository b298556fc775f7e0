#include "frmNewDiver.h"
#include "ui_frmNewDiver.h"


#include "divers/DiverList.h"
#include "ui/Placement.h"
#include "ui/Platform.h"

#include <QShowEvent>

namespace divers {

frmNewDiver::frmNewDiver(store::AppState& s, QWidget* parent)
    : QDialog(parent), state(s), ui(std::make_unique<Ui::frmNewDiver>()) {
    ui->setupUi(this);
    lists = {ui->cboLoc, ui->cboType, ui->cboBud, ui->cboGear};
    for (QComboBox* list : lists) {
        list->clear();
        list->addItem(QStringLiteral("New"));
        for (const store::DiverEntry& d : state.DiverList)
            list->addItem(d.Name);
        list->setCurrentIndex(0);
    }
    connect(ui->comOkay, &QPushButton::clicked, this, &frmNewDiver::comOkayClick);
    connect(ui->comCxl, &QPushButton::clicked, this, &QDialog::reject);
    // Placed before it is first shown, so the window manager frames it where it was put.
    adjustSize();
    ui::centreOnScreen(this);
}

frmNewDiver::~frmNewDiver() = default;

void frmNewDiver::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->txtName->setFocus();
}

void frmNewDiver::comOkayClick() {
    QString name;
    switch (divers::checkNewName(state, ui->txtName->text(), &name)) {
    case divers::NameCheck::Empty:
        return;
    case divers::NameCheck::Used:
        ui::showError(this, QStringLiteral("Sorry!"),
                      QStringLiteral("This name has already been used.  Enter a new name or "
                                     "change this one."));
        return;
    case divers::NameCheck::NotStorable:
        ui::showError(this, QStringLiteral("Sorry!"),
                      QStringLiteral("This name holds characters the diver files cannot store.  "
                                     "Use letters of Western European languages only."));
        return;
    case divers::NameCheck::Ok:
        break;
    }
    std::array<int, 4> shared{};
    for (size_t k = 0; k < 4; ++k)
        shared[k] = std::max(0, lists[k]->currentIndex()); // row k names diver k
    divers::AddDiver(state, name, shared);
    accept();
}

} // namespace divers
