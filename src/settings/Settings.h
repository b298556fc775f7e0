#pragma once

#include "interchange/Units.h"
#include "store/AppState.h"

#include <QString>

#include <functional>

// The per-user settings store: QSettings with organisation and application "Reefbook",
// sections "Startup" and "Multi". Every value is text.
namespace settings {

inline const QString AppName = QStringLiteral("Reefbook");

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue);
void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);

// The file the settings live in, which no data file name may stand for.
QString settingsFile();

// A numeric key read as a 16-bit integer; text that is not a whole number in range (a value
// edited by hand) reads as the default.
int16_t readInt16(const QString& section, const QString& key, int16_t defaultValue);

// Called while the default diver is still named "Default", before the name is read again:
// the main window shows its rename dialog here.
using RenameHook = std::function<void(store::AppState&)>;

// The default diver's name and file names, in the order the program has always read them.
void readDiverSettings(store::AppState& state, const RenameHook& rename);

// The start-up reads: MultiFlag, the diver settings, then Offset. The diver selection that
// follows in multiple-diver mode is the caller's.
void readStartup(store::AppState& state, const RenameHook& rename);

// "Set Default": the diver at `position` (1-based) becomes the default diver.
void saveDefaultDiver(const store::DiverEntry& diver, int position);

// Closing the options dialog.
void saveOptions(int16_t offset, uint8_t multiFlag);

// The rename dialog.
void saveDefaultName(const QString& name);

// The units a diver keeps his log in: the default of every import and export. Kept per diver
// under his log file's name (section "Units"), so divers sharing a machine may differ; any
// value but "metric" reads as imperial.
interchange::Units diverUnits(const store::FileSet& files);
void saveDiverUnits(const store::FileSet& files, interchange::Units units);

} // namespace settings
