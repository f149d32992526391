#include "data/sample/Catalogue.h"

#include "engine/DictManager.h"

#include <filesystem>
#include <stdexcept>

namespace SampleData {

void BuildCatalogue(const std::string& catalogueFile, const std::vector<std::string>& dictionaryFiles)
{
    // Install into a fresh file beside the old one, then put it in place whole.
    const std::string fresh = catalogueFile + ".new";
    std::filesystem::remove(fresh);
    try {
        TDictManager manager(fresh);
        for (const std::string& file : dictionaryFiles) {
            const std::int16_t result = manager.InstallDictionary(file);
            if (result != irInstalled)
                throw std::runtime_error("cannot install " + file + " (result " + std::to_string(result) + ")");
        }
        bool changed = false;
        for (TDictionaryRecord& record : manager.Records)
            if (record.Sounds) {
                record.SoundSource = 1;  // on the hard disk
                changed = true;
            }
        if (changed)
            manager.SaveAll();
    } catch (...) {
        std::filesystem::remove(fresh);
        throw;
    }
    std::filesystem::rename(fresh, catalogueFile);
}

}  // namespace SampleData
