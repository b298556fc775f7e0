#include "frmAbout.h"
#include "ui_frmAbout.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmAbout>()) {
    ui->setupUi(this);
    const QPixmap picture(QStringLiteral(":/icons/reefbook.png"));
    if (!picture.isNull())
        ui->imgLogo->setPixmap(
            picture.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        ui->imgLogo->hide();
    ui->lblVersion->setText(QStringLiteral("Version " REEFBOOK_VERSION_STRING));
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

frmAbout::~frmAbout() = default;
