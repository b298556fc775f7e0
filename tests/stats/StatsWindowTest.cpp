#include "Cli.h"
#include "app/FormLog.h"
#include "search/DiveSearch.h"
#include "settings/Settings.h"
#include "stats/StatsTable.h"
#include "stats/frmStats.h"
#include "store/LogOps.h"
#include "support/CliRun.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"

#include <QComboBox>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <random>

namespace stats {

namespace {

class StatsWindow : public TempFolderTest {
  protected:
    // A random log of 300 dives: values 0 (not entered) a quarter of the time, negative
    // temperatures, undated dives, references beyond the lists.
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
        std::mt19937 random(20);
        const auto pick = [&random](int lo, int hi) {
            return static_cast<int16_t>(std::uniform_int_distribution<int>(lo, hi)(random));
        };
        const auto maybe = [&](int lo, int hi) { return pick(0, 3) ? pick(lo, hi) : int16_t(0); };
        store::AppState s;
        store::StartDefaultLists(s);
        for (int k = 0; k < 4; ++k)
            for (int n = 1; n < 5; ++n)
                s.list(k).push_back({QStringLiteral("Entry %1.%2").arg(k).arg(n), {}, {}});
        s.Dives.resize(301);
        for (size_t i = 1; i < s.Dives.size(); ++i) {
            store::DiveRecord& d = s.Dives[i];
            d.TimeData[store::field::Month] = maybe(1, 12);
            d.TimeData[store::field::Year] = maybe(1990, 1996);
            for (int f : {store::field::PsiIn, store::field::PsiOut, store::field::BottomTime,
                          store::field::MaxDepth, store::field::Visibility})
                d.DiveData[static_cast<size_t>(f)] = maybe(1, 3000);
            for (int f :
                 {store::field::AirTemp, store::field::SurfaceTemp, store::field::BottomTemp})
                d.DiveData[static_cast<size_t>(f)] = maybe(-10, 95);
            for (size_t k = 0; k < 4; ++k)
                d.ListData[k] = pick(0, 5);
            d.Rating = pick(0, 2);
        }
        ASSERT_TRUE(store::SaveLog(s).empty());
        window = std::make_unique<app::FormLog>(state, app::FormLog::StartOptions{false});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    int runStats(const QStringList& args) {
        const CliOutcome r = runCliCommand(QStringList{QStringLiteral("stats")} + args);
        out = r.out;
        err = r.err;
        return r.status;
    }
    QJsonObject cliStats(const QStringList& args) {
        EXPECT_EQ(cli::ExitOk, runStats(args)) << err.toStdString();
        return QJsonDocument::fromJson(out).object();
    }

