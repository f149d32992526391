// Opens a fuzzed file as a maker's and as a user dictionary (and the same bytes as a
// user-words file) and lists every letter and every article.
#include "engine/Dictionary.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// One fixed path per process, removed when the process ends.
struct TScratchFiles {
    std::string Base = "/tmp/lexora-dictionary-fuzz-" + std::to_string(::getpid());
    ~TScratchFiles()
    {
        for (const char* ext : {".TDD", ".UDD", ".TDE", "Temp.TDE", ".UDDTEMP"})
            std::remove((Base + ext).c_str());
    }
};

const std::string& Base()
{
    static TScratchFiles files;
    return files.Base;
}

void Put(const std::string& path, const uint8_t* data, size_t size)
{
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

void ListEverything(TBaseDictionary& d)
{
    std::u16string words;
    std::string article;
    std::u16string description;
    try {
        d.GetDescription(description);
    } catch (const std::exception&) {
    }
    d.GetDictionaryKind();
    try {
        std::string info;
        d.ReadInfoBlock(info);
    } catch (const std::exception&) {
    }
    for (int section = 0; section < 48; ++section) {
        const char16_t letter = d.Sections[section].Letter;
        d.GetLetterWords(letter, section == 0, words, false);
        const std::int32_t count = d.Sections[d.CurrentSection].WordCount;
        for (std::int32_t i = 0; i < count && i < 64; ++i)
            d.GetArticle(i, true, article, false, false);
        d.GetLetterWords(letter, false, words, true);
        for (std::int32_t i = 0; i < 4; ++i)
            d.GetArticle(i, false, article, true, false);
    }
    for (std::int32_t k = -1; k < 64; ++k) {
        d.GetArticle(k, true, article, false, true);
        d.SectionOfWordIndex(k);
    }
    d.FindArticle(u"a", article);
    d.IsAlphabetLetter(u"a");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& base = Base();
    Put(base + ".TDD", data, size);
    Put(base + ".UDD", data, size);
    {
        TTavorDictionary maker(base);
        ListEverything(maker);
    }
    {
        TUserDictionary user(base);
        ListEverything(user);
    }
    // The same bytes as the user-words file of a maker's dictionary.
    Put(base + ".TDE", data, size);
    {
        TTavorDictionary maker(base);
        ListEverything(maker);
    }
    std::remove((base + ".TDE").c_str());
    return 0;
}
