#include "frmStats.h"

#include "StatsChart.h"
#include "StatsTableModel.h"
#include "output/ExportFile.h"
#include "ui/Placement.h"
#include "ui/Platform.h"
#include "ui_frmStats.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableWidget>

namespace stats {

namespace {

using stats::Chart;

struct ChartTab {
    Chart chart;
    const char* tab;
    const char* fileName; // proposed by Save Chart
};
constexpr ChartTab ChartTabs[stats::ChartCount] = {
    {Chart::DivesPerYear, "Per &Year", "dives-per-year.png"},
    {Chart::DivesPerMonthOfYear, "Per &Month", "dives-per-month.png"},
    {Chart::DepthHistogram, "De&pth", "dives-by-depth.png"},
    {Chart::TimeHistogram, "&Bottom Time", "dives-by-bottom-time.png"},
};

const char* const ScopeNames[4] = {"All Dives", "Dives in the Dive List",
                                   "Dives Selected in the Dive List", "Dives Found by Charting"};

QTableWidgetItem* cell(const QString& text, bool number, bool bold) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                  : Qt::AlignLeft | Qt::AlignVCenter);
    if (bold) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    }
    return item;
}

} // namespace

frmStats::frmStats(const store::AppState& s, QWidget* parent)
    : QDialog(parent), state(s), ui(std::make_unique<Ui::frmStats>()) {
    ui->setupUi(this);
    setModal(false);

    for (stats::GroupBy by : stats::Groupings)
        ui->cboGroup->addItem(stats::groupingCaption(by));
    for (const char* name : ScopeNames)
        ui->cboScope->addItem(QLatin1String(name));
    model = new StatsTableModel(this);
    ui->tblStats->setModel(model);
    ui->tblStats->verticalHeader()->hide();

    for (int k = 0; k < stats::ChartCount; ++k) {
        auto* page = new QWidget(ui->tabCharts);
        auto* layout = new QHBoxLayout(page);
        charts[k] = new StatsChart(page);
        charts[k]->setObjectName(QStringLiteral("picChart_%1").arg(k));
        chartTables[k] = new QTableWidget(0, 2, page);
        chartTables[k]->setObjectName(QStringLiteral("tblChart_%1").arg(k));
        chartTables[k]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        chartTables[k]->setTabKeyNavigation(false);
        chartTables[k]->verticalHeader()->hide();
        chartTables[k]->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        chartTables[k]->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
        layout->addWidget(charts[k], 1);
        layout->addWidget(chartTables[k]);
        ui->tabCharts->addTab(page, QLatin1String(ChartTabs[k].tab));
    }
    ui->splStats->setStretchFactor(0, 1);
    ui->splStats->setStretchFactor(1, 1);
    ui->splStats->setSizes({600, 560});

    connect(ui->cboGroup, &QComboBox::currentIndexChanged, this, &frmStats::refresh);
    connect(ui->cboScope, &QComboBox::currentIndexChanged, this, &frmStats::refresh);
    connect(ui->cmdCopy, &QPushButton::clicked, this, &frmStats::copyTable);
    connect(ui->cmdSaveChart, &QPushButton::clicked, this, &frmStats::saveChart);
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmStats::close);
    updateScopes();
}

frmStats::~frmStats() = default;

frmStats* frmStats::showFor(const store::AppState& state, QWidget* mainWindow) {
    auto* window = mainWindow->findChild<frmStats*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new frmStats(state, mainWindow);
        window->adjustSize();
        ui::placeBeside(window, mainWindow); // as the results are, where it hides least
    }
    const bool wasShown = window->isVisible();
    window->show(); // a window coming into view refreshes itself
    window->raise();
    window->activateWindow();
    if (wasShown) window->refresh();
    return window;
}

void frmStats::setScope(Scope which, std::vector<int> dives) {
    scopes[static_cast<size_t>(which)] = std::move(dives);
    refresh();
}

void frmStats::clearScope(Scope which) {
    scopes[static_cast<size_t>(which)].reset();
    refresh();
}

