// The dive list over the largest log a file can hold, with the main window open: first paint,
// sorting every column, filter keystrokes, a bulk edit of every dive and its undo, and moves
// in the main window with the list open. Run from a Release build:
//   QT_QPA_PLATFORM=offscreen build/bench/divelist_bench
#include "app/FormLog.h"
#include "divelist/BulkEdit.h"
#include "divelist/DiveColumns.h"
#include "divelist/frmDiveList.h"
#include "session/Session.h"
#include "settings/Settings.h"
#include "store/LogOps.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kDives = 32767;

void writeLog() {
    store::AppState s;
    store::StartDefaultLists(s);
    for (int w = 0; w < 4; ++w)
        for (int k = 1; k < 40; ++k)
            s.list(w).push_back({QStringLiteral("Entry %1").arg((k * 7919) % 97), {}, {}});
    s.Dives.resize(kDives + 1);
    for (int i = 1; i <= kDives; ++i) {
        store::DiveRecord& d = s.Dives[size_t(i)];
        d.TimeData = {int16_t(i % 12 + 1),
                      int16_t(i % 28 + 1),
                      int16_t(1990 + i % 30),
                      int16_t(i % 24),
                      int16_t(i % 60),
                      int16_t((i + 1) % 24),
                      0};
        for (size_t k = 0; k < 10; ++k)
            d.DiveData[k] = int16_t((i * (k + 3)) % 150);
        for (size_t k = 0; k < 4; ++k)
            d.ListData[k] = int16_t((i + int(k)) % 40);
        for (size_t k = 0; k < 8; ++k)
            d.CondData[k] = int16_t((i >> k) & 1);
        d.Rating = int16_t(i % 3);
        d.Comments =
            QStringLiteral("Reef %1, turtle and a ray at dusk\r\nsecond line").arg(i % 500);
    }
    store::SaveLog(s);
}

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir folder, config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QDir::setCurrent(folder.path());
    settings::saveDefaultName(QStringLiteral("Bench"));
    writeLog();
    store::AppState state;
    app::FormLog window(state, app::FormLog::StartOptions{false});
    window.show();
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    window.findChild<QAction*>(QStringLiteral("mnuDiveList"))->trigger();
    auto* list = window.findChild<divelist::frmDiveList*>();
    QApplication::processEvents(); // the first paint happens on the expose
    std::printf("first paint: %.1f ms\n", ms(t));

    auto* table = list->findChild<QTableView*>(QStringLiteral("tblDives"));
    double worstSort = 0;
    int worstColumn = 0;
    for (int c = 0; c < divelist::ColumnCount; ++c)
        for (Qt::SortOrder o : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            t.restart();
            table->sortByColumn(c, o);
            if (ms(t) > worstSort) worstSort = ms(t), worstColumn = c;
            if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
                std::printf("  %s %s: %.1f ms\n", qPrintable(divelist::columnKey(c)),
                            o == Qt::AscendingOrder ? "asc" : "desc", ms(t));
        }
    std::printf("sort, slowest column (%s): %.1f ms\n",
                qPrintable(divelist::columnKey(worstColumn)), worstSort);

    auto* filter = list->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
    table->sortByColumn(divelist::Date, Qt::AscendingOrder);
    double worstKey = 0;
    const QString typed = QStringLiteral("turtle");
    for (int n = 1; n <= typed.size(); ++n) {
        t.restart();
        filter->setText(typed.left(n));
        worstKey = std::max(worstKey, ms(t));
    }
    for (int n = typed.size() - 1; n >= 0; --n) {
        t.restart();
        filter->setText(typed.left(n));
        worstKey = std::max(worstKey, ms(t));
    }
    std::printf("filter keystroke, slowest: %.1f ms\n", worstKey);

    session::Session& session = window.logSession();
    std::vector<int> all(kDives);
    std::iota(all.begin(), all.end(), 1);
    divelist::BulkEdit edit;
    edit.list[2] = 3;
    edit.weight = 14;
    table->sortByColumn(divelist::Buddy, Qt::AscendingOrder);
    t.restart();
    session.editDives(all, QStringLiteral("Edit"), [&](store::DiveRecord& d) { edit.apply(d); });
    std::printf("bulk edit of every dive (sorted by the edited column): %.1f ms\n", ms(t));
    t.restart();
    session.undoStack().undo();
    std::printf("its undo: %.1f ms\n", ms(t));

    auto* bar = window.findChild<QScrollBar*>(QStringLiteral("vsbDNum"));
    double worstMove = 0, sum = 0;
    for (int k = 0; k < 200; ++k) {
        t.restart();
        bar->setValue((k * 4099) % kDives + 1);
        worstMove = std::max(worstMove, ms(t));
        sum += ms(t);
    }
    std::printf("move in the main window with the list open: mean %.2f ms, slowest %.2f ms\n",
                sum / 200, worstMove);
    list->close();
    window.close();
    return 0;
}
