#include "frmEditDives.h"

#include "DiveColumns.h"

#include "store/EntryRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace divelist {

namespace {

const char* const ListNames[4] = {"Location", "Type", "Buddy", "Gear"};

QSpinBox* numberBox(QWidget* parent, const QString& name) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, INT16_MAX);
    return box;
}

} // namespace

frmEditDives::frmEditDives(const store::AppState& state, int diveCount, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmEditDives"));
    setWindowTitle(QStringLiteral("Edit Selected Dives"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Tick the fields to set on %1. Fields left unticked keep each dive's "
                       "own value.")
            .arg(diveCount == 1 ? QStringLiteral("the selected dive")
                                : QStringLiteral("all %1 selected dives").arg(diveCount)),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    grid = new QGridLayout;
    layout->addLayout(grid);

    for (size_t w = 0; w < 4; ++w) {
        lists[w] = new QComboBox(this);
        lists[w]->setObjectName(QStringLiteral("cbo") + QLatin1String(ListNames[w]));
        for (const store::ListEntry& e : state.list(static_cast<int>(w)))
            lists[w]->addItem(e.Name);
        listTicks[w] = tick(QStringLiteral("chk") + QLatin1String(ListNames[w]),
                            QLatin1String(ListNames[w]), lists[w]);
    }
    rating = new QComboBox(this);
    rating->setObjectName(QStringLiteral("cboRating"));
    rating->addItems({ratingWord(0), ratingWord(1), ratingWord(2)});
    ratingTick = tick(QStringLiteral("chkRating"), QStringLiteral("Rating"), rating);
    tank = numberBox(this, QStringLiteral("txtTank"));
    tankTick = tick(QStringLiteral("chkTank"), QStringLiteral("Tank Size"), tank);
    weight = numberBox(this, QStringLiteral("txtWeight"));
    weightTick = tick(QStringLiteral("chkWeight"), QStringLiteral("Weight"), weight);
    for (size_t c = 0; c < 8; ++c) {
        conditions[c] = new QComboBox(this);
        conditions[c]->setObjectName(QStringLiteral("cboCond_%1").arg(c));
        conditions[c]->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
        conditionTicks[c] = tick(QStringLiteral("chkCond_%1").arg(c),
                                 QLatin1String(store::field::ConditionNames[c]), conditions[c]);
    }

    auto* commentBox = new QWidget(this);
    auto* commentLayout = new QVBoxLayout(commentBox);
    commentLayout->setContentsMargins(0, 0, 0, 0);
    comment = new QPlainTextEdit(commentBox);
    comment->setObjectName(QStringLiteral("txtComment"));
    comment->setTabChangesFocus(true);
    comment->setFixedHeight(fontMetrics().height() * 4);
    append = new QRadioButton(QStringLiteral("&Append to each comment"), commentBox);
    append->setObjectName(QStringLiteral("optAppend"));
    auto* replace = new QRadioButton(QStringLiteral("Re&place each comment"), commentBox);
    replace->setObjectName(QStringLiteral("optReplace"));
    append->setChecked(true);
    auto* how = new QHBoxLayout;
    how->addWidget(append);
    how->addWidget(replace);
    how->addStretch(1);
    commentLayout->addWidget(comment);
    commentLayout->addLayout(how);
    commentTick = tick(QStringLiteral("chkComment"), QStringLiteral("Comment"), commentBox);
    comment->setAccessibleName(QStringLiteral("Comment"));

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Set"));
    box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdSet"));
    box->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

QCheckBox* frmEditDives::tick(const QString& name, const QString& text, QWidget* value) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(name);
    box->setAccessibleName(QStringLiteral("Set ") + text);
    value->setAccessibleName(text);
    value->setEnabled(false);
    connect(box, &QCheckBox::toggled, value, &QWidget::setEnabled);
    // Two columns of fields; the comment takes a whole row.
    const int at = grid->count() / 2;
    const bool wide = name == QLatin1String("chkComment");
    const int row = wide ? (at + 1) / 2 : at / 2;
    const int col = wide ? 0 : (at % 2) * 2;
    grid->addWidget(box, row, col, Qt::AlignTop);
    grid->addWidget(value, row, col + 1, 1, wide ? 3 : 1);
    return box;
}

BulkEdit frmEditDives::edit() const {
    BulkEdit e;
    for (size_t w = 0; w < 4; ++w)
        if (listTicks[w]->isChecked() && lists[w]->currentIndex() >= 0)
            e.list[w] = static_cast<int16_t>(lists[w]->currentIndex());
    if (ratingTick->isChecked()) e.rating = static_cast<int16_t>(rating->currentIndex());
    for (size_t c = 0; c < 8; ++c)
        if (conditionTicks[c]->isChecked())
            e.conditions[c] = static_cast<int16_t>(conditions[c]->currentIndex() == 0 ? 1 : 0);
    if (tankTick->isChecked()) e.tankSize = static_cast<int16_t>(tank->value());
    if (weightTick->isChecked()) e.weight = static_cast<int16_t>(weight->value());
    if (commentTick->isChecked()) {
        e.comment = store::entry::commentFromBox(comment->toPlainText());
        e.appendComment = append->isChecked();
    }
    return e;
}

} // namespace divelist
