#include "Cli.h"
#include "divelist/BulkEdit.h"
#include "divelist/DiveColumns.h"
#include "divelist/DiveOrder.h"
#include "divelist/DiveSortProxy.h"
#include "divelist/DiveTableModel.h"
#include "divelist/ListSize.h"
#include "divelist/QuickFilter.h"
#include "search/DiveSearch.h"
#include "session/Session.h"
#include "store/LogOps.h"
#include "support/TestEnv.h"

#include <QBuffer>

#include <algorithm>
#include <random>
#include <set>

using namespace divelist;

namespace {

// Every column gets ties, zeros, numbers of one and of several digits; the names are not in
// list order, one differs from another only in case, one dive names an entry the list lacks;
// dives 3, 7 and 11 have no whole date.
store::AppState sortLog() {
    store::AppState s;
    store::StartDefaultLists(s);
    for (int w = 0; w < 4; ++w) {
        s.list(w) = {{QStringLiteral("m"), {}, {}},
                     {QStringLiteral("Zed"), {}, {}},
                     {QStringLiteral("alpha"), {}, {}},
                     {QStringLiteral("Alpha"), {}, {}},
                     {QStringLiteral("beta"), {}, {}}};
    }
    std::mt19937 rng(7);
    const int16_t values[] = {0, 9, 10, 100, 9, 2, 0, -3};
    s.Dives.resize(15);
    for (int i = 1; i <= 14; ++i) {
        store::DiveRecord& d = s.Dives[size_t(i)];
        d.TimeData = {int16_t(1 + rng() % 3),
                      int16_t(1 + rng() % 2),
                      int16_t(1997 + rng() % 2),
                      int16_t(rng() % 3),
                      int16_t(rng() % 2 * 30),
                      int16_t(rng() % 3),
                      0};
        for (auto& v : d.DiveData)
            v = values[rng() % 8];
        for (auto& l : d.ListData)
            l = int16_t(rng() % 6); // 5 is past the end of the list
        for (auto& c : d.CondData)
            c = int16_t(rng() % 2);
        d.Rating = int16_t(rng() % 3);
        const char* comments[] = {"", "wreck\r\nzzz", "Wreck\r\naaa", "arch", "Arch", "10", "9"};
        d.Comments = QString::fromLatin1(comments[rng() % 7]);
    }
    for (int i : {3, 7, 11})
        s.Dives[size_t(i)].TimeData[size_t(i % 3)] = 0;
    return s;
}

// The plain reference: a key per dive, a stable sort, undated dives moved to the end.
struct Key {
    std::vector<long long> numbers;
    QString text;
    bool operator<(const Key& o) const {
        return numbers != o.numbers ? numbers < o.numbers : text < o.text;
    }
};

Key referenceKey(const store::AppState& s, int i, int column) {
    const store::DiveRecord& d = s.Dives[size_t(i)];
    const auto& t = d.TimeData;
    if (column == Number) return {{i}, {}};
    if (column == Date) return {{t[2], t[0], t[1], t[3], t[4]}, {}};
    if (column == Entry) return {{t[3], t[4]}, {}};
    if (column == Exit) return {{t[5], t[6]}, {}};
    if (column >= Location && column <= Gear) {
        const int at = d.ListData[size_t(column - Location)];
        const store::RefList& l = s.list(column - Location);
        return at < int(l.size()) ? Key{{0}, l[size_t(at)].Name.toLower()} : Key{{1}, {}};
    }
    if (column == Rating) return {{d.Rating}, {}};
    if (column == Comment) return {{}, d.Comments.section(QLatin1Char('\r'), 0, 0).toLower()};
    if (column >= FirstCondition) return {{d.CondData[size_t(column - FirstCondition)]}, {}};
    static const std::map<int, int> element = {
        {MaxDepth, 4}, {BottomTime, 3}, {PsiIn, 0},       {PsiOut, 1},     {TankSize, 2},
        {Weight, 5},   {AirTemp, 6},    {SurfaceTemp, 7}, {BottomTemp, 8}, {Visibility, 9}};
    return {{d.DiveData[size_t(element.at(column))]}, {}};
}

std::vector<int> referenceOrder(const store::AppState& s, const std::vector<int>& dives, int column,
                                bool descending) {
    std::vector<int> dated, undated;
    for (int i : dives)
        (column == Date && isUndated(s.Dives[size_t(i)]) ? undated : dated).push_back(i);
    std::stable_sort(dated.begin(), dated.end(), [&](int a, int b) {
        return descending ? referenceKey(s, b, column) < referenceKey(s, a, column)
                          : referenceKey(s, a, column) < referenceKey(s, b, column);
    });
    dated.insert(dated.end(), undated.begin(), undated.end());
    return dated;
}

class DiveList : public TempFolderTest {};

} // namespace

