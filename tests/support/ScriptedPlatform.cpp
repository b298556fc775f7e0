#include "ScriptedPlatform.h"

#include <gtest/gtest.h>

ScriptedPlatform::~ScriptedPlatform() {
    for (const Expected& e : expected)
        ADD_FAILURE() << "expected message never came: " << e.caption.toStdString() << " / "
                      << e.text.toStdString();
}

void ScriptedPlatform::expect(const QString& caption, const QString& text, ui::Answer answer) {
    expected.push_back({caption, text, answer});
}

ui::Answer ScriptedPlatform::message(QWidget*, const ui::Message& m) {
    shown.push_back(m);
    if (expected.empty()) {
        ADD_FAILURE() << "unexpected message: " << m.caption.toStdString() << " / "
                      << m.text.toStdString();
        return m.buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Ok;
    }
    const Expected e = expected.front();
    expected.pop_front();
    EXPECT_EQ(e.caption.toStdString(), m.caption.toStdString());
    EXPECT_EQ(e.text.toStdString(), m.text.toStdString());
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
