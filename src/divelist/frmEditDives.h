#pragma once

#include "BulkEdit.h"
#include "store/AppState.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace divelist {

// "Edit Selected Dives": a tick box per field; only ticked fields are set on every selected
// dive. Modal; what it returns is a BulkEdit for the caller to hand to the session.
class frmEditDives : public QDialog {
    Q_OBJECT
  public:
    frmEditDives(const store::AppState& state, int diveCount, QWidget* parent);
    BulkEdit edit() const;

  private:
    QCheckBox* tick(const QString& name, const QString& text, QWidget* value);

    std::array<QCheckBox*, 4> listTicks{};
    std::array<QComboBox*, 4> lists{};
    QCheckBox* ratingTick = nullptr;
    QComboBox* rating = nullptr;
    std::array<QCheckBox*, 8> conditionTicks{};
    std::array<QComboBox*, 8> conditions{};
    QCheckBox* tankTick = nullptr;
    QSpinBox* tank = nullptr;
    QCheckBox* weightTick = nullptr;
    QSpinBox* weight = nullptr;
    QCheckBox* commentTick = nullptr;
    QPlainTextEdit* comment = nullptr;
    QRadioButton* append = nullptr;
    QGridLayout* grid = nullptr;
};

} // namespace divelist