TEST_F(DiveList, EveryColumnSortsAsAPlainSortOfTheRecordsInTheCoreAndInTheTable) {
    store::AppState state = sortLog();
    session::Session session(state);
    DiveTableModel model(session);
    DiveSortProxy proxy(model);
    std::vector<int> all(14);
    std::iota(all.begin(), all.end(), 1);
    const DiveOrder order(state);
    for (int column = 0; column < ColumnCount; ++column) {
        for (bool descending : {false, true}) {
            SCOPED_TRACE(columnKey(column).toStdString() + (descending ? " desc" : " asc"));
            const std::vector<int> expected = referenceOrder(state, all, column, descending);
            EXPECT_EQ(expected, order.sorted(all, column, descending));
            proxy.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
            std::vector<int> shown;
            for (int r = 0; r < proxy.rowCount(); ++r)
                shown.push_back(DiveTableModel::diveAt(proxy.mapToSource(proxy.index(r, 0)).row()));
            EXPECT_EQ(expected, shown);
        }
    }
    // Renaming an entry re-ranks its list: the sort follows the new name at once.
    proxy.sort(Location, Qt::AscendingOrder);
    lists::ListDraft draft{state.list(0), -1, {}};
    draft.entries[1].Name = QStringLiteral("aaa");
    session.commitListDraft(0, draft);
    const int first = DiveTableModel::diveAt(proxy.mapToSource(proxy.index(0, 0)).row());
    EXPECT_EQ(1, state.Dives[size_t(first)].ListData[0]);
}

TEST_F(DiveList, FilterFindsWhatTheSelectionCoreFinds) {
    std::mt19937 rng(11);
    store::AppState state;
    store::StartDefaultLists(state);
    const char* words[] = {"Wreck", "wreck",      "WRECK",      "reef",
                           "Eel",   "\u00e9cole", "\u00c9COLE", "k"};
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < 6; ++k)
            state.list(w).push_back(
                {QString::fromUtf8(words[rng() % 8]) + QString::number(k), {}, {}});
    state.Dives.resize(401);
    for (int i = 1; i <= 400; ++i) {
        store::DiveRecord& d = state.Dives[size_t(i)];
        for (int k = 0; k < 3; ++k)
            d.Comments += QString::fromUtf8(words[rng() % 8]) + QLatin1Char(' ');
        for (auto& l : d.ListData)
            l = int16_t(rng() % 7);
        d.Rating = int16_t(rng() % 3);
        d.TimeData = {
            int16_t(rng() % 13), int16_t(1 + rng() % 28), int16_t(1995 + rng() % 4), 0, 0, 0, 0};
    }
    auto run = [&](search::ChartCriteria c) {
        std::vector<int16_t> flagged;
        search::RunSearch(c, state, flagged);
        return std::set<int>(flagged.begin() + 1, flagged.end());
    };
    for (const char* text : {"wreck", "\u00e9COLE", "eel 1", "k", "ree", ""}) {
        for (int rating : {-1, 0, 2}) {
            for (bool dated : {false, true}) {
                SCOPED_TRACE(std::string(text) + " " + std::to_string(rating) +
                             (dated ? " dated" : ""));
                QuickFilter f;
                f.text = QString::fromUtf8(text);
                f.rating = rating;
                // The text: the comment search of Charting, or a list entry whose name holds it.
                search::ChartCriteria c;
                c.AllInRange = f.text.isEmpty();
                c.UseComment = true;
                c.Comment = f.text;
                for (int w = 0; w < 4; ++w) {
                    c.UseList[size_t(w)] = true;
                    for (size_t k = 0; k < state.list(w).size(); ++k)
                        if (state.list(w)[k].Name.contains(f.text, Qt::CaseInsensitive))
                            c.ListLines[size_t(w)].push_back(int(k));
                }
                std::set<int> expected = run(c);
                if (rating >= 0) {
                    search::ChartCriteria r;
                    r.Ratings[size_t(rating)] = true;
                    std::set<int> rated = run(r), both;
                    std::set_intersection(expected.begin(), expected.end(), rated.begin(),
                                          rated.end(), std::inserter(both, both.end()));
                    expected = both;
                }
                if (dated) {
                    f.fromDay = search::DayNumber(3, 1, 1996);
                    f.toDay = search::DayNumber(6, 15, 1997);
                    search::ChartCriteria r;
                    r.SelectionMode = search::ByDate;
                    r.AllInRange = true;
                    r.DateFrom = {QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("1996")};
                    r.DateTo = {QStringLiteral("6"), QStringLiteral("15"), QStringLiteral("1997")};
                    std::set<int> inRange = run(r), both;
                    for (int i : inRange)
                        if (expected.count(i) && !isUndated(state.Dives[size_t(i)])) both.insert(i);
                    expected = both;
                }
                const std::vector<int> got = filteredDives(state, f);
                EXPECT_EQ(std::vector<int>(expected.begin(), expected.end()), got);
            }
        }
    }
}

