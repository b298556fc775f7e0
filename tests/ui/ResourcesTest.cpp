#include <QColor>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QStringList>

#include <gtest/gtest.h>

namespace ui {

namespace {

// The picture's colour as a whole, its transparency included: the picture shrunk to one
// pixel, every pixel weighed by how opaque it is.
QColor overall(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .pixelColor(0, 0);
}

TEST(BuiltInPictures, LoadAtTheirSizes) {
    struct Case {
        QString path;
        QSize size;
    };
    const Case cases[] = {
        {":/faces/poor.png", {32, 32}},
        {":/faces/average.png", {32, 32}},
        {":/faces/good.png", {32, 32}},
        {":/icons/reefbook.png", {128, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ASSERT_TRUE(QFile::exists(c.path));
        const QImage image(c.path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), c.size);
        // A picture, not an empty or transparent square: more than half of it is opaque.
        EXPECT_GT(overall(image).alpha(), 128);
    }
}

TEST(BuiltInPictures, FacesTellTheRatingsApart) {
    const QImage poor(QStringLiteral(":/faces/poor.png"));
    const QImage average(QStringLiteral(":/faces/average.png"));
    const QImage good(QStringLiteral(":/faces/good.png"));
    ASSERT_FALSE(poor.isNull() || average.isNull() || good.isNull());
    EXPECT_NE(poor, average);
    EXPECT_NE(average, good);
    EXPECT_NE(poor, good);

    // The faces are coloured by rating: reddish for poor, greenish for good.
    const QColor p = overall(poor), g = overall(good);
    EXPECT_GT(p.red(), p.green());
    EXPECT_GT(g.green(), g.red());

    // Round faces: the corners are see-through so they sit on any background.
    for (const QImage* face : {&poor, &average, &good})
        EXPECT_LT(face->pixelColor(0, 0).alpha(), 32);
}

TEST(DesktopEntry, HasTheKeysALauncherNeeds) {
    QFile f(QStringLiteral(REEFBOOK_RESOURCES "/reefbook.desktop"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("[Desktop Entry]"));

    QMap<QString, QString> keys;
    for (const QString& line : lines.mid(1)) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        ASSERT_GT(eq, 0) << "not a key=value line: " << line.toStdString();
        const QString key = line.left(eq);
        EXPECT_FALSE(keys.contains(key)) << "key twice: " << key.toStdString();
        keys.insert(key, line.mid(eq + 1));
    }
    EXPECT_EQ(keys.value("Type"), QStringLiteral("Application"));
    EXPECT_EQ(keys.value("Name"), QStringLiteral("Reefbook"));
    EXPECT_EQ(keys.value("Exec"), QStringLiteral("reefbook"));
    EXPECT_EQ(keys.value("Icon"), QStringLiteral("reefbook"));
    EXPECT_FALSE(keys.value("Comment").isEmpty());
    EXPECT_TRUE(keys.value("Categories").endsWith(QLatin1Char(';')));
    EXPECT_TRUE(keys.value("Categories").split(QLatin1Char(';')).contains("Utility"));
}

} // namespace

} // namespace ui
