// Checks an assembled sample program folder: the catalogue lists the expected number of
// dictionaries, and each one opens and yields words and an article for its first letter.
#include "engine/DictManager.h"
#include "engine/Dictionary.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: check_sample_folder <program folder> <expected dictionaries>\n");
        return 2;
    }
    const std::filesystem::path program = argv[1];
    const int expected = std::atoi(argv[2]);
    const std::filesystem::path data = program / "Data";
    TDictManager catalogue((data / "DICTIONARYS.DNT").string());
    if (catalogue.Count() != expected) {
        std::fprintf(stderr, "catalogue lists %d dictionaries, expected %d\n", catalogue.Count(), expected);
        return 1;
    }
    int failures = 0;
    for (const TDictionaryRecord& rec : catalogue.Records) {
        const std::string file = rec.DictionaryFile.Str();
        std::filesystem::path base = data / file;
        base.replace_extension();
        TTavorDictionary dict(base.string());
        std::u16string words;
        std::string article;
        if (dict.Opened())
            dict.GetLetterWords(u'A', true, words, false);
        if (dict.Opened() && !words.empty())
            dict.GetArticle(0, true, article, false, false);
        const bool ok = dict.Opened() && !words.empty() && !article.empty();
        std::printf("%-8s %-32s %s (%zu bytes of words, first article %zu bytes)\n", file.c_str(),
                    rec.Name.Str().c_str(), ok ? "opens" : "FAILS", words.size() * 2, article.size());
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
