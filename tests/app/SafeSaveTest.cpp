// Nothing the diver entered may be lost or bent by a save at the wrong moment, by the comment
// box, by Clear, or by the program being killed.
#include "app/CloseOnSignal.h"
#include "app/FormLog.h"

#include "settings/Settings.h"
#include "store/FolderLock.h"
#include "store/LogOps.h"
#include "store/Recovery.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"
#include "ui/StorableText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace app {

namespace {

store::DiveRecord dive(int psi, int16_t buddy = 0, const char* comment = "") {
    store::DiveRecord d;
    d.TimeData = {6, 1, 2001, 9, 5, 10, 2};
    d.DiveData[store::field::PsiIn] = static_cast<int16_t>(psi);
    d.ListData = {0, 0, buddy, 0};
    d.Comments = QString::fromLatin1(comment);
    d.CondData[2] = 1;
    d.Rating = 2;
    return d;
}

// Polls (the event loop running) until `done` or the deadline; robust on a busy machine.
bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(20);
    return done();
}

const QString RestoreQuestion = QStringLiteral(
    "Reefbook was not closed properly. Restore the dives you entered since the last save?");

} // namespace

class SafeSaveTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
    }

    void writeLog(const std::vector<store::DiveRecord>& dives, const store::RefList& buddies = {}) {
        store::AppState s;
        store::StartDefaultLists(s);
        if (!buddies.empty()) s.BuddyList = buddies;
        s.Dives.insert(s.Dives.end(), dives.begin(), dives.end());
        ASSERT_TRUE(store::SaveLog(s).empty());
    }

    QByteArray allFiles() const {
        QByteArray all;
        for (const QString& name : store::FileSet{}.names())
            all += name.toLatin1() + ':' + readFile(name);
        return all;
    }

    store::AppState reread() const {
        store::AppState s;
        store::OpenLog(s);
        return s;
    }

    void open() {
        window = std::make_unique<FormLog>(state, FormLog::StartOptions{false});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget> T* ctl(const char* name) {
        return child<T>(window.get(), name);
    }

    ScriptedPlatform platform;
    store::AppState state;
    std::unique_ptr<FormLog> window;
};

TEST_F(SafeSaveTest, SignalDuringStartUpWritesNothing) {
    writeLog({dive(100), dive(200), dive(300)});
    const QByteArray before = allFiles();
    settings::saveDefaultName(QStringLiteral("Default")); // the rename dialog comes up
    window = std::make_unique<FormLog>(state, FormLog::StartOptions{false, true});
    ASSERT_TRUE(closeOnSignal(*window));
    whenModalOpens([](QWidget*) { std::raise(SIGTERM); });
    EXPECT_FALSE(window->startUp());
    EXPECT_FALSE(state.Loaded);
    EXPECT_EQ(before, allFiles());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("log1.dvl.damaged"))));
}

TEST_F(SafeSaveTest, SignalWithAListEditorOpenSavesDivesAndListThatAgree) {
    const store::RefList buddies = {{"A", {}, {}}, {"B", {}, {}}, {"C", {}, {}}};
    writeLog({dive(1, 0), dive(2, 1), dive(3, 2)}, buddies);
    open();
    ASSERT_TRUE(closeOnSignal(*window));
    whenModalOpens([](QWidget* editor) {
        auto* names = editor->findChild<QComboBox*>(QStringLiteral("cboData"));
        ASSERT_NE(nullptr, names);
        names->setCurrentIndex(1);
        emit names->activated(1);
        editor->findChild<QPushButton*>(QStringLiteral("cmdDelete"))->click(); // "B"
        // A dialog over the editor, as the picture dialog is: the signal comes while it is up.
        QDialog over(editor);
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        over.exec();
        if (editor->isVisible()) editor->close(); // a test that fails must not hang
    });
    QTest::mouseClick(ctl<QPushButton>("cmdBuddy"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([this] { return !window->isVisible(); }));

    const store::AppState disk = reread();
    ASSERT_EQ(3, disk.DiveCount());
    std::string named;
    for (int i = 1; i <= 3; ++i)
        named +=
            disk.BuddyList.at(static_cast<size_t>(disk.Dives[static_cast<size_t>(i)].ListData[2]))
                .Name.toStdString();
    EXPECT_EQ("AAC", named) << "dive 2 named the deleted B";
}

TEST_F(SafeSaveTest, CommentLineBreaksAreStoredAsCrLf) {
    // Dive 1 holds bare LFs from some other writer; left unedited, its bytes stay.
    writeLog({dive(1, 0, "one\nkept"), dive(2, 0, "Turtles\r\nand\xa0rays")});
    open();
    auto* box = ctl<QPlainTextEdit>("txtDData");
    EXPECT_EQ(2, box->blockCount()) << "CR LF shows as one line break";
    box->setFocus(Qt::TabFocusReason);
    box->moveCursor(QTextCursor::End);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("x"));
    ctl<QScrollBar>("vsbDNum")->setValue(1);
    ctl<QScrollBar>("vsbDNum")->setValue(2);
    ASSERT_TRUE(window->close());
    const QByteArray log = readFile(QStringLiteral("log1.dvl"));
    EXPECT_TRUE(log.contains("one\nkept")) << "an unedited comment keeps its bytes";
    EXPECT_TRUE(log.contains(QByteArray("\x14\x00Turtles\r\nand\xa0rays\r\nx", 22)))
        << log.toHex(' ').toStdString();
}

