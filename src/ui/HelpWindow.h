#pragma once

#include <QString>

#include <memory>

class QTextBrowser;
class QUrl;
class QWidget;

namespace ui {

// The help viewer: the help file (an HTML document named RB.HLP beside the program) shown in a
// window of its own next to the logbook. The main window owns one; it opens the contents on
// request and closes the window when the program ends.
class HelpWindow {
public:
    HelpWindow();
    ~HelpWindow();
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;

    // The help file in the program's folder: the folder with surrounding blanks trimmed, then
    // "RB.HLP", with a separator in between unless the folder already ends with one.
    static QString helpFilePath(const QString& programDir);

    // Where the help file is read from: `helpFile` (beside the program) when it is there,
    // otherwise the copy in the installed data folder (share/reefbook beside the program's bin
    // folder), otherwise `helpFile`.
    static QString locate(const QString& helpFile);

    // Opens the window, or brings it to the front, at the top of the help file (see locate). A
    // file that cannot be read leaves a short note in the window saying so and where it was
    // looked for.
    void showContents(const QString& helpFile);

    // Closes the help window if it is open.
    void quit();

    bool isOpen() const;

    // The viewer inside the window, or nullptr before the window was first opened.
    QTextBrowser* browser() const { return viewer; }

private:
    void makeWindow();
    void followLink(const QUrl& url);
    void showMissing(const QString& helpFile);
    void updateTitle();

    std::unique_ptr<QWidget> window;
    QTextBrowser* viewer = nullptr;
    QString currentFile;
};

} // namespace ui
