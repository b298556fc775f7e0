#include "HelpWindow.h"

#include "Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace ui {

namespace {
const QString HelpFileName = QStringLiteral("RB.HLP");
const QString DefaultTitle = QStringLiteral("Reefbook Help");

bool isExternal(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto");
}
} // namespace

HelpWindow::HelpWindow() = default;
HelpWindow::~HelpWindow() = default;

QString HelpWindow::helpFilePath(const QString& programDir) {
    const QString dir = programDir.trimmed();
    if (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
        return dir + HelpFileName;
    return dir + QLatin1Char('/') + HelpFileName;
}

QString HelpWindow::locate(const QString& helpFile) {
    const QFileInfo beside(helpFile);
    if (beside.isFile())
        return helpFile;
    const QString installed = QDir::cleanPath(
        beside.dir().filePath(QStringLiteral(REEFBOOK_HELP_FROM_BIN "/") + beside.fileName()));
    return QFileInfo(installed).isFile() ? installed : helpFile;
}

void HelpWindow::makeWindow() {
    window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("frmHelp"));
    window->setWindowTitle(DefaultTitle);
    // A window of its own on the task bar, so it carries the program's icon.
    window->setWindowIcon(QIcon(QStringLiteral(":/icons/reefbook.png")));
    window->resize(680, 620);

    auto* layout = new QVBoxLayout(window.get());
    auto* buttons = new QHBoxLayout;
    auto* cmdContents = new QPushButton(QStringLiteral("&Contents"), window.get());
    auto* cmdBack = new QPushButton(QStringLiteral("&Back"), window.get());
    auto* cmdForward = new QPushButton(QStringLiteral("&Forward"), window.get());
    auto* cmdClose = new QPushButton(QStringLiteral("Close"), window.get());
    cmdContents->setObjectName(QStringLiteral("cmdContents"));
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdForward->setObjectName(QStringLiteral("cmdForward"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(cmdContents);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    viewer = new QTextBrowser(window.get());
    viewer->setObjectName(QStringLiteral("txtHelp"));
    // Links are followed here rather than by the viewer, so that web and mail links go to the
    // desktop's browser and mail program instead of being loaded as help pages.
    viewer->setOpenLinks(false);
    viewer->setOpenExternalLinks(false);
    layout->addWidget(viewer);

    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    QObject::connect(viewer, &QTextBrowser::backwardAvailable, cmdBack, &QWidget::setEnabled);
    QObject::connect(viewer, &QTextBrowser::forwardAvailable, cmdForward, &QWidget::setEnabled);
    QObject::connect(cmdBack, &QPushButton::clicked, viewer, &QTextBrowser::backward);
    QObject::connect(cmdForward, &QPushButton::clicked, viewer, &QTextBrowser::forward);
    QObject::connect(cmdContents, &QPushButton::clicked, viewer,
                     [this] { showContents(currentFile); });
    QObject::connect(cmdClose, &QPushButton::clicked, window.get(), &QWidget::close);
    QObject::connect(viewer, &QTextBrowser::anchorClicked, viewer,
                     [this](const QUrl& url) { followLink(url); });
    QObject::connect(viewer, &QTextBrowser::sourceChanged, viewer, [this] { updateTitle(); });
}

void HelpWindow::showContents(const QString& helpFile) {
    if (!window)
        makeWindow();
    currentFile = helpFile;

    const QFileInfo info(locate(helpFile));
    if (!info.isFile() || !info.isReadable()) {
        showMissing(helpFile);
    } else {
        const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
        // The file is HTML whatever its extension says.
        viewer->setSource(url, QTextDocument::HtmlResource);
        viewer->moveCursor(QTextCursor::Start);
        viewer->verticalScrollBar()->setValue(0);
        viewer->horizontalScrollBar()->setValue(0);
    }
    updateTitle();

    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void HelpWindow::showMissing(const QString& helpFile) {
    viewer->clearHistory();
    viewer->setHtml(
        QStringLiteral("<h2>Help is not available</h2>"
                       "<p>The help file could not be read. It was looked for here:</p>"
                       "<p><tt>%1</tt></p>"
                       "<p>The help file RB.HLP belongs in the same folder as the program, or, "
                       "for an installed program, in its data folder (share/reefbook). "
                       "Everything else in Reefbook works without it.</p>")
            .arg(helpFile.toHtmlEscaped()));
}

void HelpWindow::followLink(const QUrl& url) {
    if (isExternal(url)) {
        ui::platform().openUrl(url);
        return;
    }
    const QString scheme = url.scheme().toLower();
    if (!scheme.isEmpty() && scheme != QLatin1String("file"))
        return;
    viewer->setSource(url, QTextDocument::HtmlResource);
}

void HelpWindow::updateTitle() {
    const QString title = viewer->documentTitle().trimmed();
    window->setWindowTitle(title.isEmpty() ? DefaultTitle : title);
}

void HelpWindow::quit() {
    if (window)
        window->close();
}

bool HelpWindow::isOpen() const { return window && window->isVisible(); }

} // namespace ui
