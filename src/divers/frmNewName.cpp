#include "frmNewName.h"
#include "ui_frmNewName.h"

#include "settings/Settings.h"
#include "store/AppState.h"
#include "ui/Placement.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace divers {

frmNewName::frmNewName(store::AppState& log, QWidget* parent)
    : QDialog(parent), state(log), ui(std::make_unique<Ui::frmNewName>()) {
    ui->setupUi(this);
    ui->txtName->setText(state.DiverName);
    ui->txtName->selectAll();
    ui->txtName->setFocus();
    connect(ui->cmdOkay, &QPushButton::clicked, this, &frmNewName::cmdOkayClick);
    // The dialog comes up before the main window is placed, so it is centred on the screen
    // rather than on a parent, and before it is first shown, so the window manager frames it
    // where it was put.
    adjustSize();
    ui::centreOnScreen(this);
}

frmNewName::~frmNewName() = default;

void frmNewName::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    ui->txtName->selectAll();
}

void frmNewName::cmdOkayClick() {
    QString name = ui->txtName->text();
    if (name.isEmpty())
        name = QStringLiteral("Default");
    state.DiverName = name;
    settings::saveDefaultName(name);
    accept();
}

} // namespace divers
