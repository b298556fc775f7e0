#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Texts in failure messages read as texts, not as bytes.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Every test runs in a fresh empty folder of its own, with a settings store of its own, so
// nothing touches the real user's logs or settings.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a file in the test's folder.
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;

    QTemporaryDir dir;
    QTemporaryDir settingsDir;

private:
    QString previousDir;
    QByteArray previousData;
};

// Bytes from a string of hex pairs and "quoted text", e.g. R"(01 00 07 00 "Default")".
QByteArray bytesOf(const char* pattern);
