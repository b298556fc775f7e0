#include "UnitsChoice.h"

#include "settings/Settings.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>

namespace divelist {

QComboBox* addUnitsChoice(QBoxLayout* layout, int position, const store::FileSet& files) {
    using interchange::Units;
    QWidget* parent = layout->parentWidget();
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Units:"), parent);
    label->setObjectName(QStringLiteral("lblUnits"));
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cboUnits"));
    box->setAccessibleName(QStringLiteral("Units"));
    box->addItem(QStringLiteral("Imperial (ft, psi, \u00b0F, lb, cu ft)"));
    box->addItem(QStringLiteral("Metric (m, bar, \u00b0C, kg, l)"));
    box->setCurrentIndex(settings::diverUnits(files) == Units::Metric ? 1 : 0);
    label->setBuddy(box);
    row->addWidget(label);
    row->addWidget(box, 1);
    layout->insertLayout(position, row);
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [files](int at) {
        settings::saveDiverUnits(files, at == 1 ? Units::Metric : Units::Imperial);
    });
    return box;
}

} // namespace divelist
