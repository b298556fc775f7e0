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

namespace search {

// "Chart Dives": the criteria for picking dives. Go! runs the search and accepts; the caller
// then takes the dives found and shows the results. Made anew for every opening, so it always
// starts from its defaults.
class frmChart : public QDialog {
    Q_OBJECT
  public:
    explicit frmChart(const store::AppState& state, QWidget* parent = nullptr);
    ~frmChart() override;

    // The boxes as they stand, for the search.
    search::ChartCriteria criteria() const;
    // What the last Go! walked.
    const search::SearchedRange& searched() const { return walked; }
    // The dives the last Go! found; element 0 holds no dive.
    const std::vector<int16_t>& found() const { return flagged; }

  private:
    void enableControls();
    void go();

    const store::AppState& state;
    std::unique_ptr<Ui::frmChart> ui;
    std::vector<int16_t> flagged{0};
    int SelectionMode = search::AllDives;
    search::SearchedRange walked;
    std::array<QLineEdit*, 3> txtDateFrom{}, txtDateTo{}, txtMin{}, txtMax{};
    std::array<QCheckBox*, 6> chkData{};
    std::array<QCheckBox*, 8> chkEData{};
    // By ListData element: location, type, buddy, gear.
    std::array<QCheckBox*, 4> chkList{};
    std::array<QListWidget*, 4> lstList{};
};

} // namespace search
