#pragma once

#include "ui/Platform.h"

#include <QStringList>

#include <deque>
#include <vector>

// Stands in for the person at the desktop: records every message box and answers it from a
// queue. A message nobody expected fails the test; so does an expected one that never came.
class ScriptedPlatform : public ui::Platform {
public:
    ScriptedPlatform() : guard(*this) {}
    ~ScriptedPlatform() override;

    // The next message box is expected to have this caption and text; it is answered so.
    // The answer also fixes the kind of box: Ok a refusal (exclamation icon, OK button), Yes
    // or No a destructive question (critical-stop icon, Yes and No, No the default).
    void expect(const QString& caption, const QString& text, ui::Answer answer = ui::Answer::Ok);
    // The same for the rare box of another kind (information, question): icon given here.
    void expect(const QString& caption, const QString& text, ui::Answer answer, ui::Icon icon);
    // The next file dialog returns this path ("" = cancelled).
    void chooseFile(const QString& path) { files.push_back(path); }
    // The next save dialog returns this path ("" = cancelled) and filter entry.
    void chooseSaveFile(const QString& path, int filter = 0) { saves.push_back({path, filter}); }

    ui::Answer message(QWidget* parent, const ui::Message& m) override;
    QString openFileName(QWidget* parent, const ui::FileRequest& request) override;
    ui::SaveChoice saveFileName(QWidget* parent, const ui::FileRequest& request,
                                const QString& proposed) override;
    bool openUrl(const QUrl& url) override;

    std::vector<ui::Message> shown;
    std::vector<ui::FileRequest> fileRequests;
    std::vector<QUrl> urls;
    std::vector<QString> proposedNames;

private:
    struct Expected {
        QString caption, text;
        ui::Answer answer;
        ui::Icon icon;
    };
    std::deque<Expected> expected;
    std::deque<QString> files;
    std::deque<ui::SaveChoice> saves;
    ui::PlatformOverride guard;
};
