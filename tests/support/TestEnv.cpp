#include "TestEnv.h"

#include <QFile>
#include <QSettings>

void TempFolderTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(settingsDir.isValid());
    previousDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    // A data folder that does not exist: a removed file never lands in the real user's trash.
    previousData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", settingsDir.filePath(QStringLiteral("no-data")).toLocal8Bit());
}

void TempFolderTest::TearDown() {
    qputenv("XDG_DATA_HOME", previousData);
    QDir::setCurrent(previousDir);
}

void TempFolderTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray TempFolderTest::readFile(const QString& name) const {
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QByteArray bytesOf(const char* pattern) {
    QByteArray out;
    const QByteArray s(pattern);
    for (qsizetype i = 0; i < s.size();) {
        const char c = s[i];
        if (c == ' ' || c == ',' || c == '\n') {
            ++i;
        } else if (c == '"') {
            const qsizetype end = s.indexOf('"', i + 1);
            out += s.mid(i + 1, end - i - 1);
            i = end + 1;
        } else {
            out.append(static_cast<char>(s.mid(i, 2).toInt(nullptr, 16)));
            i += 2;
        }
    }
    return out;
}