TEST_F(DiveList, BulkEditAndDeleteAreOneStepEachAndUndoGivesBackTheBytes) {
    store::AppState state = sortLog();
    state.Loaded = true;
    session::Session session(state);
    auto files = [&] {
        EXPECT_TRUE(store::SaveLog(state).empty());
        QByteArray all;
        for (const QString& name : state.Files.names())
            all += readFile(name);
        return all;
    };
    const QByteArray start = files();
    const store::AppState before = state;
    BulkEdit edit;
    edit.list = {int16_t(2), std::nullopt, int16_t(4), int16_t(0)};
    edit.rating = 2;
    edit.conditions[3] = 1;
    edit.conditions[5] = 0;
    edit.tankSize = 80;
    edit.weight = 12;
    edit.comment = QStringLiteral("Trip to Roatan");
    edit.appendComment = true;
    const std::vector<int> chosen = {2, 5, 9, 14};
    session.editDives(chosen, QStringLiteral("Edit 4 Dives"),
                      [&](store::DiveRecord& d) { edit.apply(d); });
    EXPECT_EQ(1, session.undoStack().count());
    for (int i = 1; i <= 14; ++i) {
        const store::DiveRecord& was = before.Dives[size_t(i)];
        store::DiveRecord expected = was;
        if (std::count(chosen.begin(), chosen.end(), i)) {
            expected.ListData = {2, was.ListData[1], 4, 0};
            expected.Rating = 2;
            expected.CondData[3] = 1;
            expected.CondData[5] = 0;
            expected.DiveData[store::field::TankSize] = 80;
            expected.DiveData[store::field::Weight] = 12;
            expected.Comments = was.Comments.isEmpty()
                                    ? QStringLiteral("Trip to Roatan")
                                    : was.Comments + QStringLiteral("\r\nTrip to Roatan");
        }
        EXPECT_EQ(expected, state.Dives[size_t(i)]) << "dive " << i;
    }
    const QByteArray edited = files();
    EXPECT_NE(start, edited);
    ASSERT_TRUE(session.removeEntries({3, 4, 12}, QStringLiteral("Delete 3 Dives")));
    EXPECT_EQ(11, state.DiveCount());
    EXPECT_EQ(2, session.undoStack().count());
    // At least one dive stays.
    EXPECT_FALSE(
        session.removeEntries({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, QStringLiteral("Delete")));
    session.undoStack().undo();
    EXPECT_EQ(edited, files());
    session.undoStack().undo();
    EXPECT_EQ(start, files());
    session.undoStack().redo();
    EXPECT_EQ(edited, files());
}

TEST_F(DiveList, CommandLineListsAndEditsAsTheWindowDoes) {
    store::AppState s = sortLog();
    ASSERT_TRUE(store::SaveLog(s).empty());
    const QByteArray profiles = readFile(QStringLiteral("prof1.dvl"));
    auto run = [](const QStringList& args, QString* err = nullptr) {
        QByteArray out;
        QString errors;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        QTextStream stream(&errors);
        const int status = cli::runCli(args, buffer, stream);
        stream.flush();
        if (err) *err = errors;
        return std::make_pair(status, QString::fromUtf8(out));
    };
    // list: the rows the window's order gives, the filter of the window.
    const auto [status, text] = run({QStringLiteral("list"), QStringLiteral("--sort=maxDepth:desc"),
                                     QStringLiteral("--columns"), QStringLiteral("number,maxDepth"),
                                     QStringLiteral("--filter"), QStringLiteral("WRECK")});
    ASSERT_EQ(0, status);
    QuickFilter f;
    f.text = QStringLiteral("wreck");
    QString expected = QStringLiteral("number\tmaxDepth\n");
    for (int i : DiveOrder(s).sorted(filteredDives(s, f), MaxDepth, true))
        expected += QStringLiteral("%1\t%2\n").arg(i).arg(cellText(s, i, MaxDepth));
    EXPECT_EQ(expected, text);

    struct Case {
        QStringList args;
        int status;
        QString error;
    };
    const std::vector<Case> refusals = {
        {{QStringLiteral("--dives"), QStringLiteral("2"), QStringLiteral("--set"),
          QStringLiteral("buddy=Bob")},
         2,
         QStringLiteral("buddy \"Bob\" is not in the list; it holds \"m\", \"Zed\", \"alpha\", "
                        "\"Alpha\", \"beta\"")},
        {{QStringLiteral("--dives"), QStringLiteral("2,15"), QStringLiteral("--set"),
          QStringLiteral("rating=good")},
         2,
         QStringLiteral("dive 15 is not in the log (1-14)")},
        {{QStringLiteral("--dives"), QStringLiteral("2"), QStringLiteral("--set"),
          QStringLiteral("surge=2")},
         2,
         QStringLiteral("surge \"2\": expected 0 or 1")},
        {{QStringLiteral("--dives"), QStringLiteral("2"), QStringLiteral("--set"),
          QStringLiteral("depth=3")},
         2,
         QStringLiteral("--set: no field \"depth\" (location, type, buddy, gear, rating, tank, "
                        "weight or a condition)")},
    };
    const QByteArray log = readFile(QStringLiteral("log1.dvl"));
    for (const Case& c : refusals) {
        QString err;
        EXPECT_EQ(c.status, run(QStringList{QStringLiteral("edit")} + c.args, &err).first);
        EXPECT_EQ(QStringLiteral("reefbook-cli: ") + c.error + QLatin1Char('\n'), err);
        EXPECT_EQ(log, readFile(QStringLiteral("log1.dvl")));
    }
    EXPECT_EQ(0,
              run({QStringLiteral("edit"), QStringLiteral("--dives=2,4-5"), QStringLiteral("--set"),
                   QStringLiteral("buddy=Alpha"), QStringLiteral("--set=surge=1")})
                  .first);
    store::AppState after;
    ASSERT_TRUE(store::OpenLog(after).empty());
    for (int i = 1; i <= 14; ++i) {
        store::DiveRecord expectedDive = s.Dives[size_t(i)];
        if (i == 2 || i == 4 || i == 5) {
            expectedDive.ListData[2] = 3;
            expectedDive.CondData[7] = 1;
        }
        EXPECT_EQ(expectedDive, after.Dives[size_t(i)]) << "dive " << i;
    }
    EXPECT_EQ(profiles, readFile(QStringLiteral("prof1.dvl")));
}

TEST(DiveListPlacement, AsWideAsTheFreeSideBesideTheMainWindowAllows) {
    const QRect screen(0, 0, 1920, 1080);
    struct Case {
        QRect main;
        QSize wanted, expected;
    };
    const std::vector<Case> cases = {
        {{100, 50, 900, 700}, {700, 600}, {700, 600}},  // fits at the right
        {{1000, 50, 900, 700}, {700, 600}, {700, 600}}, // fits at the left
        {{500, 50, 900, 700}, {700, 600}, {520, 600}},  // narrowed into the right
        {{600, 50, 900, 700}, {700, 600}, {600, 600}},  // narrowed into the left
        {{0, 0, 1800, 1000}, {700, 600}, {700, 600}},   // no room: it has to overlap
        {{0, 0, 900, 700}, {2500, 1200}, {1020, 1080}}, // never larger than the screen
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, sizeBesideMainWindow(screen, c.main, c.wanted, 400)) << c.main.x();
}
