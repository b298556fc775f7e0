#include "StartupScreen.h"

#include <QEventLoop>
#include <QPainter>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

namespace app {

void showStartupScreen(int milliseconds) {
    QPixmap picture(420, 260);
    picture.fill(QColor(0x1d, 0x5f, 0x8a));
    {
        QPainter p(&picture);
        const QPixmap icon(QStringLiteral(":/icons/reefbook.png"));
        if (!icon.isNull())
            p.drawPixmap(20, 20,
                         icon.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        p.setPen(Qt::white);
        QFont big = p.font();
        big.setPointSize(22);
        big.setBold(true);
        p.setFont(big);
        p.drawText(QRect(130, 30, 280, 50), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Reefbook"));
        QFont small = p.font();
        small.setPointSize(11);
        small.setBold(false);
        p.setFont(small);
        p.drawText(QRect(130, 80, 280, 30), Qt::AlignLeft, QStringLiteral("The Reef Book"));
        p.drawText(QRect(20, 200, 380, 30), Qt::AlignLeft,
                   QStringLiteral("Version " REEFBOOK_VERSION_STRING));
    }
    QSplashScreen splash(picture);
    splash.show();
    // The pause keeps the event loop running, so the screen paints and the desktop stays live.
    QEventLoop pause;
    QTimer::singleShot(milliseconds, &pause, &QEventLoop::quit);
    pause.exec();
    splash.close();
}

} // namespace app
