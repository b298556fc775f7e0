// The statistics window on the largest log: repainting each chart as the screen asks for it,
// and the whole window working its figures out again after a change. Run from a Release build:
//   build/bench/stats_window_bench
#include "stats/StatsChart.h"
#include "stats/frmStats.h"

#include "StatsLog.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {

QWidget& mainWindow() {
    static QWidget w;
    return w;
}

// One chart (0-3) painted in full, as after being uncovered, at the window's own size.
void BM_ChartRepaint(benchmark::State& st) {
    stats::frmStats* window = stats::frmStats::showFor(benchlog::statsLog(), &mainWindow());
    window->findChild<QTabWidget*>(QStringLiteral("tabCharts"))
        ->setCurrentIndex(static_cast<int>(st.range(0)));
    auto* chart =
        window->findChild<stats::StatsChart*>(QStringLiteral("picChart_%1").arg(st.range(0)));
    QApplication::processEvents();
    for (auto _ : st)
        chart->repaint();
    st.counters["width"] = chart->width();
    st.counters["height"] = chart->height();
}
BENCHMARK(BM_ChartRepaint)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// After a change: the figures, the table of groups, the four charts and their tables. The
// grouping goes back and forth between month (360 lines) and location (50) so the table is
// filled anew each time, as after an edit.
void BM_WindowRefresh(benchmark::State& st) {
    stats::frmStats* window = stats::frmStats::showFor(benchlog::statsLog(), &mainWindow());
    auto* group = window->findChild<QComboBox*>(QStringLiteral("cboGroup"));
    int turn = 0;
    for (auto _ : st) {
        group->setCurrentIndex(++turn % 2 ? 1 : 3); // refreshes
        QApplication::processEvents();
    }
}
BENCHMARK(BM_WindowRefresh)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mainWindow().resize(800, 600);
    mainWindow().show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
