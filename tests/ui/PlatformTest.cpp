#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace ui {

namespace {

// The real box: a destructive question shows the critical-stop icon with No as the default,
// a refusal the warning icon with OK; Enter answers with the default.
TEST(DesktopPlatform, IconAndDefaultButton) {
    struct Case {
        ui::Message m;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton defaultButton;
        ui::Answer enter;
    };
    const Case cases[] = {
        {{"Delete Confirmation", "Sure?", ui::Icon::Critical, ui::Buttons::YesNo, ui::Answer::No},
         QMessageBox::Critical,
         QMessageBox::No,
         ui::Answer::No},
        {{"Keep?", "Keep it?", ui::Icon::Question, ui::Buttons::YesNo, ui::Answer::Yes},
         QMessageBox::Question,
         QMessageBox::Yes,
         ui::Answer::Yes},
        {{"Error", "Refused", ui::Icon::Exclamation, ui::Buttons::Ok, ui::Answer::Ok},
         QMessageBox::Warning,
         QMessageBox::Ok,
         ui::Answer::Ok},
    };
    ui::Platform desktop;
    for (const Case& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton def = QMessageBox::NoButton;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            def = box->standardButton(box->defaultButton());
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(desktop.message(nullptr, c.m), c.enter) << c.m.caption.toStdString();
        EXPECT_EQ(icon, c.icon) << c.m.caption.toStdString();
        EXPECT_EQ(def, c.defaultButton) << c.m.caption.toStdString();
    }
}

// The scripted box fails a test whose box is of another kind than the answer implies.
TEST(ScriptedPlatform, ChecksTheKindOfBox) {
    using ui::Answer;
    using ui::Buttons;
    using ui::Icon;
    struct Case {
        Answer answer;
        std::optional<Icon> icon;
        ui::Message shown;
        std::string faults;
    };
    const Case cases[] = {
        {Answer::Yes,
         {},
         {"W", "t", Icon::Exclamation, Buttons::Ok, Answer::Ok},
         "icon buttons default "},
        {Answer::No, {}, {"W", "t", Icon::Critical, Buttons::YesNo, Answer::Yes}, "default "},
        {Answer::Ok, {}, {"W", "t", Icon::Information, Buttons::Ok, Answer::Ok}, "icon "},
        {Answer::Ok,
         Icon::Information,
         {"W", "t", Icon::Exclamation, Buttons::Ok, Answer::Ok},
         "icon "},
        {Answer::Ok,
         {},
         {"W", "t", Icon::Exclamation, Buttons::YesNo, Answer::No},
         "buttons default "},
        {Answer::Yes, {}, {"W", "t", Icon::Critical, Buttons::YesNo, Answer::No}, ""},
        {Answer::Ok, {}, {"W", "t", Icon::Exclamation, Buttons::Ok, Answer::Ok}, ""},
        {Answer::Yes, Icon::Question, {"W", "t", Icon::Question, Buttons::YesNo, Answer::No}, ""},
    };
    for (const Case& c : cases) {
        testing::TestPartResultArray results;
        Answer got = Answer::Ok;
        {
            testing::ScopedFakeTestPartResultReporter catcher(
                testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
            ScriptedPlatform p;
            if (c.icon)
                p.expect("W", "t", c.answer, *c.icon);
            else
                p.expect("W", "t", c.answer);
            got = ui::platform().message(nullptr, c.shown);
        }
        std::string all;
        for (int i = 0; i < results.size(); ++i)
            all += results.GetTestPartResult(i).message();
        std::string faults;
        for (const char* what : {"icon", "buttons", "default"})
            if (all.find(std::string(what) + (what[0] == 'd' ? " button of" : " of")) !=
                std::string::npos)
                faults += std::string(what) + ' ';
        EXPECT_EQ(faults, c.faults) << all;
        EXPECT_EQ(got, c.answer);
    }
}

} // namespace

} // namespace ui
