#include "divers/frmNewName.h"
#include "settings/Settings.h"
#include "store/AppState.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace divers {

namespace {

const QString Absent = QStringLiteral("<absent>");

QString storedName() {
    return settings::GetSetting(settings::AppName, QStringLiteral("Multi"),
                                QStringLiteral("DefName"), Absent);
}

class NewNameTest : public TempFolderTest {
protected:
  store::AppState state;
  ScriptedPlatform desktop; // no message box is expected from this dialog
};

TEST_F(NewNameTest, ShowsCaptionTextsAndTheCurrentNameSelected) {
    state.DiverName = QStringLiteral("Default");
    frmNewName dlg(state);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Change Default Diver Name"));
    auto* label = child<QLabel>(dlg, "Label1");
    auto* name = child<QLineEdit>(dlg, "txtName");
    auto* okay = child<QPushButton>(dlg, "cmdOkay");
    ASSERT_TRUE(label && name && okay);
    EXPECT_EQ(label->text(),
              QStringLiteral("The Current diver is named 'Default'.  If you would like to change "
                             "this to your own name, please enter it in the box below."));
    EXPECT_EQ(okay->text(), QStringLiteral("Okay"));
    EXPECT_EQ(name->text(), QStringLiteral("Default"));
    EXPECT_EQ(name->selectedText(), QStringLiteral("Default"));

    // Centred on the screen it opened on.
    const QRect area = dlg.screen()->availableGeometry();
    const QPoint offset = dlg.frameGeometry().center() - area.center();
    EXPECT_LE(std::abs(offset.x()), 1);
    EXPECT_LE(std::abs(offset.y()), 1);
}

// What the user does in the box, then Okay: the stored name and the name in memory.
TEST_F(NewNameTest, OkayStoresTheNameTyped) {
    struct Case {
        const char* what;
        QString before;   // DiverName when the dialog opens
        QString typed;    // keys typed over the selected text ("" = nothing typed)
        bool erase;       // Backspace first, emptying the box
        bool pressEnter;  // Enter in the box instead of clicking Okay
        QString expected; // stored under Multi/DefName and left in DiverName
    };
    const Case cases[] = {
        {"typing replaces the whole name", "Default", "Jane Diver", false, false, "Jane Diver"},
        {"an emptied box means Default", "Default", "", true, false, "Default"},
        {"an untouched box keeps the name", "Pat O'Brien", "", false, false, "Pat O'Brien"},
        {"Enter presses Okay", "Default", "Sam", false, true, "Sam"},
        {"blanks inside are kept", "Default", "Ann  Lee", false, false, "Ann  Lee"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QSettings(settings::AppName, settings::AppName).clear();
        state.DiverName = c.before;

        frmNewName dlg(state);
        dlg.show();
        auto* name = child<QLineEdit>(dlg, "txtName");
        auto* okay = child<QPushButton>(dlg, "cmdOkay");
        ASSERT_TRUE(name && okay);
        if (c.erase)
            QTest::keyClick(name, Qt::Key_Backspace);
        if (!c.typed.isEmpty())
            QTest::keyClicks(name, c.typed);
        if (c.pressEnter)
            QTest::keyClick(name, Qt::Key_Return);
        else
            QTest::mouseClick(okay, Qt::LeftButton);

        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(storedName(), c.expected);
        EXPECT_EQ(state.DiverName, c.expected);
    }
}

TEST_F(NewNameTest, ClosingByTheFrameStoresNothing) {
    struct Case {
        const char* what;
        bool escape; // Escape key rather than the frame's close button
    };
    for (const Case& c : {Case{"frame", false}, Case{"escape", true}}) {
        SCOPED_TRACE(c.what);
        state.DiverName = QStringLiteral("Default");
        frmNewName dlg(state);
        dlg.show();
        auto* name = child<QLineEdit>(dlg, "txtName");
        ASSERT_TRUE(name);
        QTest::keyClicks(name, QStringLiteral("Someone Else"));
        if (c.escape)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            dlg.close();

        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(storedName(), Absent);
        EXPECT_EQ(state.DiverName, QStringLiteral("Default"));
        // So the next start-up asks again.
        bool asked = false;
        settings::readDiverSettings(state, [&](store::AppState&) { asked = true; });
        EXPECT_TRUE(asked);
        EXPECT_EQ(state.DiverName, QStringLiteral("Default"));
    }
}

// The way the main window uses it at start-up: modal, from the rename hook of the settings read.
TEST_F(NewNameTest, ModalFromTheStartUpReadGivesTheNewName) {
    int shown = 0;
    settings::readDiverSettings(state, [&](store::AppState& s) {
        ++shown;
        frmNewName dlg(s);
        QTimer::singleShot(0, &dlg, [] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* name = modal ? modal->findChild<QLineEdit*>(QStringLiteral("txtName")) : nullptr;
            auto* okay = modal ? modal->findChild<QPushButton*>(QStringLiteral("cmdOkay")) : nullptr;
            if (!name || !okay)
                return; // the guard below ends the dialog and fails the test
            QTest::keyClicks(name, QStringLiteral("Robin"));
            QTest::mouseClick(okay, Qt::LeftButton);
        });
        QTimer::singleShot(5000, &dlg, [&dlg] {
            ADD_FAILURE() << "the dialog did not close";
            dlg.reject();
        });
        dlg.exec();
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.DiverName, QStringLiteral("Robin"));
    EXPECT_EQ(storedName(), QStringLiteral("Robin"));

    // Once named, the next start-up does not ask again.
    settings::readDiverSettings(state, [&](store::AppState&) { ++shown; });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.DiverName, QStringLiteral("Robin"));
}

} // namespace

} // namespace divers
