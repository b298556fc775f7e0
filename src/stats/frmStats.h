#pragma once

#include "ChartData.h"
#include "StatsTable.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QTableWidget;

namespace Ui {
class frmStats;
}

namespace stats {

class StatsChart;
class StatsTableModel;

// "Statistics": the figures of the log, or of the dives another window chose, per year,
// month, site, type, buddy or gear, with four charts. It stays open beside the main window
// and only reads the log.
class frmStats : public QDialog {
    Q_OBJECT
  public:
    // Which dives the figures are over. All dives are always there; the others exist once
    // their window has handed its dives in (setScope) and are greyed until then.
    enum class Scope { AllDives, ListFiltered, ListSelected, ChartSelection };

    // `parent` is the main window: the statistics stay in front of it and close with it.
    frmStats(const store::AppState& state, QWidget* parent);
    ~frmStats() override;

    // The statistics window of `mainWindow`, made on first use, shown, brought to the front
    // and filled from the log as it is now.
    static frmStats* showFor(const store::AppState& state, QWidget* mainWindow);

    // The dives (log positions) of a scope other than all dives, handed in by the window
    // that chose them (the main window's last search, the dive list).
    void setScope(Scope which, std::vector<int> dives);
    // Greys a scope again; a window showing it falls back to all dives.
    void clearScope(Scope which);

  public slots:
    // Works the figures out again; a hidden window does so when it is shown.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void updateScopes();
    std::vector<int> chosenDives() const;
    void fillTable(stats::TextTable fresh);
    void fillChart(int which, const std::vector<int>& dives);
    void copyTable();
    void saveChart();

    const store::AppState& state;
    std::unique_ptr<Ui::frmStats> ui;
    std::array<std::optional<std::vector<int>>, 4> scopes;
    std::array<StatsChart*, stats::ChartCount> charts{};
    std::array<QTableWidget*, stats::ChartCount> chartTables{};
    StatsTableModel* model = nullptr;
    bool refreshing = false;
};

} // namespace stats
