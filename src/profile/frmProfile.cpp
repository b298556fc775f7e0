#include "frmProfile.h"

#include "session/Session.h"

#include "ui_frmProfile.h"

#include "ui/Placement.h"
#include "ui/Platform.h"
#include "ui/StorableText.h"

#include <QLayout>
#include <QScreen>

namespace profile {

namespace {

// The area a short, shallow dive gets: large enough to aim at single minutes.
constexpr int PreferredWidth = 640, PreferredHeight = 420;
constexpr int SmallestWidth = 240, SmallestHeight = 160;
constexpr int NoteLength = 255;

const QColor ReadoutPlain(255, 255, 255);
const QColor ReadoutOnPoint(255, 255, 0);

} // namespace

frmProfile::frmProfile(session::Session& s, QWidget* parent)
    : QDialog(parent), session(s), state(s.state()), ui(std::make_unique<Ui::frmProfile>()),
      edit(state.current().DiveData[store::field::BottomTime],
           state.current().DiveData[store::field::MaxDepth]) {
    setUp();
}

frmProfile::frmProfile(store::AppState& s, QWidget* parent)
    : QDialog(parent), ownSession(std::make_unique<session::Session>(s)), session(*ownSession),
      state(s), ui(std::make_unique<Ui::frmProfile>()),
      edit(s.current().DiveData[store::field::BottomTime],
           s.current().DiveData[store::field::MaxDepth]) {
    setUp();
}

void frmProfile::setUp() {
    ui->setupUi(this);
    txtProf = {ui->txtProf_0, ui->txtProf_1, ui->txtProf_2, ui->txtProf_3, ui->txtProf_4};
    for (QLineEdit* box : txtProf)
        ui::keepStorable(box);
    lblInfo = {ui->lblInfo_0, ui->lblInfo_1, ui->lblInfo_2, ui->lblInfo_3, ui->lblInfo_4};

    for (QLabel* readout : {ui->lblInfo_2, ui->lblInfo_3}) {
        QPalette p = readout->palette();
        p.setColor(QPalette::Window, Qt::black);
        p.setColor(QPalette::WindowText, ReadoutPlain);
        readout->setPalette(p);
    }
    lblInfo[0]->setText(QString::number(edit.maxDepth()));
    lblInfo[1]->setText(QString::number(edit.bottomTime()));
    lblInfo[4]->setText(QString::number(edit.bottomTime()));

    ProfileArea* area = ui->picProfile;
    area->setEditor(&edit);
    connect(area, &ProfileArea::resized, this, [this] {
        const QSize units = ui->picProfile->unitSize();
        edit.setArea(units.width(), units.height());
    });
    connect(area, &ProfileArea::pressed, this, &frmProfile::areaPressed);
    connect(area, &ProfileArea::moved, this, &frmProfile::areaMoved);
    connect(area, &ProfileArea::crosshairMoved, this, &frmProfile::moveCrosshair);
    connect(area, &ProfileArea::crosshairPressed, this, &frmProfile::pressCrosshair);
    connect(area, &ProfileArea::removePressed, this, [this](int x, int y) {
        ui->picProfile->crosshair.reset();
        removeAt(edit.pointAt(x, y));
    });
    connect(area, &ProfileArea::crosshairRemoved, this, [this] {
        if (!ui->picProfile->crosshair) moveCrosshair(0, 0);
        const QPoint at = *ui->picProfile->crosshair;
        removeAt({static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y())});
    });
    connect(ui->cmdClear, &QPushButton::clicked, this, &frmProfile::clearProfile);
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmProfile::closeAndStore);

    loadProfile();
    sizeArea();
    area->setFocus();
}

frmProfile::~frmProfile() = default;

void frmProfile::loadProfile() {
    const store::ProfileRecord* stored = linkedProfile(state);
    for (int i = 0; i < ProfileEditor::NoteBoxes; ++i) {
        const QString note = stored ? stored->Notes[static_cast<size_t>(i)] : QString();
        // A longer note written by another program is kept whole rather than cut short.
        txtProf[i]->setMaxLength(std::max(NoteLength, static_cast<int>(note.size())));
        txtProf[i]->setText(note);
    }
    // A dive referring to a profile the file does not hold starts an empty one.
    if (stored) edit.Load(*stored);
}

