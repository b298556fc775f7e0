#include "app/FormLog.h"
#include "divers/frmMulti.h"
#include "settings/Settings.h"
#include "divers/DiverList.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace divers {

namespace {

// Runs `act` once the dialog called `name` is the active modal window. Dialogs opened one after
// the other (Options, then Select Diver) each get their own call; one that never comes fails.
void onDialog(const char* name, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool found = modal && modal->objectName() == QLatin1String(name);
        if (!found && ++*tries < 300) return;
        timer->stop();
        timer->deleteLater();
        if (found) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(modal)) << name;
            act(modal);
        } else {
            ADD_FAILURE() << name << " did not come up";
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
        }
    });
    timer->start(10);
}

void click(QWidget* dialog, const char* button) {
    if (auto* b = child<QPushButton>(dialog, button)) QTest::mouseClick(b, Qt::LeftButton);
}

// On its round mark: an option button takes clicks on its mark and caption only.
void clickOption(QWidget* dialog, const char* name) {
    if (auto* o = child<QRadioButton>(dialog, name))
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(8, o->height() / 2));
}

QStringList rows(QWidget* dialog) {
    QStringList out;
    if (auto* list = child<QListWidget>(dialog, "lstDivers"))
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
    return out;
}

void pickRow(QWidget* dialog, int row) {
    if (auto* list = child<QListWidget>(dialog, "lstDivers")) list->setCurrentRow(row);
}

class DiversTest : public TempFolderTest {
  protected:

    // Ann (default, log1...) and Bob (log2...), each with one dive whose PSI In tells them apart.
    void writeFamily() {
        for (int n : {1, 2}) {
            store::AppState s;
            s.Files = store::FileSet::numbered(n);
            store::StartNewLog(s);
            s.Dives[1].DiveData[store::field::PsiIn] = static_cast<int16_t>(1000 * n);
            ASSERT_TRUE(store::SaveLog(s).empty());
        }
        writeFile(divers::ListFileName,
                  store::dvl::serializeDivers(
                      {store::DiverEntry{QStringLiteral("Ann"), store::FileSet::numbered(1)},
                       store::DiverEntry{QStringLiteral("Bob"), store::FileSet::numbered(2)}}));
        settings::saveDefaultDiver(
            store::DiverEntry{QStringLiteral("Ann"), store::FileSet::numbered(1)}, 1);
    }

    int psiOnDisk(int n) {
        const std::vector<store::DiveRecord> dives =
            store::dvl::parseLog(readFile(store::FileSet::numbered(n).LogFile));
        return dives.empty() ? -1 : dives.back().DiveData[store::field::PsiIn];
    }

    ScriptedPlatform desktop;
    store::AppState state;
};

