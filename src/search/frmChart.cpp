#include "frmChart.h"

#include "ui_frmChart.h"

#include "ui/Placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace search {

frmChart::frmChart(const store::AppState& s, QWidget* parent)
    : QDialog(parent), state(s), ui(std::make_unique<Ui::frmChart>()) {
    ui->setupUi(this);
    txtDateFrom = {ui->txtDateFrom_0, ui->txtDateFrom_1, ui->txtDateFrom_2};
    txtDateTo = {ui->txtDateTo_0, ui->txtDateTo_1, ui->txtDateTo_2};
    txtMin = {ui->txtMin_0, ui->txtMin_1, ui->txtMin_2};
    txtMax = {ui->txtMax_0, ui->txtMax_1, ui->txtMax_2};
    chkData = {ui->chkData_0, ui->chkData_1, ui->chkData_2,
               ui->chkData_3, ui->chkData_4, ui->chkData_5};
    chkEData = {ui->chkEData_0, ui->chkEData_1, ui->chkEData_2, ui->chkEData_3,
                ui->chkEData_4, ui->chkEData_5, ui->chkEData_6, ui->chkEData_7};
    chkList = {ui->chkLocation, ui->chkType, ui->chkBud, ui->chkGear};
    lstList = {ui->lstLocation, ui->lstType, ui->lstBud, ui->lstGear};

    const std::pair<QLabel*, const char*> faces[] = {{ui->imgGood, ":/faces/good.png"},
                                                     {ui->imgAvg, ":/faces/average.png"},
                                                     {ui->imgBad, ":/faces/poor.png"}};
    for (const auto& [img, file] : faces) {
        const QPixmap face(QString::fromLatin1(file));
        if (!face.isNull())
            img->setPixmap(face.scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    // The number boxes take log positions; the diver sees dive numbers.
    ui->lblNumHint->setText(QStringLiteral("(%1)").arg(
        search::positionsHint(state.DiveCount(), state.DiveOffset)));

    for (int k = 0; k < 4; ++k) {
        lstList[k]->clear();
        for (const store::ListEntry& e : state.list(k))
            lstList[k]->addItem(e.Name);
    }

    for (QRadioButton* opt : {ui->optAll, ui->optDate, ui->optNum})
        connect(opt, &QRadioButton::toggled, this, &frmChart::enableControls);
    for (QCheckBox* chk : chkData)
        connect(chk, &QCheckBox::toggled, this, &frmChart::enableControls);
    for (QCheckBox* chk : chkList)
        connect(chk, &QCheckBox::toggled, this, &frmChart::enableControls);
    connect(ui->chkComm, &QCheckBox::toggled, this, &frmChart::enableControls);
    connect(ui->cmdGo, &QPushButton::clicked, this, &frmChart::go);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    enableControls();

    adjustSize();
    ui::centreOnScreen(this);
}

frmChart::~frmChart() = default;

void frmChart::enableControls() {
    SelectionMode = ui->optDate->isChecked()  ? search::ByDate
                    : ui->optNum->isChecked() ? search::ByNumber
                                              : search::AllDives;
    for (int i = 0; i < 3; ++i) {
        txtDateFrom[i]->setEnabled(SelectionMode == search::ByDate);
        txtDateTo[i]->setEnabled(SelectionMode == search::ByDate);
        txtMin[i]->setEnabled(chkData[i]->isChecked());
        txtMax[i]->setEnabled(chkData[i]->isChecked());
    }
    ui->txtNumFrom->setEnabled(SelectionMode == search::ByNumber);
    ui->txtNumTo->setEnabled(SelectionMode == search::ByNumber);
    for (int k = 0; k < 4; ++k)
        lstList[k]->setEnabled(chkList[k]->isChecked());
    ui->txtComm->setEnabled(ui->chkComm->isChecked());
}

search::ChartCriteria frmChart::criteria() const {
    search::ChartCriteria c;
    c.SelectionMode = SelectionMode;
    for (size_t i = 0; i < 3; ++i) {
        c.DateFrom[i] = txtDateFrom[i]->text();
        c.DateTo[i] = txtDateTo[i]->text();
        c.UseRange[i] = chkData[i]->isChecked();
        c.RangeMin[i] = txtMin[i]->text();
        c.RangeMax[i] = txtMax[i]->text();
    }
    c.NumFrom = ui->txtNumFrom->text();
    c.NumTo = ui->txtNumTo->text();
    c.AllInRange = ui->chkAllInRange->isChecked();
    // chkData 3, 4, 5 are good, average, poor; Ratings is indexed by the rating's value.
    for (size_t r = 0; r < 3; ++r)
        c.Ratings[r] = chkData[5 - r]->isChecked();
    for (size_t i = 0; i < 8; ++i)
        c.Conds[i] = chkEData[i]->isChecked();
    for (size_t k = 0; k < 4; ++k) {
        c.UseList[k] = chkList[k]->isChecked();
        for (int line = 0; line < lstList[k]->count(); ++line)
            if (lstList[k]->item(line)->isSelected()) c.ListLines[k].push_back(line);
    }
    c.UseComment = ui->chkComm->isChecked();
    c.Comment = ui->txtComm->text();
    return c;
}

void frmChart::go() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    search::ChartCriteria c = criteria();
    walked = search::RunSearch(c, state, flagged);
    txtDateFrom[2]->setText(c.DateFrom[2]);
    txtDateTo[2]->setText(c.DateTo[2]);
    QApplication::restoreOverrideCursor();
    accept();
}

} // namespace search
