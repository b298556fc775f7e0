#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace ui {

// The few things the program asks of the desktop: message boxes, the file-open dialog and
// opening links. Windows go through here so tests can answer in place of a person.

enum class Icon { Exclamation, Critical, Information, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Message {
    QString caption;
    QString text;
    Icon icon = Icon::Exclamation;
    Buttons buttons = Buttons::Ok;
    // The button Enter presses. A destructive question defaults to No, so a diver typing on
    // through an unexpected box never deletes anything.
    Answer defaultButton = Answer::Ok;
};

struct FileRequest {
    QString title;
    QString filter; // Qt filter text, e.g. "Pictures (*.bmp *.png);;All Files (*)"
    QString defaultSuffix;
};

// A file to save: where, and which entry of the request's filter list was chosen (from 0).
struct SaveChoice {
    QString path; // empty when the user cancelled
    int filter = 0;
};

class Platform {
public:
    virtual ~Platform() = default;
    // Modal box; Enter presses m.defaultButton, Escape answers No on a Yes/No box.
    virtual Answer message(QWidget* parent, const Message& m);
    // Full path of the chosen file, or an empty text when the user cancelled.
    virtual QString openFileName(QWidget* parent, const FileRequest& request);
    // The save dialog, offering `proposed` as the name; it asks before replacing a file.
    virtual SaveChoice saveFileName(QWidget* parent, const FileRequest& request,
                                    const QString& proposed);
    // Hands a link to the desktop's handler (browser, mail program).
    virtual bool openUrl(const QUrl& url);
};

// The platform in use: the real desktop unless a test installed its own.
Platform& platform();

// Installs a platform for as long as it lives (tests).
class PlatformOverride {
public:
    explicit PlatformOverride(Platform& p);
    ~PlatformOverride();
    PlatformOverride(const PlatformOverride&) = delete;
    PlatformOverride& operator=(const PlatformOverride&) = delete;

private:
    Platform* previous;
};

// A refusal: exclamation icon, OK.
void showError(QWidget* parent, const QString& caption, const QString& text);
// A destructive question: critical-stop icon, Yes and No, No the default.
Answer askYesNo(QWidget* parent, const QString& caption, const QString& text);

} // namespace ui