TEST_F(DiversTest, FirstUseShowsTheDefaultDiverAndOkayOpensHim) {
    struct Case {
        const char* what;
        std::function<void(frmMulti&)> choose;
    };
    const Case cases[] = {
        {"Okay", [](frmMulti& d) { click(&d, "cmdOkay"); }},
        {"double-click",
         [](frmMulti& d) {
             auto* list = child<QListWidget>(&d, "lstDivers");
             const QRect r = list->visualItemRect(list->item(0));
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(divers::ListFileName);
        store::AppState s;
        frmMulti dlg(s);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Select Diver"));
        EXPECT_EQ(rows(&dlg), QStringList{QStringLiteral("Default - Default")});
        c.choose(dlg);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(readFile(divers::ListFileName).size(), 74);
        EXPECT_EQ(s.DiverName, QStringLiteral("Default"));
    }
}

TEST_F(DiversTest, NewDiverRefusesAUsedNameThenAddsWithTheChosenLists) {
    writeFamily();
    state.DefaultDiver = 1;
    frmMulti select(state);
    select.show();
    onDialog("frmNewDiver", [this](QWidget* add) {
        EXPECT_EQ(add->windowTitle(), QStringLiteral("New Diver"));
        auto* gear = child<QComboBox>(add, "cboGear");
        ASSERT_EQ(gear->count(), 3);
        EXPECT_EQ(gear->itemText(0), QStringLiteral("New"));
        EXPECT_EQ(gear->itemText(2), QStringLiteral("Bob"));
        auto* name = child<QLineEdit>(add, "txtName");
        click(add, "comOkay"); // empty name: nothing happens
        EXPECT_TRUE(add->isVisible());
        desktop.expect(QStringLiteral("Sorry!"),
                       QStringLiteral("This name has already been used.  Enter a new name or "
                                      "change this one."));
        QTest::keyClicks(name, QStringLiteral(" bob "));
        click(add, "comOkay");
        EXPECT_TRUE(add->isVisible());
        EXPECT_EQ(state.DiverList.size(), 2u);
        name->clear();
        QTest::keyClicks(name, QStringLiteral(" Cy "));
        gear->setCurrentIndex(1); // Ann's gear
        click(add, "comOkay");
    });
    click(&select, "cmdNew");
    EXPECT_EQ(rows(&select), (QStringList{"Ann - Default", "Bob", "Cy"}));
    ASSERT_EQ(state.DiverList.size(), 3u);
    store::FileSet expected = store::FileSet::numbered(3);
    expected.GearFile = QStringLiteral("gear1.dvl");
    EXPECT_EQ(state.DiverList[2], (store::DiverEntry{QStringLiteral("Cy"), expected}));
    EXPECT_EQ(store::dvl::parseDivers(readFile(divers::ListFileName)).size(),
              2u); // nothing written yet
}

TEST_F(DiversTest, DeleteRefusesTheDefaultAndAsksFirst) {
    writeFamily();
    state.DefaultDiver = 1;
    frmMulti select(state);
    select.show();
    const QByteArray bobsLog = readFile(QStringLiteral("log2.dvl"));

    desktop.expect(QStringLiteral("Error"),
                   QStringLiteral("You can not delete the Default Diver."));
    click(&select, "cmdDel");
    const QString warning = QStringLiteral("This will permanently delete this divers records.  "
                                           "Are you sure you want to continue?");
    pickRow(&select, 1);
    desktop.expect(QStringLiteral("WARNING!"), warning, ui::Answer::No);
    click(&select, "cmdDel");
    EXPECT_EQ(rows(&select), (QStringList{"Ann - Default", "Bob"}));
    EXPECT_EQ(readFile(QStringLiteral("log2.dvl")), bobsLog);

    desktop.expect(QStringLiteral("WARNING!"), warning, ui::Answer::Yes);
    click(&select, "cmdDel");
    EXPECT_EQ(rows(&select), QStringList{"Ann - Default"});
    for (const QString& f : store::FileSet::numbered(2).names())
        EXPECT_FALSE(QFile::exists(f)) << f.toStdString();
    for (const QString& f : store::FileSet::numbered(1).names())
        EXPECT_TRUE(QFile::exists(f)) << f.toStdString();
    EXPECT_EQ(desktop.shown.size(), 3u);
}

TEST_F(DiversTest, ChangeDiverSavesTheOpenDiverBeforeOpeningAnother) {
    writeFamily();
    settings::saveOptions(0, 1);
    onDialog("frmMulti", [](QWidget* d) { click(d, "cmdOkay"); }); // Ann, the default
    app::FormLog window(state, app::FormLog::StartOptions{false});
    window.show();
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("[Ann]")));
    auto* psi = child<QLineEdit>(&window, "txtBData_0");
    psi->setFocus();
    psi->selectAll();
    QTest::keyClicks(psi, QStringLiteral("1234"));
    EXPECT_EQ(psiOnDisk(1), 1000);

    auto* change = child<QAction>(&window, "mnuChDiver");
    ASSERT_TRUE(change->isVisible());
    onDialog("frmMulti", [this](QWidget* d) {
        EXPECT_EQ(psiOnDisk(1), 1234) << "Ann's log is saved before another diver is picked";
        pickRow(d, 1);
        click(d, "cmdOkay");
    });
    change->trigger();
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("[Bob]")));
    EXPECT_EQ(psi->text(), QStringLiteral("2000"));
    EXPECT_EQ(psiOnDisk(2), 2000);
}

