// Feeds arbitrary bytes to the catalogue, language-table, learning-list and information-block
// readers. The first byte picks the reader; the rest is the file.
#include "engine/ComboItem.h"
#include "engine/DictManager.h"
#include "engine/LearnDictionary.h"
#include "engine/NISOManager.h"

#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& Scratch()
{
    return FuzzSupport::Scratch("catalog");
}

void Write(const std::string& name, const uint8_t* data, size_t size)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void Catalogue(const uint8_t* data, size_t size)
{
    const std::string name = Scratch() + "/DICTIONARYS.DNT";
    Write(name, data, size);
    TDictManager manager(name);
    for (const std::string& code : manager.GetSourceLanguages()) {
        TComboItem item(code);
        item.Dictionaries = manager.GetDictionaries(code, true);
        for (int i = 0; i < item.Count(); ++i)
            item.IndexOfName(item.Dictionaries[i].TargetCode);
    }
    for (const TDictionaryRecord& record : manager.Records)
        manager.FindIdByFileName(record.DictionaryFile.Str());
    manager.CountEnabled();
    manager.SaveAll();
    if (manager.Count() > 0)
        manager.DeleteDictionary(manager.Records.back().Id);
}

void Install(const uint8_t* data, size_t size, const char* extension)
{
    const std::string catalogue = Scratch() + "/install.DNT";
    std::filesystem::remove(catalogue);
    const std::string dictionary = Scratch() + "/fuzzed" + extension;
    Write(dictionary, data, size);
    TDictManager manager(catalogue);
    manager.InstallDictionary(dictionary);
    manager.InstallDictionary(dictionary);
}

void LanguageTable(const uint8_t* data, size_t size)
{
    const std::string name = Scratch() + "/NISO.dat";
    Write(name, data, size);
    try {
        TNISOManager table(name);
        table.GetLanguageNames();
        for (const TLanguageRecord& record : table.Languages) {
            for (uint8_t kind = 0; kind < 5; ++kind)
                table.FindLanguageId(table.GetLanguageText(record.LanguageId, kind), kind);
        }
    } catch (const ELanguageTableError&) {
    }
}

void LearningList(const uint8_t* data, size_t size)
{
    const std::string name = Scratch() + "/list.lst";
    Write(name, data, size);
    TLearnDictionary store(Scratch());
    try {
        store.LoadFromFile(name);
    } catch (const ELearnListError&) {
        return;
    }
    store.GetWordListText();
    for (int i = 0; i <= static_cast<int>(store.Items.size()); ++i) {
        store.GetArticle(i);
        store.GetWordIndex(i);
    }
    store.HasWordIndex(0);
    store.ReplaceArticle(0, "replaced");
    store.DeleteWord(static_cast<int>(store.Items.size()) - 1);
    store.AddWord(1, u"added", "article");
    for (int i = 0; i < static_cast<int>(store.Items.size()); ++i)
        store.GetArticle(i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t* body = data + 1;
    const size_t length = size - 1;
    switch (data[0] % 6) {
    case 0:
        Catalogue(body, length);
        break;
    case 1:
        LanguageTable(body, length);
        break;
    case 2:
        LearningList(body, length);
        break;
    case 3:
        Install(body, length, ".TDD");
        break;
    case 4:
        Install(body, length, ".UDD");
        break;
    default:
        Install(body, length, ".tdi");
        break;
    }
    return 0;
}