void frmStats::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refresh();
}

bool frmStats::event(QEvent* e) {
    // Until every change of the log reaches this window as a signal, coming back to it is
    // when it catches up with what was edited in the main window meanwhile.
    if (e->type() == QEvent::WindowActivate) refresh();
    return QDialog::event(e);
}

void frmStats::updateScopes() {
    auto* scopeItems = qobject_cast<QStandardItemModel*>(ui->cboScope->model());
    for (int k = 1; k < 4; ++k) {
        const bool available = scopes[static_cast<size_t>(k)].has_value();
        if (scopeItems) scopeItems->item(k)->setEnabled(available);
        if (!available && ui->cboScope->currentIndex() == k) ui->cboScope->setCurrentIndex(0);
    }
}

std::vector<int> frmStats::chosenDives() const {
    const int k = ui->cboScope->currentIndex();
    if (k <= 0) return stats::everyDive(state);
    if (const auto& given = scopes[static_cast<size_t>(k)]) return *given;
    return {};
}

void frmStats::refresh() {
    if (refreshing || !isVisible()) return;
    refreshing = true;
    updateScopes();
    const std::vector<int> dives = chosenDives();
    const auto by =
        stats::Groupings[static_cast<size_t>(std::max(ui->cboGroup->currentIndex(), 0))];
    fillTable(stats::textTable(stats::summarize(state, dives, by)));
    for (int k = 0; k < stats::ChartCount; ++k)
        fillChart(k, dives);
    refreshing = false;
}

void frmStats::fillTable(stats::TextTable fresh) {
    // Coming back to the window refreshes it; when nothing changed, the table keeps its
    // selection and scroll position.
    const stats::TextTable& shown = model->table();
    if (fresh.header == shown.header && fresh.rows == shown.rows) return;
    model->setTable(std::move(fresh));
    ui->tblStats->resizeColumnsToContents();
}

void frmStats::fillChart(int k, const std::vector<int>& dives) {
    const stats::ChartData shown = stats::chartData(state, dives, ChartTabs[k].chart);
    charts[k]->setData(shown);
    QTableWidget* t = chartTables[k];
    t->setAccessibleName(shown.title + QStringLiteral(" table"));
    t->setRowCount(static_cast<int>(shown.bars.size()));
    t->setHorizontalHeaderLabels({shown.axis, QStringLiteral("Dives")});
    for (size_t i = 0; i < shown.bars.size(); ++i) {
        t->setItem(static_cast<int>(i), 0, cell(shown.bars[i].label, false, false));
        t->setItem(static_cast<int>(i), 1, cell(QString::number(shown.bars[i].count), true, false));
    }
    // As wide as its two columns: the chart beside it gets the rest.
    t->setFixedWidth(t->horizontalHeader()->length() + 2 * t->frameWidth() +
                     t->verticalScrollBar()->sizeHint().width());
}

void frmStats::copyTable() {
    QGuiApplication::clipboard()->setText(stats::tabSeparated(model->table()));
}

void frmStats::saveChart() {
    const int k = std::max(ui->tabCharts->currentIndex(), 0);
    ui::FileRequest request;
    request.title = QStringLiteral("Save Chart");
    request.filter = QStringLiteral("PNG Pictures (*.png)");
    request.defaultSuffix = QStringLiteral("png");
    const ui::SaveChoice choice =
        ui::platform().saveFileName(this, request, QLatin1String(ChartTabs[k].fileName));
    if (choice.path.isEmpty()) return;

    const QImage picture = charts[k]->image(charts[k]->size().expandedTo(QSize(640, 400)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    if (const QString refused = output::dataFileInTheWay(state, choice.path); !refused.isEmpty())
        ui::showError(this, QStringLiteral("Error"), refused);
    else if (const QString why = output::writeOutputFile(choice.path, bytes); !why.isEmpty())
        ui::showError(this, QStringLiteral("Error"),
                      QStringLiteral("Could not write %1: %2").arg(choice.path, why));
}

} // namespace stats