TEST_F(SafeSaveTest, ClearLeavesTheRecordAsTheFormShowsIt) {
    store::DiveRecord full = dive(200, 1, "Old wreck");
    full.DiveData = {200, 50, 80, 45, 30, 6, 28, 27, 24, 20};
    full.ListData = {1, 1, 1, 1};
    store::AppState s;
    store::StartDefaultLists(s);
    for (int which = 0; which < 4; ++which)
        s.list(which).push_back({QStringLiteral("Second"), {}, {}});
    s.Dives.insert(s.Dives.end(), {dive(100), full});
    ASSERT_TRUE(store::SaveLog(s).empty());
    open();
    // The date box keeps the focus, as when Clear is chosen from the menu.
    ctl<QLineEdit>("txtAData_0")->setFocus(Qt::TabFocusReason);
    ctl<QAction>("mnuClear")->trigger();
    ctl<QScrollBar>("vsbDNum")->setValue(1);
    ctl<QScrollBar>("vsbDNum")->setValue(2);
    EXPECT_EQ(QStringLiteral("0"), ctl<QLineEdit>("txtAData_1")->text());
    EXPECT_EQ(QStringLiteral("Pool"), ctl<QComboBox>("cboCData_0")->currentText());
    EXPECT_EQ(QString(), ctl<QPlainTextEdit>("txtDData")->toPlainText());
    ASSERT_TRUE(window->close());

    store::DiveRecord cleared;
    cleared.TimeData = {0, 0, 0, 9, 5, 10, 2};
    cleared.Rating = 1;
    EXPECT_EQ(cleared, reread().Dives[2]);
    EXPECT_EQ(dive(100), reread().Dives[1]);
}

TEST_F(SafeSaveTest, AClickIntoTheCommentSelectsItsWholeText) {
    writeLog({dive(150, 0, "Long comment")});
    open();
    auto* box = ctl<QPlainTextEdit>("txtDData");
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(box->width() - 8, 6));
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(QStringLiteral("Long comment"), box->textCursor().selectedText());
}

// The real program (built with the test hook that chooses New) is killed mid-session; its
// journal brings the work back at the next start.
TEST_F(SafeSaveTest, KilledProgramLeavesAJournalThatStartUpRestores) {
    writeLog({dive(100), dive(200)});
    const QByteArray saved = readFile(QStringLiteral("log1.dvl"));
    const QString journal = path(QStringLiteral("log1.dvl.recovery"));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsDir.path());
    env.insert(QStringLiteral("REEFBOOK_TEST_COMMANDS"), QStringLiteral("mnuNew"));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(REEFBOOK_SCRIPTED_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    const bool written = waitFor([&] { return QFile::exists(journal); });
    program.kill(); // SIGKILL: no handler, no save
    program.waitForFinished();
    ASSERT_TRUE(written) << program.readAllStandardError().toStdString();
    EXPECT_EQ(saved, readFile(QStringLiteral("log1.dvl")));

    // No keeps the journal aside; the next start sees none. Yes brings the third dive back.
    const QString aside = journal + QStringLiteral("-old");
    for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
        if (answer == ui::Answer::Yes) {
            ASSERT_TRUE(QFile::rename(aside, journal));
            QFile touch(journal);
            ASSERT_TRUE(touch.open(QIODevice::ReadWrite));
            touch.setFileTime(QDateTime::currentDateTime().addSecs(5),
                              QFileDevice::FileModificationTime);
        }
        platform.expect(QStringLiteral("WARNING!"), RestoreQuestion, answer);
        window.reset();
        state = store::AppState{};
        open();
        EXPECT_EQ(answer == ui::Answer::Yes ? 3 : 2, state.DiveCount());
        EXPECT_EQ(answer == ui::Answer::No, QFile::exists(aside));
        ASSERT_TRUE(window->close());
        EXPECT_EQ(answer == ui::Answer::Yes ? 3 : 2, reread().DiveCount());
        EXPECT_FALSE(QFile::exists(journal)) << "a normal save removes the journal";
    }
}