TEST_F(DiversTest, ChangeDiverCancelledKeepsTheOpenDiver) {
    writeFamily();
    settings::saveOptions(0, 1);
    onDialog("frmMulti", [](QWidget* d) {
        pickRow(d, 1);
        click(d, "cmdOkay");
    });
    app::FormLog window(state, app::FormLog::StartOptions{false});
    window.show();
    ASSERT_TRUE(window.windowTitle().endsWith(QStringLiteral("[Bob]")));
    auto* psi = child<QLineEdit>(&window, "txtBData_0");
    auto* change = child<QAction>(&window, "mnuChDiver");

    // Escape, and closing by the frame: Bob, the open diver, is the row offered and stays open.
    for (bool escape : {true, false}) {
        onDialog("frmMulti", [escape](QWidget* d) {
            auto* list = child<QListWidget>(d, "lstDivers");
            EXPECT_EQ(1, list->currentRow()) << "the open diver is highlighted";
            if (escape)
                QTest::keyClick(list, Qt::Key_Escape);
            else
                d->close();
        });
        change->trigger();
        EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("[Bob]"))) << escape;
        EXPECT_EQ(psi->text(), QStringLiteral("2000")) << escape;
    }

    // Deleting the open diver and then cancelling leaves nothing of his open: the default is.
    onDialog("frmMulti", [this](QWidget* d) {
        // Tests have no trash: the files are really deleted, and the warning says so.
        desktop.expect(QStringLiteral("WARNING!"),
                       QStringLiteral("This will permanently delete this divers records.  Are "
                                      "you sure you want to continue?"),
                       ui::Answer::Yes);
        click(d, "cmdDel");
        EXPECT_EQ(rows(d), QStringList{"Ann - Default"});
        QTest::keyClick(child(d, "lstDivers"), Qt::Key_Escape);
    });
    change->trigger();
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("[Ann]")));
    EXPECT_EQ(psi->text(), QStringLiteral("1000"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("log2.dvl")));
}

TEST_F(DiversTest, OptionsSwitchesModeAndOffset) {
    writeFamily();
    app::FormLog window(state, app::FormLog::StartOptions{false});
    window.show();
    auto* options = child<QAction>(&window, "mnuOptions");
    auto* change = child<QAction>(&window, "mnuChDiver");
    ASSERT_TRUE(options->isEnabled());
    EXPECT_FALSE(change->isVisible());

    // To several divers: the offset box refuses 30001, Close stores both, and the diver is
    // picked at once, after the open diver's files were saved.
    onDialog("frmOptions", [this](QWidget* d) {
        auto* offset = child<QLineEdit>(d, "txtOffset");
        EXPECT_EQ(offset->text(), QStringLiteral("0"));
        EXPECT_TRUE(child<QRadioButton>(d, "optSingle")->isChecked());
        clickOption(d, "optMulti");
        offset->setFocus();
        offset->selectAll();
        // Judged when the box is left, not on the way ("-" is no number yet).
        QTest::keyClicks(offset, QStringLiteral("-"));
        QTest::keyClicks(offset, QStringLiteral("3"));
        desktop.expect(QStringLiteral("Error"),
                       QStringLiteral("Value out of range: enter a whole number from 0 to 30000."));
        child(d, "optMulti")->setFocus();
        EXPECT_EQ(offset->text(), QStringLiteral("0"));
        EXPECT_TRUE(offset->hasFocus());
        QTest::keyClicks(offset, QStringLiteral("30001"));
        desktop.expect(QStringLiteral("Error"),
                       QStringLiteral("Value out of range: enter a whole number from 0 to 30000."));
        click(d, "cmdClose");
        EXPECT_TRUE(d->isVisible()) << "Close refuses the box first";
        EXPECT_EQ(offset->text(), QStringLiteral("0"));
        QCoreApplication::processEvents(); // the diver reads the message before going on
        QTest::keyClicks(offset, QStringLiteral("499"));
        EXPECT_EQ(state.DiveOffset, 499);
        QFile::remove(QStringLiteral("log1.dvl"));
        onDialog("frmMulti", [this](QWidget* m) {
            EXPECT_EQ(psiOnDisk(1), 1000) << "saved before the selection";
            pickRow(m, 1);
            click(m, "cmdOkay");
        });
        click(d, "cmdClose");
    });
    options->trigger();
    EXPECT_TRUE(change->isVisible());
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("[Bob]")));
    EXPECT_EQ(child<QLineEdit>(&window, "txtDNum")->text(), QStringLiteral("500"));
    EXPECT_EQ(settings::GetSetting(settings::AppName, "Startup", "MultiFlag", ""), "1");
    EXPECT_EQ(settings::GetSetting(settings::AppName, "Startup", "Offset", ""), "499");

    // Back to one diver: no selection, Bob stays open, Change Diver is hidden.
    onDialog("frmOptions", [](QWidget* d) {
        clickOption(d, "optSingle");
        click(d, "cmdClose");
    });
    options->trigger();
    EXPECT_FALSE(change->isVisible());
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("[Bob]")));
    EXPECT_EQ(settings::GetSetting(settings::AppName, "Startup", "MultiFlag", ""), "0");
}

} // namespace

} // namespace divers