    QByteArray out;
    QString err;
    ScriptedPlatform platform;
    store::AppState state;
    std::unique_ptr<app::FormLog> window;
};

// The window's line for a group against the command line's figures of the same group.
void expectSameGroup(const QJsonObject& group, const QTableView* t, int row,
                     const std::string& where) {
    const auto text = [&](int column) { return t->model()->index(row, column).data().toString(); };
    EXPECT_EQ(group.value("dives").toInt(), text(1).toInt()) << where;
    const char* const keys[] = {"bottom_time", "depth",      "air_temp",     "surface_temp",
                                "bottom_temp", "visibility", "pressure_used"};
    for (int q = 0; q < 7; ++q) {
        const QJsonObject f = group.value(QLatin1String(keys[q])).toObject();
        const int count = f.value("count").toInt();
        const double total = f.value("total").toDouble();
        const std::string at = where + " " + keys[q];
        if (q == 0) {
            const QStringList hm = text(2).split(QLatin1Char(':'));
            EXPECT_EQ(count ? total : 0, count ? hm[0].toInt() * 60 + hm[1].toInt() : 0) << at;
        }
        if (count == 0) {
            EXPECT_TRUE(f.value("min").isNull() && f.value("max").isNull()) << at;
            EXPECT_EQ((QStringList{"-", "-", "-"}),
                      (QStringList{text(3 + 3 * q), text(4 + 3 * q), text(5 + 3 * q)}))
                << at;
            continue;
        }
        EXPECT_NEAR(total / count, text(3 + 3 * q).toDouble(), 0.05 + 1e-9) << at;
        EXPECT_EQ(f.value("min").toInt(), text(4 + 3 * q).toInt()) << at;
        EXPECT_EQ(f.value("max").toInt(), text(5 + 3 * q).toInt()) << at;
    }
}

} // namespace

TEST_F(StatsWindow, TableAgreesWithTheCommandLine) {
    QTest::keyClick(window.get(), Qt::Key_F6);
    auto* stats = window->findChild<frmStats*>();
    ASSERT_NE(nullptr, stats);
    ASSERT_TRUE(stats->isVisible());
    EXPECT_FALSE(stats->isModal());
    auto* group = child<QComboBox>(stats, "cboGroup");
    auto* scope = child<QComboBox>(stats, "cboScope");
    auto* table = child<QTableView>(stats, "tblStats");

    // Charting's good dives beside `--good`, once the window has them.
    search::ChartCriteria good;
    good.Ratings[2] = true;
    std::vector<int16_t> flagged;
    search::RunSearch(good, state, flagged);
    const std::vector<int> found(flagged.begin() + 1, flagged.end());
    stats->setScope(frmStats::Scope::ChartSelection, found);

    const QStringList words = {"year", "month", "month-of-year", "location",
                               "type", "buddy", "gear"};
    for (const bool onlyGood : {false, true}) {
        scope->setCurrentIndex(onlyGood ? 3 : 0);
        for (int g = 0; g < words.size(); ++g) {
            group->setCurrentIndex(g);
            QStringList args{QStringLiteral("--by"), words[g], QStringLiteral("--json")};
            if (onlyGood) args << QStringLiteral("--good");
            const QJsonObject json = cliStats(args);
            const std::string where = args.join(' ').toStdString();
            EXPECT_EQ(words[g], json.value("by").toString()) << where;
            const QJsonArray groups = json.value("groups").toArray();
            ASSERT_EQ(groups.size() + 1, table->model()->rowCount()) << where;
            for (int r = 0; r < groups.size(); ++r) {
                const QJsonValue key = groups[r].toObject().value("key");
                const QString shown = table->model()->index(r, 0).data().toString();
                if (key.isNull())
                    EXPECT_EQ(groups.size() - 1, r) << where << ": no key but the last";
                else if (g == 2)
                    EXPECT_EQ(stats::monthName(key.toInt()), shown) << where;
                else
                    EXPECT_EQ(key.isString() ? key.toString() : QString::number(key.toInt()), shown)
                        << where;
                expectSameGroup(groups[r].toObject(), table, r, where + " " + shown.toStdString());
            }
            EXPECT_EQ(QStringLiteral("All"),
                      table->model()->index(table->model()->rowCount() - 1, 0).data().toString());
            expectSameGroup(json.value("all").toObject(), table, table->model()->rowCount() - 1,
                            where + " all");
        }
    }
    // The dive list's scopes stay greyed until the list hands its dives in.
    scope->setCurrentIndex(1);
    EXPECT_EQ(0, scope->currentIndex());
}

TEST_F(StatsWindow, SavesTheShownChartAsPng) {
    frmStats* stats = frmStats::showFor(state, window.get());
    EXPECT_EQ(stats, frmStats::showFor(state, window.get())) << "one window, brought forward";
    for (const char* name : {"picChart_0", "picChart_1", "picChart_2", "picChart_3"}) {
        QWidget* chart = child(stats, name);
        EXPECT_FALSE(chart->accessibleName().isEmpty()) << name;
        EXPECT_FALSE(chart->accessibleDescription().isEmpty()) << name;
    }
    EXPECT_TRUE(child(stats, "picChart_0")->accessibleDescription().contains(u" 300 dives"))
        << "every dive has a bar, the undated ones too";
    platform.chooseSaveFile(path(QStringLiteral("chart.png")));
    QTest::mouseClick(child<QPushButton>(stats, "cmdSaveChart"), Qt::LeftButton);
    const QImage saved(path(QStringLiteral("chart.png")));
    EXPECT_FALSE(saved.isNull());
    EXPECT_GE(saved.width(), 640);
    ASSERT_EQ(1u, platform.proposedNames.size());
    EXPECT_EQ(QStringLiteral("dives-per-year.png"), platform.proposedNames[0]);
}

TEST_F(StatsWindow, CommandLineRefusesBadArgumentsAndAlignsItsTable) {
    const std::pair<QStringList, const char*> refused[] = {
        {{"--by", "week"}, "--by \"week\""},
        {{"--by", "year", "--by=gear"}, "--by given twice"},
        {{"--by"}, "--by needs a value"},
        {{"--json=yes"}, "--json takes no value"},
        {{"--buddy", "9"}, "--buddy 9: the buddy list has 5 entries"},
        {{"--top"}, "stats: unknown argument \"--top\""},
    };
    for (const auto& [args, named] : refused) {
        EXPECT_EQ(cli::ExitError, runStats(args)) << args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(named))) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }

    // Two header lines, a line per buddy of the list and one for dives naming none, "All".
    ASSERT_EQ(cli::ExitOk, runStats({QStringLiteral("--by"), QStringLiteral("buddy")}));
    const QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(2 + 5 + 1 + 1, lines.size());
    EXPECT_TRUE(lines[2].startsWith(QLatin1String("None ")));
    EXPECT_TRUE(lines.last().startsWith(QLatin1String("All ")));
    for (const QString& line : lines.mid(1))
        EXPECT_EQ(lines[1].size(), line.size())
            << "columns end where the header's do: " << line.toStdString();
}

} // namespace stats
