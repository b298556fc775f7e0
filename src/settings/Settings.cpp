#include "Settings.h"

#include <QSettings>

namespace settings {

namespace {
const QString Startup = QStringLiteral("Startup");
const QString Multi = QStringLiteral("Multi");
const QString UnitsSection = QStringLiteral("Units");

QString keyPath(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}
} // namespace

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue) {
    QSettings s(app, app);
    const QVariant v = s.value(keyPath(section, key));
    if (!v.isValid())
        return defaultValue;
    // Our own writes are quoted, but a value typed into the file by hand with a comma in it
    // ("Smith, John") comes back as a list, which toString() would turn into "".
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value) {
    QSettings s(app, app);
    s.setValue(keyPath(section, key), value);
}

QString settingsFile() {
    return QSettings(AppName, AppName).fileName();
}

int16_t readInt16(const QString& section, const QString& key, int16_t defaultValue) {
    const QString text = GetSetting(AppName, section, key, QString::number(defaultValue));
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < -32768 || v > 32767)
        return defaultValue;
    return static_cast<int16_t>(v);
}

void readDiverSettings(store::AppState& state, const RenameHook& rename) {
    const QString def = QStringLiteral("Default");
    if (GetSetting(AppName, Multi, QStringLiteral("DefName"), def) == def && rename)
        rename(state);
    store::FileSet& f = state.Files;
    const store::FileSet defaults;
    f.LogFile = GetSetting(AppName, Multi, QStringLiteral("DefLog"), defaults.LogFile);
    f.LocFile = GetSetting(AppName, Multi, QStringLiteral("DefLoc"), defaults.LocFile);
    f.TypeFile = GetSetting(AppName, Multi, QStringLiteral("DefType"), defaults.TypeFile);
    f.BudFile = GetSetting(AppName, Multi, QStringLiteral("DefBud"), defaults.BudFile);
    f.GearFile = GetSetting(AppName, Multi, QStringLiteral("DefGear"), defaults.GearFile);
    state.DiverName = GetSetting(AppName, Multi, QStringLiteral("DefName"), def);
    state.DefaultDiver = readInt16(Multi, QStringLiteral("DefNumber"), 1);
    f.ProfFile = GetSetting(AppName, Multi, QStringLiteral("DefProf"), defaults.ProfFile);
}

void readStartup(store::AppState& state, const RenameHook& rename) {
    const int16_t multi = readInt16(Startup, QStringLiteral("MultiFlag"), 0);
    state.MultiFlag = multi == 1 ? 1 : 0;
    readDiverSettings(state, rename);
    state.DiveOffset = readInt16(Startup, QStringLiteral("Offset"), 0);
}

void saveDefaultDiver(const store::DiverEntry& diver, int position) {
    const store::FileSet& f = diver.Files;
    SaveSetting(AppName, Multi, QStringLiteral("DefLog"), f.LogFile);
    SaveSetting(AppName, Multi, QStringLiteral("DefLoc"), f.LocFile);
    SaveSetting(AppName, Multi, QStringLiteral("DefType"), f.TypeFile);
    SaveSetting(AppName, Multi, QStringLiteral("DefBud"), f.BudFile);
    SaveSetting(AppName, Multi, QStringLiteral("DefGear"), f.GearFile);
    SaveSetting(AppName, Multi, QStringLiteral("DefName"), diver.Name);
    SaveSetting(AppName, Multi, QStringLiteral("DefNumber"), QString::number(position));
    SaveSetting(AppName, Multi, QStringLiteral("DefProf"), f.ProfFile);
}

void saveOptions(int16_t offset, uint8_t multiFlag) {
    SaveSetting(AppName, Startup, QStringLiteral("Offset"), QString::number(offset));
    SaveSetting(AppName, Startup, QStringLiteral("MultiFlag"), QString::number(multiFlag));
}

void saveDefaultName(const QString& name) {
    SaveSetting(AppName, Multi, QStringLiteral("DefName"), name);
}

interchange::Units diverUnits(const store::FileSet& files) {
    const QString word = GetSetting(AppName, UnitsSection, files.LogFile, QString());
    return interchange::unitsNamed(word.trimmed()).value_or(interchange::Units::Imperial);
}

void saveDiverUnits(const store::FileSet& files, interchange::Units units) {
    SaveSetting(AppName, UnitsSection, files.LogFile, interchange::unitsName(units));
}

} // namespace settings
