#include "frmOptions.h"
#include "ui_frmOptions.h"

#include "Centre.h"

#include "divelist/UnitsChoice.h"
#include "settings/DiverOps.h"
#include "settings/Settings.h"
#include "session/Session.h"
#include "store/AppState.h"
#include "ui/Platform.h"

#include <QLayout>
#include <QShowEvent>

frmOptions::frmOptions(session::Session& s, QWidget* parent)
    : QDialog(parent), session(s), ui(std::make_unique<Ui::frmOptions>()) {
    ui->setupUi(this);
    // As tall as its text needs at a comfortable width, no empty band above Close.
    ui->lblExplain->setMinimumWidth(340);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    const AppState& state = session.state();
    ui->txtOffset->setText(QString::number(state.DiveOffset));
    (state.MultiFlag == 1 ? ui->optMulti : ui->optSingle)->setChecked(true);
    // After the offset and the text about its box.
    divelist::addUnitsChoice(ui->layMain, 4, state.Files);
    connect(ui->optMulti, &QRadioButton::toggled, this, [this](bool on) {
        if (on) session.setMultiFlag(1);
    });
    connect(ui->optSingle, &QRadioButton::toggled, this, [this](bool on) {
        if (on) session.setMultiFlag(0);
    });
    connect(ui->txtOffset, &QLineEdit::textChanged, this, &frmOptions::offsetChanged);
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmOptions::cmdCloseClick);
}

frmOptions::~frmOptions() = default;

void frmOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred) {
        centred = true;
        centreOnScreen(this);
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
    session.setOffset(check.value);
}

void frmOptions::cmdCloseClick() {
    session.endTyping();
    settings::saveOptions(session.state().DiveOffset, session.state().MultiFlag);
    accept();
}
