#include "lists/PictureBox.h"
#include "lists/frmData.h"
#include "lists/frmLocation.h"
#include "store/DvlFormat.h"
#include "store/LogOps.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace lists {

namespace {

store::RefList entries(std::initializer_list<const char*> names) {
    store::RefList list;
    for (const char* n : names)
        list.push_back({QString::fromLatin1(n), QStringLiteral("about ") + n, {}});
    return list;
}

QStringList namesOf(const store::RefList& list) {
    QStringList out;
    for (const store::ListEntry& e : list)
        out << e.Name;
    return out;
}

QStringList itemsOf(const QComboBox* cbo) {
    QStringList out;
    for (int i = 0; i < cbo->count(); ++i)
        out << cbo->itemText(i);
    return out;
}

// The controls both editors have, found by name as the user-facing contract says.
struct Controls {
    QComboBox* cboData = nullptr;
    QLineEdit* txtInfo = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdPict = nullptr; // locations only
    PictureBox* picMap = nullptr;   // locations only

    explicit Controls(QWidget* w) {
        cboData = w->findChild<QComboBox*>(QStringLiteral("cboData"));
        txtInfo = w->findChild<QLineEdit*>(QStringLiteral("txtInfo"));
        cmdAdd = w->findChild<QPushButton*>(QStringLiteral("cmdAdd"));
        cmdDelete = w->findChild<QPushButton*>(QStringLiteral("cmdDelete"));
        cmdClose = w->findChild<QPushButton*>(QStringLiteral("cmdClose"));
        cmdPict = w->findChild<QPushButton*>(QStringLiteral("cmdPict"));
        picMap = w->findChild<PictureBox*>(QStringLiteral("picMap"));
    }
    bool complete() const { return cboData && txtInfo && cmdAdd && cmdDelete && cmdClose; }
    bool completeLocation() const { return complete() && cmdPict && picMap; }

