#include "ui/HelpWindow.h"
#include "support/ScriptedPlatform.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

namespace ui {

namespace {

const QString InstalledHelp = QStringLiteral(REEFBOOK_RESOURCES "/RB.HLP");

TEST(HelpFilePath, FolderAndFileName) {
    struct Case {
        QString dir, expected;
    };
    const Case cases[] = {
        {"/opt/rb", "/opt/rb/RB.HLP"},
        {"/", "/RB.HLP"},
        {" /opt/rb/ ", "/opt/rb/RB.HLP"},
        {"/opt/rb/", "/opt/rb/RB.HLP"},
        {"C:\\Logs", "C:\\Logs/RB.HLP"},
        {"D:\\", "D:\\RB.HLP"},
        {"  /home/ann/Reef Book  ", "/home/ann/Reef Book/RB.HLP"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HelpWindow::helpFilePath(c.dir), c.expected) << c.dir.toStdString();
}

class HelpWindowTest : public TempFolderTest {
protected:
    // A help page long enough to scroll, with an anchor near its end.
    QString writeLongHelp(const QString& name) {
        QString html = QStringLiteral("<html><head><title>Test Help</title></head><body>"
                                      "<h1>Start of help</h1><p><a href=\"#end\">to the end</a></p>");
        for (int i = 0; i < 300; ++i)
            html += QStringLiteral("<p>Paragraph %1</p>").arg(i);
        html += QStringLiteral("<h2><a name=\"end\"></a>The end</h2><p>Last words</p></body></html>");
        writeFile(name, html.toUtf8());
        return path(name);
    }

    ScriptedPlatform desktop;
    HelpWindow help;
};

// An installed program finds its help in share/reefbook beside its bin folder; a copy beside
// the program (as in the build folder) comes first.
TEST_F(HelpWindowTest, HelpBesideTheProgramFirstThenTheInstalledCopy) {
    QDir(dir.path()).mkpath(QStringLiteral("usr/bin"));
    QDir(dir.path()).mkpath(QStringLiteral("usr/share/reefbook"));
    const QString beside = path("usr/bin/RB.HLP"), installed = path("usr/share/reefbook/RB.HLP");
    EXPECT_EQ(HelpWindow::locate(beside), beside);

    writeFile(QStringLiteral("usr/share/reefbook/RB.HLP"), "<p>Installed help</p>");
    EXPECT_EQ(HelpWindow::locate(beside), installed);
    help.showContents(beside);
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("Installed help")));

    writeFile(QStringLiteral("usr/bin/RB.HLP"), "<p>Help beside</p>");
    EXPECT_EQ(HelpWindow::locate(beside), beside);
}

TEST_F(HelpWindowTest, ContentsShowsTheFileFromItsStart) {
    const QString file = writeLongHelp(QStringLiteral("RB.HLP"));
    EXPECT_FALSE(help.isOpen());
    EXPECT_EQ(help.browser(), nullptr);

    help.showContents(file);
    ASSERT_TRUE(help.isOpen());
    QTextBrowser* b = help.browser();
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(b->window()));
    EXPECT_EQ(b->documentTitle(), QStringLiteral("Test Help"));
    EXPECT_EQ(b->window()->windowTitle(), QStringLiteral("Test Help"));
    EXPECT_FALSE(b->window()->windowIcon().availableSizes().isEmpty());
    EXPECT_TRUE(b->toPlainText().startsWith(QStringLiteral("Start of help")));
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Last words")));
    EXPECT_EQ(b->verticalScrollBar()->value(), 0);

    // Read on to the end, then ask for the contents again: back at the top, same window.
    QWidget* first = b->window();
    b->scrollToAnchor(QStringLiteral("end"));
    ASSERT_GT(b->verticalScrollBar()->value(), 0);
    help.showContents(file);
    EXPECT_EQ(help.browser()->window(), first);
    EXPECT_EQ(help.browser()->verticalScrollBar()->value(), 0);
}

TEST_F(HelpWindowTest, QuitClosesAndContentsReopens) {
    const QString file = writeLongHelp(QStringLiteral("RB.HLP"));
    help.quit(); // nothing open yet: harmless
    EXPECT_FALSE(help.isOpen());

    help.showContents(file);
    ASSERT_TRUE(help.isOpen());
    help.quit();
    EXPECT_FALSE(help.isOpen());
    EXPECT_FALSE(help.browser()->window()->isVisible());

    help.showContents(file);
    EXPECT_TRUE(help.isOpen());
    EXPECT_EQ(help.browser()->documentTitle(), QStringLiteral("Test Help"));
}

