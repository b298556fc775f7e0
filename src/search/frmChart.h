#pragma once

#include "DiveSearch.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace Ui {
class frmChart;
}

// "Chart Dives": the criteria for picking dives. Go! runs the search into FlaggedDives and
// accepts; the caller then shows the results. Made anew for every opening, so it always
// starts from its defaults.
class frmChart : public QDialog {
    Q_OBJECT
  public:
    explicit frmChart(AppState& state, QWidget* parent = nullptr);
    ~frmChart() override;

    // The boxes as they stand, for the search.
    search::ChartCriteria criteria() const;
    // What the last Go! walked.
    const search::SearchedRange& searched() const { return walked; }

  private:
    void enableControls();
    void go();

    AppState& state;
    std::unique_ptr<Ui::frmChart> ui;
    int SelectionMode = search::AllDives;
    search::SearchedRange walked;
    std::array<QLineEdit*, 3> txtDateFrom{}, txtDateTo{}, txtMin{}, txtMax{};
    std::array<QCheckBox*, 6> chkData{};
    std::array<QCheckBox*, 8> chkEData{};
    // By ListData element: location, type, buddy, gear.
    std::array<QCheckBox*, 4> chkList{};
    std::array<QListWidget*, 4> lstList{};
};
