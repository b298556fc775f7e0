// The settings file as a diver might have edited it: the start-up reads it, the values read
// are saved the way the program saves them, and reading the saved store gives them back.
#include "FuzzCheck.h"

#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

struct Read {
    uint8_t multiFlag;
    int16_t offset, defaultDiver;
    QString name;
    store::FileSet files;
    bool operator==(const Read& o) const {
        return multiFlag == o.multiFlag && offset == o.offset && defaultDiver == o.defaultDiver &&
               name == o.name && files == o.files;
    }
};

// Each run gets folders of its own: Qt keeps settings files it has read in a cache that a
// file rewritten within the same millisecond would get past.
QString freshFolder() {
    static QTemporaryDir top;
    static int runs = 0;
    const QString dir = top.path() + QLatin1Char('/') + QString::number(++runs);
    QDir().mkpath(dir + QStringLiteral("/Reefbook"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       dir + QStringLiteral("/none"));
    return dir;
}

Read readStartup() {
    store::AppState state;
    settings::readStartup(state, nullptr);
    return {state.MultiFlag, state.DiveOffset, state.DefaultDiver, state.DiverName, state.Files};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString typed = freshFolder();
    {
        QFile f(typed + QStringLiteral("/Reefbook/Reefbook.conf"));
        FUZZ_CHECK(f.open(QIODevice::WriteOnly));
        f.write(fuzz::bytes(data, size));
    }
    const Read first = readStartup();
    FUZZ_CHECK(first.multiFlag <= 1);

    const QString saved = freshFolder();
    settings::saveDefaultDiver({first.name, first.files}, first.defaultDiver);
    settings::saveOptions(first.offset, first.multiFlag);
    FUZZ_CHECK(readStartup() == first);

    QDir(typed).removeRecursively();
    QDir(saved).removeRecursively();
    return 0;
}
