#include "frmOptions.h"
#include "ui_frmOptions.h"

#include "divelist/UnitsChoice.h"
#include "divers/DiverOps.h"
#include "settings/Settings.h"
#include "session/Session.h"
#include "store/AppState.h"
#include "ui/Placement.h"
#include "ui/Platform.h"

#include <QLayout>
#include <QEvent>
#include <QTimer>

namespace divers {

frmOptions::frmOptions(session::Session& s, QWidget* parent)
    : QDialog(parent), session(s), ui(std::make_unique<Ui::frmOptions>()) {
    ui->setupUi(this);
    // As tall as its text needs at a comfortable width, no empty band above Close.
    ui->lblExplain->setMinimumWidth(340);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    const store::AppState& state = session.state();
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
    ui->txtOffset->installEventFilter(this);
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmOptions::cmdCloseClick);
    // Placed before it is first shown, so the window manager frames it where it was put.
    adjustSize();
    ui::centreOnScreen(this);
}

frmOptions::~frmOptions() = default;

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->txtOffset && event->type() == QEvent::FocusOut) checkOffsetBox();
    return QDialog::eventFilter(watched, event);
}

void frmOptions::offsetChanged(const QString& text) {
    // A number on its way ("-", "3000" before the last digit) is judged when the box is left;
    // every whole offset typed takes effect at once.
    const OffsetCheck check = checkOffset(text);
    if (check.kind == OffsetCheck::Accepted) session.setOffset(check.value);
}

bool frmOptions::checkOffsetBox() {
    if (checkOffset(ui->txtOffset->text()).kind != OffsetCheck::OutOfRange) return true;
    ui::showError(
        this, QStringLiteral("Error"),
        QStringLiteral("Value out of range: enter a whole number from 0 to %1.").arg(MaxOffset));
    ui->txtOffset->setText(QStringLiteral("0")); // sets the offset to 0
    ui->txtOffset->setFocus();
    ui->txtOffset->selectAll(); // the next key replaces the 0
    offsetJustRefused = true;
    QTimer::singleShot(0, this, [this] { offsetJustRefused = false; });
    return false;
}

void frmOptions::cmdCloseClick() {
    if (offsetJustRefused || !checkOffsetBox()) return;
    session.endTyping();
    settings::saveOptions(session.state().DiveOffset, session.state().MultiFlag);
    accept();
}

} // namespace divers
