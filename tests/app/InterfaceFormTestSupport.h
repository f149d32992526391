// The settings-window tests' program folder: the main-window test folder with the real
// interface languages (built from data/lang), sound folders and a fake CD drive.
#pragma once

#include "app/Settings.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace SettingsTest {

// Replaces the folder's LangItf.lng by the languages of data/lang (English, German, Russian).
void WriteRealLanguageFile(const QString& programFolder);

// Stores the default settings with Change made to them, as the settings window would save them.
void StoreSettings(const std::function<void(TSettings&)>& change);

// Makes Folder with the files Names (each holding its own name).
void MakeFolder(const QString& folder, const std::vector<std::string>& names);

// Sorted names of the entries of Folder; empty when it is missing.
std::vector<std::string> Entries(const QString& folder);

// Mounts (in the program's view) each folder as a CD drive: writes a mount table into
// Scratch and points LEXORA_MOUNTS at it. An empty list removes the override.
void FakeCDDrives(const QString& scratch, const std::vector<QString>& roots);

// Sets the sound-location byte of catalogue record Id in the folder's catalogue.
void SetStoredSoundSource(const MainWindowTest::TProgramFolder& folder, int id, int location);
int StoredSoundSource(const MainWindowTest::TProgramFolder& folder, int id);

}  // namespace SettingsTest
