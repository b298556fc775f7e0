#include "frmAbout.h"
#include "ui_frmAbout.h"

#include "ui/Placement.h"

#include <QDir>

namespace app {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmAbout>()) {
    ui->setupUi(this);
    const QPixmap picture(QStringLiteral(":/icons/reefbook.png"));
    if (!picture.isNull())
        ui->imgLogo->setPixmap(
            picture.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        ui->imgLogo->hide();
    ui->lblVersion->setText(QStringLiteral("Version " REEFBOOK_VERSION_STRING));
    // The program works in one folder for the whole run; a diver looking for his files (to
    // back them up, say) finds it named here.
    ui->lblFolder->setText(QStringLiteral("Your logbook files are in %1")
                               .arg(QDir::toNativeSeparators(QDir::currentPath())));
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    adjustSize();
    ui::centreOnScreen(this);
}

frmAbout::~frmAbout() = default;

} // namespace app