void frmProfile::sizeArea() {
    ProfileArea* area = ui->picProfile;
    const int frame = 2 * area->frameWidth();
    const auto pixels = [&](int units, Qt::Orientation o) {
        return area->pixelsFor(std::min(units, ProfileEditor::MaxUnits), o) + frame;
    };
    // Every minute and every depth unit needs at least one drawing unit, and no side may
    // hold more units than the scales can count.
    const QSize smallest(std::max(SmallestWidth, pixels(edit.neededWidth(), Qt::Horizontal)),
                         std::max(SmallestHeight, pixels(edit.neededHeight(), Qt::Vertical)));
    area->setMaximumSize(pixels(ProfileEditor::MaxUnits, Qt::Horizontal),
                         pixels(ProfileEditor::MaxUnits, Qt::Vertical));
    // The window the layout builds around an area of the preferred size.
    area->setMinimumSize(smallest.expandedTo(QSize(PreferredWidth, PreferredHeight)));
    layout()->invalidate();
    QSize wanted = sizeHint();
    area->setMinimumSize(smallest);
    layout()->invalidate();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        wanted = wanted.boundedTo(free.size() - QSize(16, 48)).expandedTo(minimumSizeHint());
        resize(wanted);
        ui::centreOnScreen(this);
    } else {
        resize(wanted);
    }
}

bool frmProfile::fitsScreen() {
    bool fits = edit.drawable();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize free = screen->availableGeometry().size(), needed = minimumSizeHint();
        fits = fits && needed.width() <= free.width() && needed.height() <= free.height();
    }
    if (!fits)
        ui::showError(parentWidget(), QStringLiteral("Sorry!"),
                      QStringLiteral("The bottom time or maximum depth of this dive is too large "
                                     "to draw its profile on this screen: every minute and every "
                                     "unit of depth needs a dot of its own."));
    return fits;
}

void frmProfile::areaPressed(int x, int y) {
    ui->picProfile->crosshair.reset();
    pressAt(edit.pointAt(x, y));
}

void frmProfile::areaMoved(int x, int y) {
    showReadout(edit.pointAt(x, y));
}

void frmProfile::pressAt(ProfileEditor::Point at) {
    if (edit.press(at.time, at.depth) == ProfileEditor::Press::Full)
        ui::showError(
            this, QStringLiteral("Sorry"),
            QStringLiteral("Maximum of %1 entries in profile.").arg(ProfileEditor::MaxPoints));
    showReadout(at);
    ui->picProfile->update();
}

void frmProfile::removeAt(ProfileEditor::Point at) {
    edit.remove(at.time);
    showReadout(at);
    ui->picProfile->update();
}

void frmProfile::moveCrosshair(int dTime, int dDepth) {
    ProfileArea* area = ui->picProfile;
    const ProfileEditor::Point last = edit.point(edit.pointCount());
    const QPoint from = area->crosshair.value_or(QPoint(last.time, last.depth));
    // Arrow keys never lead out of the dive's own minutes and depths.
    const QPoint to(std::clamp(from.x() + dTime, 0, edit.bottomTime()),
                    std::clamp(from.y() + dDepth, 0, edit.maxDepth()));
    area->crosshair = to;
    showReadout({static_cast<int16_t>(to.x()), static_cast<int16_t>(to.y())});
    area->update();
}

void frmProfile::pressCrosshair() {
    if (!ui->picProfile->crosshair) moveCrosshair(0, 0);
    const QPoint at = *ui->picProfile->crosshair;
    pressAt({static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y())});
}

void frmProfile::showReadout(ProfileEditor::Point at) {
    lblInfo[2]->setText(QString::number(at.depth));
    lblInfo[3]->setText(QString::number(at.time));
    const QColor colour = edit.atPoint(at.time) ? ReadoutOnPoint : ReadoutPlain;
    for (QLabel* readout : {lblInfo[2], lblInfo[3]}) {
        QPalette p = readout->palette();
        p.setColor(QPalette::WindowText, colour);
        readout->setPalette(p);
    }
}

void frmProfile::clearProfile() {
    edit.Clear();
    ui->picProfile->update();
}

void frmProfile::closeAndStore() {
    std::array<QString, ProfileEditor::NoteBoxes> notes;
    for (int i = 0; i < ProfileEditor::NoteBoxes; ++i)
        notes[static_cast<size_t>(i)] = txtProf[i]->text();
    if (!edit.storable(state)) {
        ui::showError(this, QStringLiteral("Sorry"),
                      QStringLiteral("The profile file already holds %1 profiles, the most it "
                                     "can hold, so this profile cannot be stored.")
                          .arg(store::ProfileRecord::MaxNumber));
        return;
    }
    session.storeProfile(state.CurrentDive, edit.record(notes));
    accept();
}

} // namespace profile