// The hook that lets a test choose menu commands is only in the test's own build of the
// program; the shipped one reads no such variable.
TEST_F(SafeSaveTest, OnlyTheTestBuildOfTheProgramCarriesTheTestHook) {
    for (const auto& [program, hooked] : {std::pair{REEFBOOK_PROGRAM, false},
                                          std::pair{REEFBOOK_SCRIPTED_PROGRAM, true}}) {
        SCOPED_TRACE(program);
        QFile file(QString::fromUtf8(program));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(hooked, file.readAll().contains("REEFBOOK_TEST_COMMANDS"));
    }
}

// A signal before the start-up reaches its dialogs (during the start-up screen) ends it: no
// rename dialog comes up to write the settings afterwards.
TEST_F(SafeSaveTest, SignalBeforeTheStartUpDialogsEndsTheStartUp) {
    writeLog({dive(100)});
    settings::saveDefaultName(QStringLiteral("Default")); // the rename dialog would come up
    window = std::make_unique<FormLog>(state, FormLog::StartOptions{false, true});
    ASSERT_TRUE(closeOnSignal(*window));
    std::raise(SIGTERM);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    bool dialog = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&dialog] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialog = true;
            modal->close();
        }
    });
    watch.start(10);
    EXPECT_FALSE(window->startUp());
    EXPECT_FALSE(dialog) << "a dialog came up after the signal";
}

// A signal over the recovery question is no answer: the journal stays for the next start.
TEST_F(SafeSaveTest, SignalDuringTheRecoveryQuestionTouchesNothing) {
    writeLog({dive(100)});
    store::AppState withMore;
    store::OpenLog(withMore);
    store::AppendEntry(withMore);
    const QByteArray journal = store::recovery::buildJournal(withMore);
    writeFile(QStringLiteral("log1.dvl.recovery"), journal);
    struct SignalOnAsk : ScriptedPlatform {
        ui::Answer message(QWidget*, const ui::Message& m) override {
            shown.push_back(m);
            std::raise(SIGTERM);
            for (int i = 0; i < 5; ++i)
                QCoreApplication::processEvents();
            return ui::Answer::No; // what a closed message box answers
        }
    } asking;
    window = std::make_unique<FormLog>(state, FormLog::StartOptions{false, true});
    ASSERT_TRUE(closeOnSignal(*window));
    EXPECT_FALSE(window->startUp());
    ASSERT_EQ(1u, asking.shown.size());
    EXPECT_EQ(RestoreQuestion, asking.shown[0].text);
    EXPECT_EQ(journal, readFile(QStringLiteral("log1.dvl.recovery")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("log1.dvl.recovery-old"))));
}

// A signal over a dialog does what its Close does: the profile window stores the profile, the
// options are stored and no Select Diver comes up after them; then the log is saved.
TEST_F(SafeSaveTest, SignalOverADialogDoesWhatItsCloseDoes) {
    store::DiveRecord withDepth = dive(100);
    withDepth.DiveData[store::field::BottomTime] = 40;
    withDepth.DiveData[store::field::MaxDepth] = 60;
    for (const char* command : {"mnuProfile", "mnuOptions"}) {
        SCOPED_TRACE(command);
        writeLog({withDepth});
        settings::saveOptions(0, 0);
        state = store::AppState{};
        open();
        ASSERT_TRUE(closeOnSignal(*window));
        std::vector<QString> later; // dialogs that came up after the signal
        whenModalOpens([&later](QWidget* dialog) {
            if (auto* multi = dialog->findChild<QRadioButton*>(QStringLiteral("optMulti")))
                multi->click();
            QTimer::singleShot(0, [&later] {
                QTimer::singleShot(0, [&later] {
                    if (QWidget* modal = QApplication::activeModalWidget()) {
                        later.push_back(modal->objectName());
                        modal->close();
                    }
                });
            });
            std::raise(SIGTERM);
        });
        child<QAction>(window.get(), command)->trigger();
        ASSERT_TRUE(waitFor([this] { return !window->isVisible(); }));
        EXPECT_TRUE(later.empty()) << later.front().toStdString();
        if (QLatin1String(command) == QLatin1String("mnuProfile"))
            EXPECT_EQ(1, reread().Dives[1].ProfileNum) << "the drawn profile was thrown away";
        else
            EXPECT_EQ(QStringLiteral("1"),
                      settings::GetSetting(settings::AppName, QStringLiteral("Startup"),
                                           QStringLiteral("MultiFlag"), {}));
        window.reset();
    }
}