TEST_F(HelpWindowTest, MissingFileShowsANote) {
    struct Case {
        const char* what;
        QString file;
    };
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const Case cases[] = {
        {"no such file", path(QStringLiteral("nowhere/RB.HLP"))},
        {"a folder, not a file", path(QStringLiteral("folder"))},
        {"a name with markup", path(QStringLiteral("<b>odd</b>/RB.HLP"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        help.showContents(c.file);
        ASSERT_TRUE(help.isOpen());
        const QString text = help.browser()->toPlainText();
        EXPECT_TRUE(text.contains(QStringLiteral("Help is not available")));
        // The path is shown as the user would type it, not interpreted as markup.
        EXPECT_TRUE(text.contains(c.file)) << text.toStdString();
    }

    // Once the file is there, the same command shows it.
    const QString file = writeLongHelp(QStringLiteral("RB.HLP"));
    help.showContents(file);
    EXPECT_FALSE(help.browser()->toPlainText().contains(QStringLiteral("Help is not available")));
    EXPECT_EQ(help.browser()->documentTitle(), QStringLiteral("Test Help"));
}

TEST_F(HelpWindowTest, LinksInsideStayWebAndMailGoToTheDesktop) {
    const QString file = writeLongHelp(QStringLiteral("RB.HLP"));
    help.showContents(file);
    QTextBrowser* b = help.browser();

    emit b->anchorClicked(b->source().resolved(QUrl(QStringLiteral("#end"))));
    EXPECT_GT(b->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(b->isBackwardAvailable());
    EXPECT_TRUE(desktop.urls.empty());

    const QUrl web(QStringLiteral("https://example.org/reefbook"));
    const QUrl mail(QStringLiteral("mailto:someone@example.org"));
    emit b->anchorClicked(web);
    emit b->anchorClicked(mail);
    ASSERT_EQ(desktop.urls.size(), 2u);
    EXPECT_EQ(desktop.urls[0], web);
    EXPECT_EQ(desktop.urls[1], mail);
    EXPECT_EQ(b->documentTitle(), QStringLiteral("Test Help")); // still on the help page
}

// The help file that ships with the program.
QString installedHelpText() {
    QFile f(InstalledHelp);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

TEST(InstalledHelp, EveryContentsLinkHasItsSection) {
    const QString html = installedHelpText();
    ASSERT_FALSE(html.isEmpty()) << InstalledHelp.toStdString();

    QSet<QString> targets;
    const QRegularExpression anchor(QStringLiteral("<a\\s+name=\"([^\"]+)\""));
    for (auto it = anchor.globalMatch(html); it.hasNext();) {
        const QString name = it.next().captured(1);
        EXPECT_FALSE(targets.contains(name)) << "anchor twice: " << name.toStdString();
        targets.insert(name);
    }
    QStringList links;
    const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(html); it.hasNext();)
        links << it.next().captured(1);

    ASSERT_GE(links.size(), 10) << "the contents list is missing";
    for (const QString& link : links) {
        ASSERT_TRUE(link.startsWith(QLatin1Char('#'))) << "link leaves the file: "
                                                       << link.toStdString();
        EXPECT_TRUE(targets.contains(link.mid(1))) << "no section for " << link.toStdString();
    }
    // Every section can be reached from somewhere.
    for (const QString& t : targets)
        EXPECT_TRUE(links.contains(QLatin1Char('#') + t)) << "unreachable: " << t.toStdString();
}

TEST_F(HelpWindowTest, InstalledHelpOpensAtItsContents) {
    help.showContents(InstalledHelp);
    QTextBrowser* b = help.browser();
    EXPECT_EQ(b->documentTitle(), QStringLiteral("Reefbook Help"));
    const QString text = b->toPlainText();
    EXPECT_FALSE(text.contains(QStringLiteral("Help is not available")));
    EXPECT_TRUE(text.contains(QStringLiteral("Contents")));
    EXPECT_EQ(b->verticalScrollBar()->value(), 0);
}

} // namespace

} // namespace ui
