#include "ScriptedPlatform.h"

#include <gtest/gtest.h>

ScriptedPlatform::~ScriptedPlatform() {
    for (const Expected& e : expected)
        ADD_FAILURE() << "expected message never came: " << e.caption.toStdString() << " / "
                      << e.text.toStdString();
}

void ScriptedPlatform::expect(const QString& caption, const QString& text, ui::Answer answer) {
    expect(caption, text, answer,
           answer == ui::Answer::Ok ? ui::Icon::Exclamation : ui::Icon::Critical);
}

void ScriptedPlatform::expect(const QString& caption, const QString& text, ui::Answer answer,
                              ui::Icon icon) {
    expected.push_back({caption, text, answer, icon});
}

ui::Answer ScriptedPlatform::message(QWidget*, const ui::Message& m) {
    shown.push_back(m);
    if (expected.empty()) {
        ADD_FAILURE() << "unexpected message: " << m.caption.toStdString() << " / "
                      << m.text.toStdString();
        return m.defaultButton;
    }
    const Expected e = expected.front();
    expected.pop_front();
    const bool question = e.answer != ui::Answer::Ok;
    EXPECT_EQ(e.caption.toStdString(), m.caption.toStdString());
    EXPECT_EQ(e.text.toStdString(), m.text.toStdString());
    EXPECT_EQ(int(e.icon), int(m.icon)) << "icon of " << m.caption.toStdString();
    EXPECT_EQ(question ? ui::Buttons::YesNo : ui::Buttons::Ok, m.buttons)
        << "buttons of " << m.caption.toStdString();
    EXPECT_EQ(question ? ui::Answer::No : ui::Answer::Ok, m.defaultButton)
        << "default button of " << m.caption.toStdString();
    return e.answer;
}

QString ScriptedPlatform::openFileName(QWidget*, const ui::FileRequest& request) {
    fileRequests.push_back(request);
    if (files.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
        return {};
    }
    const QString f = files.front();
    files.pop_front();
    return f;
}

ui::SaveChoice ScriptedPlatform::saveFileName(QWidget*, const ui::FileRequest& request,
                                              const QString& proposed) {
    fileRequests.push_back(request);
    proposedNames.push_back(proposed);
    if (saves.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << request.title.toStdString();
        return {};
    }
    const ui::SaveChoice c = saves.front();
    saves.pop_front();
    return c;
}

bool ScriptedPlatform::openUrl(const QUrl& url) {
    urls.push_back(url);
    return true;
}
