#include "tests/app/InterfaceFormTestSupport.h"

#include "data/langfile/LangFileWriter.h"
#include "engine/DictManager.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace SettingsTest {

void WriteRealLanguageFile(const QString& programFolder)
{
    LangFile::TLangSources sources;
    sources.AddFolder(std::filesystem::path(LEXORA_SOURCE_DIR) / "data" / "lang");
    const std::string bytes = LangFile::BuildLangFile(sources);
    std::ofstream out((programFolder + "/LangItf.lng").toStdString(), std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("language file not written");
}

void StoreSettings(const std::function<void(TSettings&)>& change)
{
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    change(s);
    SaveSettings(s, 0);
}

void MakeFolder(const QString& folder, const std::vector<std::string>& names)
{
    QDir().mkpath(folder);
    for (const std::string& name : names)
        std::ofstream((folder + "/").toStdString() + name, std::ios::binary) << name;
}

std::vector<std::string> Entries(const QString& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.toStdString(), ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void FakeCDDrives(const QString& scratch, const std::vector<QString>& roots)
{
    if (roots.empty()) {
        qunsetenv("LEXORA_MOUNTS");
        return;
    }
    std::string table = "proc /proc proc rw 0 0\n";
    int n = 0;
    for (const QString& root : roots)
        table += "/dev/sr" + std::to_string(n++) + " " + QDir(root).absolutePath().toStdString() + " iso9660 ro 0 0\n";
    const QString file = scratch + "/mounts";
    std::ofstream(file.toStdString(), std::ios::trunc) << table;
    qputenv("LEXORA_MOUNTS", file.toLocal8Bit());
}

void SetStoredSoundSource(const MainWindowTest::TProgramFolder& folder, int id, int location)
{
    TDictManager manager(folder.DataFile("DICTIONARYS.DNT"));
    manager.Records.at(static_cast<std::size_t>(id)).SoundSource = static_cast<std::uint8_t>(location);
    manager.Records.at(static_cast<std::size_t>(id)).Sounds = 1;
    manager.SaveAll();
}

int StoredSoundSource(const MainWindowTest::TProgramFolder& folder, int id)
{
    TDictManager manager(folder.DataFile("DICTIONARYS.DNT"));
    return manager.Records.at(static_cast<std::size_t>(id)).SoundSource;
}

}  // namespace SettingsTest