// The first signal asks for an orderly end; a second one ends the program whatever it waits for.
TEST_F(SafeSaveTest, ASecondSignalAlwaysEnds) {
    QWidget stuck;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        closeOnSignal(stuck);
        std::raise(SIGTERM); // no event loop runs to act on it
        std::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

// A file another program changed while the window was open is not overwritten without asking;
// No keeps both, the window's log going to new names.
TEST_F(SafeSaveTest, AFileChangedOnDiskIsNotOverwrittenWithoutAsking) {
    const QString question = QStringLiteral(
        "Another program changed log1.dvl since Reefbook opened the log. Replace with the dives "
        "shown here?\n\nNo keeps both: the changed files stay as they are, and the log shown "
        "here is saved as log1-kept.dvl, loc1-kept.dvl, type1-kept.dvl, bud1-kept.dvl, "
        "gear1-kept.dvl, prof1-kept.dvl.");
    for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
        SCOPED_TRACE(answer == ui::Answer::Yes ? "Yes" : "No");
        writeLog({dive(100)});
        state = store::AppState{};
        open();
        QTest::mouseClick(ctl<QPushButton>("cmdNew"), Qt::LeftButton); // two dives here
        writeLog({dive(100), dive(200), dive(300)});                   // three there
        const QByteArray theirs = readFile(QStringLiteral("log1.dvl"));
        platform.expect(QStringLiteral("WARNING!"), question, answer);
        ASSERT_TRUE(window->close());
        if (answer == ui::Answer::No) {
            EXPECT_EQ(theirs, readFile(QStringLiteral("log1.dvl")));
            store::AppState kept;
            kept.Files = {"log1-kept.dvl", "loc1-kept.dvl",  "type1-kept.dvl",
                          "bud1-kept.dvl", "gear1-kept.dvl", "prof1-kept.dvl"};
            store::OpenLog(kept);
            EXPECT_EQ(2, kept.DiveCount());
            for (const QString& f : kept.Files.names())
                QFile::remove(path(f));
        } else {
            EXPECT_EQ(2, reread().DiveCount());
        }
        window.reset();
    }
}

// Types any text, one key per character, as a keyboard with those letters would.
void typeText(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &release);
    }
}

// Text the files cannot hold is refused where it is typed or pasted, never saved as '?': the
// box keeps the text it had and its tooltip says why.
TEST_F(SafeSaveTest, CharactersTheFilesCannotHoldAreRefusedWhereTyped) {
    writeLog({dive(100)});
    open();
    const QString foreign = QStringLiteral("日本 Ωμέγα");
    for (const char* name : {"txtDData", "cboCData_2"}) {
        SCOPED_TRACE(name);
        QWidget* box = ctl(name);
        if (auto* combo = qobject_cast<QComboBox*>(box)) box = combo->lineEdit();
        const auto text = [box] {
            auto* plain = qobject_cast<QPlainTextEdit*>(box);
            return plain ? plain->toPlainText() : qobject_cast<QLineEdit*>(box)->text();
        };
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        typeText(box, QStringLiteral("Ann ") + foreign.left(2));
        EXPECT_EQ(QStringLiteral("Ann "), text());
        EXPECT_EQ(ui::unstorableMessage({QStringLiteral("本")}), box->toolTip());
        QApplication::clipboard()->setText(foreign);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(QStringLiteral("Ann "), text());
        EXPECT_EQ(ui::unstorableMessage(foreign.split(QString(), Qt::SkipEmptyParts)
                                            .filter(QRegularExpression(QStringLiteral("\\S")))),
                  box->toolTip());
        typeText(box, QStringLiteral("é"));
        EXPECT_EQ(QStringLiteral("Ann é"), text());
        EXPECT_TRUE(box->toolTip().isEmpty()) << "the box's own tooltip is back";
    }
    EXPECT_EQ(QStringLiteral("Ann é"), state.current().Comments);
}

// A second desktop program on a folder another one holds says which process holds it and
// opens nothing, so neither saves over the other's work.
TEST_F(SafeSaveTest, ASecondProgramOnTheFolderOpensNothing) {
    writeLog({dive(100)});
    const QByteArray before = allFiles();
    store::FolderLock first;
    ASSERT_EQ(store::FolderLock::Outcome::Locked, first.lock());
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsDir.path());
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(dir.path());
    second.start(QStringLiteral(REEFBOOK_PROGRAM), {});
    ASSERT_TRUE(second.waitForStarted());
    QByteArray said;
    const bool told = waitFor([&] {
        said += second.readAllStandardError();
        return said.contains("Close that window first");
    });
    second.kill(); // its message box waits for a click
    second.waitForFinished();
    EXPECT_TRUE(told) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("already open in Reefbook, process %1.")
                                  .arg(QCoreApplication::applicationPid())
                                  .toUtf8()))
        << said.toStdString();
    EXPECT_EQ(before, allFiles());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("log1.dvl.recovery"))));
}

} // namespace app
