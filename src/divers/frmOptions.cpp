#include "frmOptions.h"
#include "ui_frmOptions.h"


#include "settings/DiverOps.h"
#include "settings/Settings.h"
#include "store/AppState.h"
#include "ui/Placement.h"
#include "ui/Platform.h"

#include <QLayout>
#include <QShowEvent>

frmOptions::frmOptions(AppState& s, QWidget* parent)
    : QDialog(parent), state(s), ui(std::make_unique<Ui::frmOptions>()) {
    ui->setupUi(this);
    // As tall as its text needs at a comfortable width, no empty band above Close.
    ui->lblExplain->setMinimumWidth(340);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->txtOffset->setText(QString::number(state.DiveOffset));
    (state.MultiFlag == 1 ? ui->optMulti : ui->optSingle)->setChecked(true);
    connect(ui->optMulti, &QRadioButton::toggled, this, [this](bool on) {
        if (on) state.MultiFlag = 1;
    });
    connect(ui->optSingle, &QRadioButton::toggled, this, [this](bool on) {
        if (on) state.MultiFlag = 0;
    });
    connect(ui->txtOffset, &QLineEdit::textChanged, this, &frmOptions::offsetChanged);
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmOptions::cmdCloseClick);
}

frmOptions::~frmOptions() = default;

void frmOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred) {
        centred = true;
        ui::centreOnScreen(this);
    }
}

void frmOptions::offsetChanged(const QString& text) {
    const options::OffsetCheck check = options::checkOffset(text);
    if (check.kind == options::OffsetCheck::Unchanged) return;
    if (check.kind == options::OffsetCheck::OutOfRange) {
        ui::showError(this, QStringLiteral("Error"), QStringLiteral("Value out of range"));
        ui->txtOffset->setText(QStringLiteral("0")); // comes back here and sets the offset to 0
        ui->txtOffset->setFocus();
        ui->txtOffset->selectAll(); // the next key replaces the 0
        return;
    }
    state.DiveOffset = check.value;
}

void frmOptions::cmdCloseClick() {
    settings::saveOptions(state.DiveOffset, state.MultiFlag);
    accept();
}