    // Chooses entry `index` the way a user does, with the arrow keys in the name box.
    void pick(int index) const {
        while (cboData->currentIndex() < index)
            QTest::keyClick(cboData, Qt::Key_Down);
        while (cboData->currentIndex() > index)
            QTest::keyClick(cboData, Qt::Key_Up);
    }
    // Types over the shown name: select all of it, then type.
    void typeName(const QString& text) const {
        cboData->lineEdit()->setFocus();
        QTest::keyClick(cboData->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(cboData->lineEdit(), Qt::Key_Backspace);
        QTest::keyClicks(cboData->lineEdit(), text);
    }
    void typeInfo(const QString& text) const {
        QTest::keyClick(txtInfo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(txtInfo, text);
    }
};

class ListEditorTest : public TempFolderTest {
protected:
    // A log of dives naming these entries of list `which`, showing the first dive.
    void setDives(int which, const std::vector<int16_t>& named) {
        state.Dives.assign(named.size() + 1, store::DiveRecord{});
        for (size_t i = 0; i < named.size(); ++i)
            state.Dives[i + 1].ListData[static_cast<size_t>(which)] = named[i];
        state.CurrentDive = 1;
    }
    std::vector<int16_t> namedBy(int which) const {
        std::vector<int16_t> out;
        for (int i = 1; i <= state.DiveCount(); ++i)
            out.push_back(state.Dives[static_cast<size_t>(i)].ListData[static_cast<size_t>(which)]);
        return out;
    }
    static void showActive(QDialog& dlg) {
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }
    QString savePicture(const QString& name, const char* format, QSize size, QColor colour) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        const QString p = path(name);
        EXPECT_TRUE(img.save(p, format)) << name.toStdString();
        return p;
    }

    store::AppState state;
    int kind = 1; // 1 types, 2 buddies, 3 gear
    ScriptedPlatform platform;
};

} // namespace

TEST_F(ListEditorTest, OpensOnTheListAndEntryOfTheShownDive) {
    struct Case {
        int16_t kind;
        const char* caption;
    };
    const Case cases[] = {{1, "Dive Types"}, {2, "Dive Buddies"}, {3, "Gear Records"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        state.TypeList = entries({"Pleasure", "Wreck", "Night"});
        state.BuddyList = entries({"None", "Ann", "Bob"});
        state.GearList = entries({"Standard", "Drysuit", "Twinset"});
        setDives(c.kind, {1, 2});
        state.CurrentDive = 2;
        kind = c.kind;
        frmData dlg(state, kind);
        const Controls ui(&dlg);
        ASSERT_TRUE(ui.complete());
        EXPECT_EQ(dlg.windowTitle(), QString::fromLatin1(c.caption));
        EXPECT_EQ(itemsOf(ui.cboData), namesOf(state.list(c.kind)));
        EXPECT_EQ(ui.cboData->currentText(), state.list(c.kind)[2].Name);
        EXPECT_EQ(ui.txtInfo->text(), state.list(c.kind)[2].Info);
        EXPECT_EQ(ui.cmdAdd->text(), QStringLiteral("Add"));
        EXPECT_EQ(ui.cmdDelete->text(), QStringLiteral("Delete"));
        EXPECT_EQ(ui.cmdClose->text(), QStringLiteral("Close"));

        ui.pick(0); // selecting shows that entry's info
        EXPECT_EQ(ui.cboData->currentText(), state.list(c.kind)[0].Name);
        EXPECT_EQ(ui.txtInfo->text(), state.list(c.kind)[0].Info);
    }
}

TEST_F(ListEditorTest, DeleteRenumbersEveryDiveAndShiftsTheInfo) {
    struct Case {
        const char* what;
        store::RefList list;
        int deleted;
        std::vector<int16_t> before, after;
        QStringList names;
    };
    const Case cases[] = {
        {"entry 0 of three", entries({"A", "B", "C"}), 0, {0, 1, 2, 0}, {0, 0, 1, 0}, {"B", "C"}},
        {"entry 2 of five", entries({"A", "B", "C", "D", "E"}), 2, {0, 1, 2, 3, 4, 2},
         {0, 1, 0, 2, 3, 0}, {"A", "B", "D", "E"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        state.BuddyList = c.list;
        setDives(store::field::Buddy, c.before);
        kind = 2;
        frmData dlg(state, kind);
        const Controls ui(&dlg);
        ASSERT_TRUE(ui.complete());
        ui.pick(c.deleted);
        QTest::mouseClick(ui.cmdDelete, Qt::LeftButton);

        // Dives and list change together when the editor closes, so a save in between
        // never writes dives renumbered against the old list.
        EXPECT_EQ(namedBy(store::field::Buddy), c.before);
        EXPECT_EQ(namesOf(state.BuddyList), namesOf(c.list));
        EXPECT_EQ(itemsOf(ui.cboData), c.names);
        // Nothing is selected afterwards, and the removed entry's info is gone from view.
        EXPECT_EQ(ui.cboData->currentText(), QString());
        EXPECT_EQ(ui.txtInfo->text(), QString());

        QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
        EXPECT_EQ(namedBy(store::field::Buddy), c.after);
        EXPECT_EQ(namesOf(state.BuddyList), c.names);
        for (const store::ListEntry& e : state.BuddyList)
            EXPECT_EQ(e.Info, QStringLiteral("about ") + e.Name);
    }
}

TEST_F(ListEditorTest, DeletingTheOnlyEntryIsRefused) {
    state.GearList = entries({"Standard"});
    setDives(store::field::Gear, {0, 0});
    kind = 3;
    frmData dlg(state, kind);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.complete());
    platform.expect(QStringLiteral("Error!"),
                    QStringLiteral("You must have at least one entry in this list"));
    QTest::mouseClick(ui.cmdDelete, Qt::LeftButton);
    ASSERT_EQ(platform.shown.size(), 1u);
    EXPECT_EQ(platform.shown[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(platform.shown[0].buttons, ui::Buttons::Ok);
    EXPECT_EQ(itemsOf(ui.cboData), QStringList{"Standard"});
    QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
    EXPECT_EQ(state.GearList, entries({"Standard"}));
}

TEST_F(ListEditorTest, DeleteWithNothingSelectedDoesNothing) {
    state.TypeList = entries({"A", "B"});
    setDives(store::field::Type, {1});
    frmData dlg(state, kind);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.complete());
    ui.typeName(QStringLiteral("B")); // typed over, even with an existing name
    QTest::mouseClick(ui.cmdDelete, Qt::LeftButton);
    EXPECT_EQ(itemsOf(ui.cboData), (QStringList{"A", "B"}));
    EXPECT_EQ(namedBy(store::field::Type), std::vector<int16_t>{1});
}

TEST_F(ListEditorTest, AddOnlyATypedName) {
    struct Case {
        const char* what;
        bool typeOver;
        QString typed;
        QStringList after;
    };
    const Case cases[] = {
        {"new name", true, "Wreck", {"Pleasure", "Night", "Wreck"}},
        {"existing name makes a second entry", true, "Pleasure", {"Pleasure", "Night", "Pleasure"}},
        {"the shown name typed again", true, "Night", {"Pleasure", "Night", "Night"}},
        {"empty box", true, "", {"Pleasure", "Night"}},
        {"a selected entry shown", false, "", {"Pleasure", "Night"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        state.TypeList = entries({"Pleasure", "Night"});
        setDives(store::field::Type, {1});
        frmData dlg(state, kind);
        showActive(dlg);
        const Controls ui(&dlg);
        ASSERT_TRUE(ui.complete());
        if (c.typeOver)
            ui.typeName(c.typed);
        // The click takes the focus from the name box first, as a real click does.
        QTest::mouseClick(ui.cmdAdd, Qt::LeftButton);
        EXPECT_EQ(itemsOf(ui.cboData), c.after);
        if (c.after.size() == 3) {
            EXPECT_EQ(ui.cboData->currentIndex(), 2);
            EXPECT_EQ(ui.cboData->currentText(), c.typed);
            EXPECT_EQ(ui.txtInfo->text(), QString());
        }
        QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
        EXPECT_EQ(namesOf(state.TypeList), c.after);
        EXPECT_EQ(state.TypeList[1].Info, QStringLiteral("about Night"));
    }
}

TEST_F(ListEditorTest, InfoTypedAfterAddIsKeptAndInfoTypedOverNothingIsNot) {
    state.BuddyList = entries({"None", "Ann"});
    setDives(store::field::Buddy, {1});
    kind = 2;
    frmData dlg(state, kind);
    showActive(dlg);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.complete());

    ui.typeName(QStringLiteral("Carla"));
    EXPECT_EQ(ui.txtInfo->text(), QString()) << "Ann's info is not shown under the new name";
    ui.txtInfo->setFocus();
    ui.typeInfo(QStringLiteral("lost words"));
    EXPECT_EQ(ui.txtInfo->text(), QString()) << "no entry takes this typing";

    QTest::mouseClick(ui.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(ui.txtInfo->text(), QString());
    ui.txtInfo->setFocus();
    ui.typeInfo(QStringLiteral("PADI instructor"));
    ui.pick(1);
    EXPECT_EQ(ui.txtInfo->text(), QStringLiteral("about Ann"));
    ui.pick(2);
    EXPECT_EQ(ui.txtInfo->text(), QStringLiteral("PADI instructor"));

    QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
    const store::RefList expected = {
        {"None", "about None", {}}, {"Ann", "about Ann", {}}, {"Carla", "PADI instructor", {}}};
    EXPECT_EQ(state.BuddyList, expected);
}

TEST_F(ListEditorTest, TypingReplacesTheShownText) {
    state.TypeList = entries({"Reef"});
    setDives(store::field::Type, {0});
    frmData dlg(state, kind);
    showActive(dlg);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.complete());
    ASSERT_TRUE(ui.cboData->hasFocus());
    EXPECT_EQ(ui.cboData->lineEdit()->selectedText(), QStringLiteral("Reef"));
    QTest::keyClick(ui.cboData, Qt::Key_Tab);
    ASSERT_TRUE(ui.txtInfo->hasFocus());
    QApplication::processEvents();
    EXPECT_EQ(ui.txtInfo->selectedText(), QStringLiteral("about Reef"));
}

TEST_F(ListEditorTest, EveryWayOfClosingStoresTheList) {
    enum How { CloseButton, Escape, WindowFrame, RunModal };
    for (How how : {CloseButton, Escape, WindowFrame, RunModal}) {
        SCOPED_TRACE(how);
        state.GearList = entries({"Standard"});
        setDives(store::field::Gear, {0});
        kind = 3;
        frmData dlg(state, kind);
        const Controls ui(&dlg);
        ASSERT_TRUE(ui.complete());
        auto addAndClose = [&] {
            ui.typeName(QStringLiteral("Drysuit"));
            QTest::mouseClick(ui.cmdAdd, Qt::LeftButton);
            switch (how) {
            case Escape:
                QTest::keyClick(&dlg, Qt::Key_Escape);
                break;
            case WindowFrame:
                dlg.close();
                break;
            default:
                QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
            }
        };
        if (how == RunModal) {
            QTimer::singleShot(0, &dlg, addAndClose);
            dlg.exec();
        } else {
            showActive(dlg);
            addAndClose();
        }
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(namesOf(state.GearList), (QStringList{"Standard", "Drysuit"}));
    }
}

TEST_F(ListEditorTest, EnterInTheNameBoxNeitherClosesNorAdds) {
    state.TypeList = entries({"Reef"});
    setDives(store::field::Type, {0});
    frmData dlg(state, kind);
    showActive(dlg);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.complete());
    ui.typeName(QStringLiteral("Cave"));
    QTest::keyClick(ui.cboData->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(itemsOf(ui.cboData), QStringList{"Reef"});
}

TEST_F(ListEditorTest, TabGoesThroughTheControlsInReadingOrder) {
    state.LocationList = entries({"Pool"});
    state.TypeList = entries({"Reef"});
    setDives(store::field::Location, {0});
    frmData types(state, kind);
    frmLocation locations(state);
    const std::pair<QDialog*, QStringList> cases[] = {
        {&types, {"txtInfo", "cmdAdd", "cmdDelete", "cmdClose", "cboData"}},
        {&locations, {"txtInfo", "cmdAdd", "cmdDelete", "cmdPict", "cmdClose", "cboData"}}};
    for (const auto& [dlg, order] : cases) {
        showActive(*dlg);
        const Controls ui(dlg);
        ui.cboData->setFocus();
        QStringList seen;
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* w = QApplication::focusWidget();
            // The name box's editor stands for the name box.
            seen << (w && w->parentWidget() == ui.cboData ? ui.cboData : w)->objectName();
        }
        EXPECT_EQ(seen.join(QLatin1Char(' ')).toStdString(),
                  order.join(QLatin1Char(' ')).toStdString());
        dlg->hide();
    }
}

// ---- Locations ----

class LocationTest : public ListEditorTest {
protected:
    void SetUp() override {
        ListEditorTest::SetUp();
        state.LocationList = entries({"Pool", "Blue Hole", "Wreck"});
        setDives(store::field::Location, {1, 2, 0});
    }
};

TEST_F(LocationTest, PictureIsChosenShownKeptAndSaved) {
    const struct {
        const char* file;
        const char* format;
    } formats[] = {{"reef.png", "PNG"}, {"reef.bmp", "BMP"}};
    for (const auto& f : formats) {
        SCOPED_TRACE(f.file);
        state.LocationList[1].Picture.clear();
        const QString picture =
            savePicture(QString::fromLatin1(f.file), f.format, QSize(60, 30), Qt::red);
        {
            frmLocation dlg(state);
            const Controls ui(&dlg);
            ASSERT_TRUE(ui.completeLocation());
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Dive Locations"));
            EXPECT_EQ(ui.cmdPict->text(), QStringLiteral("Picture"));
            EXPECT_EQ(ui.cboData->currentText(), QStringLiteral("Blue Hole"));
            EXPECT_FALSE(ui.picMap->hasPicture());

            platform.chooseFile(picture);
            QTest::mouseClick(ui.cmdPict, Qt::LeftButton);
            ASSERT_FALSE(platform.fileRequests.empty());
            const ui::FileRequest& r = platform.fileRequests.back();
            EXPECT_EQ(r.title, QStringLiteral("Open Location Picture or Map"));
            EXPECT_EQ(r.defaultSuffix, QStringLiteral("bmp"));
            EXPECT_EQ(r.filter, QStringLiteral("BMP Files (*.bmp);;All Files (*)"));
            ASSERT_TRUE(ui.picMap->hasPicture());
            EXPECT_EQ(ui.picMap->picture().size(), QSize(60, 30));
            QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
        }
        EXPECT_EQ(state.LocationList[1].Picture, picture);

        frmLocation again(state); // reopened on the same dive: the same picture
        const Controls ui(&again);
        ASSERT_TRUE(ui.completeLocation());
        ASSERT_TRUE(ui.picMap->hasPicture());
        EXPECT_TRUE(ui.picMap->picture() == QImage(picture)) << "the file chosen before";
        ui.pick(0); // an entry without a picture clears the box
        EXPECT_FALSE(ui.picMap->hasPicture());
        EXPECT_EQ(ui.picMap->note(), QString());
        ui.pick(1);
        EXPECT_TRUE(ui.picMap->hasPicture());
    }

    ASSERT_TRUE(store::SaveLog(state).empty());
    auto counted = [](const QByteArray& text) {
        QByteArray out;
        out.append(static_cast<char>(text.size() & 0xFF));
        out.append(static_cast<char>(text.size() >> 8));
        return out + text;
    };
    const QByteArray expected = bytesOf("02 00") + counted("Pool") + counted("about Pool") +
                                counted("") + counted("Blue Hole") + counted("about Blue Hole") +
                                counted(path("reef.bmp").toLatin1()) + counted("Wreck") +
                                counted("about Wreck") + counted("");
    EXPECT_EQ(readFile(QStringLiteral("loc1.dvl")), expected);
}

TEST_F(LocationTest, PictureCancelledOrWithNothingSelectedChangesNothing) {
    state.LocationList[1].Picture = savePicture(QStringLiteral("map.png"), "PNG", {8, 8}, Qt::blue);
    frmLocation dlg(state);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.completeLocation());

    platform.chooseFile(QString()); // cancel
    QTest::mouseClick(ui.cmdPict, Qt::LeftButton);
    EXPECT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_TRUE(ui.picMap->hasPicture());

    // A path the location file could not hold is refused rather than lost at the next start.
    const QString foreign = savePicture(QStringLiteral("карта.png"), "PNG", {8, 8}, Qt::red);
    platform.chooseFile(foreign);
    platform.expect(QStringLiteral("Sorry!"),
                    QStringLiteral("This picture cannot be kept: the location file can only hold "
                                   "file and folder names in Western European letters.\n") +
                        foreign);
    QTest::mouseClick(ui.cmdPict, Qt::LeftButton);
    EXPECT_TRUE(ui.picMap->picture() == QImage(state.LocationList[1].Picture)) << "still the map";

    ui.typeName(QStringLiteral("Somewhere new")); // no entry selected now
    EXPECT_FALSE(ui.picMap->hasPicture()) << "the old picture is not shown under a new name";
    QTest::mouseClick(ui.cmdPict, Qt::LeftButton);
    EXPECT_EQ(platform.fileRequests.size(), 2u) << "no file dialog without an entry";

    QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
    EXPECT_EQ(state.LocationList[1].Picture, path("map.png"));
}

TEST_F(LocationTest, UnreadablePicturesLeaveANoteAndKeepThePath) {
    const QByteArray png = [this] {
        savePicture(QStringLiteral("good.png"), "PNG", {40, 40}, Qt::green);
        return readFile(QStringLiteral("good.png"));
    }();
    writeFile(QStringLiteral("garbage.png"), "this is not a picture at all");
    writeFile(QStringLiteral("cut.png"), png.left(png.size() / 2));
    writeFile(QStringLiteral("empty.bmp"), QByteArray());
    const struct {
        QString stored;
        QString note;
    } cases[] = {
        {path("gone.bmp"), "Picture not found: gone.bmp"},
        {"C:\\Maps\\palancar.bmp", "Picture not found: palancar.bmp"},
        {dir.path(), "Picture not found: " + QFileInfo(dir.path()).fileName()},
        {"/dev/zero", "Picture not found: zero"},
        {path("garbage.png"), "Picture cannot be read: garbage.png"},
        {path("cut.png"), "Picture cannot be read: cut.png"},
        {path("empty.bmp"), "Picture cannot be read: empty.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        state.LocationList[1].Picture = c.stored;
        frmLocation dlg(state);
        const Controls ui(&dlg);
        ASSERT_TRUE(ui.completeLocation());
        EXPECT_FALSE(ui.picMap->hasPicture());
        EXPECT_EQ(ui.picMap->note(), c.note);
        dlg.show();
        ui.picMap->repaint(); // drawing the note must not trip either
        QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
        EXPECT_EQ(state.LocationList[1].Picture, c.stored);
    }
}

TEST_F(LocationTest, DeletingAnEntryMovesTheNextOnesPictureAndInfo) {
    state.LocationList[2].Picture = savePicture(QStringLiteral("w.png"), "PNG", {4, 4}, Qt::red);
    frmLocation dlg(state);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.completeLocation());
    ASSERT_EQ(ui.cboData->currentIndex(), 1);
    QTest::mouseClick(ui.cmdDelete, Qt::LeftButton);
    EXPECT_FALSE(ui.picMap->hasPicture());
    ui.pick(1);
    EXPECT_TRUE(ui.picMap->hasPicture());
    EXPECT_EQ(ui.txtInfo->text(), QStringLiteral("about Wreck"));
    QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
    EXPECT_EQ(namedBy(store::field::Location), (std::vector<int16_t>{0, 1, 0}));
    const store::RefList expected = {{"Pool", "about Pool", {}},
                                     {"Wreck", "about Wreck", path("w.png")}};
    EXPECT_EQ(state.LocationList, expected);
}

TEST_F(LocationTest, PictureFitsTheBoxKeepingItsProportions) {
    const struct {
        QSize image;
        bool shrinks;
    } cases[] = {{{1600, 400}, true}, {{300, 900}, true}, {{20, 10}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image.width());
        state.LocationList[1].Picture =
            savePicture(QStringLiteral("p.png"), "PNG", c.image, Qt::darkCyan);
        frmLocation dlg(state);
        const Controls ui(&dlg);
        ASSERT_TRUE(ui.completeLocation());
        dlg.show();
        for (QSize windowSize : {QSize(500, 450), QSize(900, 700)}) {
            dlg.resize(windowSize);
            QApplication::processEvents();
            const QRect r = ui.picMap->pictureRect();
            EXPECT_TRUE(ui.picMap->contentsRect().contains(r));
            if (c.shrinks) {
                EXPECT_TRUE(r.width() == ui.picMap->contentsRect().width() ||
                            r.height() == ui.picMap->contentsRect().height());
                const double want = double(c.image.width()) / c.image.height();
                EXPECT_NEAR(double(r.width()) / r.height(), want, want * 0.03);
            } else {
                EXPECT_EQ(r.size(), c.image);
            }
        }
    }
}

// An entry of a list another diver shares is not deleted: his dives would name other entries.
TEST_F(ListEditorTest, DeletingFromASharedListIsRefusedWithTheSharersNames) {
    store::FileSet ann = store::FileSet::numbered(2);
    ann.LocFile = QStringLiteral("loc1.dvl");
    store::FileSet bob = store::FileSet::numbered(3);
    bob.LocFile = QStringLiteral("loc1.dvl");
    writeFile("divers.dvl",
              store::dvl::serializeDivers({{QStringLiteral("Default"), store::FileSet{}},
                                           {QStringLiteral("Ann"), ann},
                                           {QStringLiteral("Bob"), bob},
                                           {QStringLiteral("Cy"), store::FileSet::numbered(4)}}));
    state.LocationList = entries({"Pool", "Reef", "Wreck"});
    setDives(store::field::Location, {1, 2});
    frmLocation dlg(state);
    const Controls ui(&dlg);
    ASSERT_TRUE(ui.complete());
    platform.expect(QStringLiteral("Error!"),
                    QStringLiteral("This list is shared with Ann, Bob. Deleting an entry would "
                                   "make their dives name other entries, so entries of a shared "
                                   "list can be added and edited, not deleted."));
    QTest::mouseClick(ui.cmdDelete, Qt::LeftButton);
    QTest::mouseClick(ui.cmdClose, Qt::LeftButton);
    EXPECT_EQ(state.LocationList, entries({"Pool", "Reef", "Wreck"}));
    EXPECT_EQ(namedBy(store::field::Location), (std::vector<int16_t>{1, 2}));
}

} // namespace lists
