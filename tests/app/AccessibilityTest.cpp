#include "app/FormLog.h"
#include "app/frmAbout.h"
#include "divers/frmMulti.h"
#include "divers/frmNewDiver.h"
#include "divers/frmNewName.h"
#include "divers/frmOptions.h"
#include "lists/frmData.h"
#include "lists/frmLocation.h"
#include "output/frmPrint.h"
#include "profile/frmProfile.h"
#include "search/frmChart.h"
#include "search/frmResults.h"
#include "stats/frmStats.h"

#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"

#include <QAccessible>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>

namespace app {

namespace {

// What a diver can act on: these need a name a screen reader can say.
bool interactive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::PageTab:
    case QAccessible::PageTabList:
    case QAccessible::Graphic:
    case QAccessible::Chart:
        return true;
    default:
        return false;
    }
}

// Qt's own parts of a control (the scroll bars of a list, the line edit of a combo box)
// are named by the control.
bool qtsOwn(const QObject* o) {
    const auto internal = [](const QObject* x) {
        return x && x->objectName().startsWith(QLatin1String("qt_")) &&
               x->objectName() != QLatin1String("qt_scrollarea_viewport");
    };
    // An editable combo box's line edit is read out as the combo box.
    return internal(o) || internal(o->parent()) || qobject_cast<const QComboBox*>(o->parent());
}

// The objects in the window's accessibility tree that a diver could act on but that have
// no name: as "objectName (role)".
void unnamed(QAccessibleInterface* iface, QStringList& out, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 40) return;
    const QAccessible::State st = iface->state();
    if (st.invisible) return;
    QObject* o = iface->object();
    const bool item = iface->role() == QAccessible::ListItem || iface->role() == QAccessible::Cell ||
                      iface->role() == QAccessible::MenuItem;
    const bool acts = interactive(iface->role()) || (st.focusable && !item);
    // On Linux a combo box's name is its value, so it needs a name of its own or a label.
    const bool named = iface->role() == QAccessible::ComboBox
                           ? !iface->relations(QAccessible::Label).isEmpty() ||
                                 (o && !static_cast<QWidget*>(o)->accessibleName().isEmpty())
                           : !iface->text(QAccessible::Name).trimmed().isEmpty();
    if (acts && o && !qtsOwn(o) && !named)
        out << QStringLiteral("%1 (%2)").arg(o->objectName()).arg(int(iface->role()));
    // Items are named by their own text; a list's lines are not controls.
    if (iface->role() == QAccessible::List || iface->role() == QAccessible::Table) return;
    for (int i = 0; i < iface->childCount(); ++i)
        unnamed(iface->child(i), out, depth + 1);
}

// Every page of every tab control is walked.
QStringList unnamedIn(QWidget* window) {
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window)) << window->objectName().toStdString();
    QStringList out;
    unnamed(QAccessible::queryAccessibleInterface(window), out);
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        for (int page = 1; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            unnamed(QAccessible::queryAccessibleInterface(tabs->currentWidget()), out);
        }
        tabs->setCurrentIndex(0);
    }
    out.removeDuplicates();
    return out;
}

} // namespace

class Accessibility : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        settings::saveDefaultName(QStringLiteral("Tester"));
        store::AppState s;
        store::StartDefaultLists(s);
        s.Dives.resize(3);
        s.Dives[2].DiveData[store::field::BottomTime] = 40;
        s.Dives[2].DiveData[store::field::MaxDepth] = 60;
        ASSERT_TRUE(store::SaveLog(s).empty());
    }

    ScriptedPlatform platform;
    store::AppState state;
};

TEST_F(Accessibility, EveryControlOfEveryWindowHasAName) {
    QAccessible::setActive(true);
    FormLog main(state, FormLog::StartOptions{false});
    const std::vector<std::pair<const char*, std::function<QWidget*()>>> windows = {
        {"FormLog", [&] { return static_cast<QWidget*>(&main); }},
        {"frmChart", [&] { return new search::frmChart(state, &main); }},
        {"frmResults",
         [&] {
             return new search::frmResults(state, {0, 1}, &main);
         }},
        {"frmProfile", [&] { return new profile::frmProfile(state, &main); }},
        {"frmMulti", [&] { return new divers::frmMulti(state, &main); }},
        {"frmNewDiver", [&] { return new divers::frmNewDiver(state, &main); }},
        {"frmNewName", [&] { return new divers::frmNewName(state, &main); }},
        {"frmOptions", [&] { return new divers::frmOptions(main.logSession(), &main); }},
        {"frmData", [&] { return new lists::frmData(state, 1, &main); }},
        {"frmLocation", [&] { return new lists::frmLocation(state, &main); }},
        {"frmPrint", [&] { return new output::frmPrint(state, &main); }},
        {"frmAbout", [&] { return new frmAbout(&main); }},
        {"frmStats", [&] { return new stats::frmStats(state, &main); }},
    };
    for (const auto& [name, make] : windows) {
        QWidget* w = make();
        EXPECT_EQ("", unnamedIn(w).join(QLatin1String(", ")).toStdString()) << name;
        if (w != &main) {
            w->hide();
            delete w;
        }
    }
}

} // namespace app
