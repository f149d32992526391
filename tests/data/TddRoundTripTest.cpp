#include "DictdFixture.h"

#include "data/sample/Catalogue.h"
#include "data/sample/FreedictConverter.h"
#include "data/sample/TddOutput.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "engine/DictionaryFormat.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace SampleData;

namespace {

std::u16string W(const char* utf8)
{
    return Platform::Utf8ToWide(utf8);
}

TConvertedDictionary GermanEnglish(const std::string& folder, bool sounds)
{
    DataTest::WriteDictd(folder + "/deu-eng",
                         {{"apfel", "Apfel /ˈapfəl/ <masc>\napple\n"},
                          {"apfel", "Apfel /ˈapfəl/ <masc>\npome [bot.]\n"},
                          {"äpfel", "Äpfel /ˈɛpfəl/ <pl>\napples\n"},
                          {"öl", "Öl /øːl/ <neut>\noil, масло\n"},
                          {"zug", "Zug /tsuːk/ <masc>\ntrain\n"},
                          {"4takter", "4-Takter <masc>\nfour-stroke engine\n"}});
    const TDictdDatabase db(folder + "/deu-eng.index", folder + "/deu-eng.dict.dz");
    TConvertOptions o;
    o.SourceCode = "GER";
    o.TargetCode = "ENG";
    o.FileName = "GERENG";
    o.Name = "German-English";
    o.Number = 2;
    o.HasSounds = sounds;
    o.Date = "2024-01-02";
    return ConvertFreedict(db, o);
}

}  // namespace

TEST(TddRoundTrip, EveryWordAndArticleReadsBack)
{
    const std::string folder = DataTest::FreshFolder("roundtrip");
    const TConvertedDictionary converted = GermanEnglish(folder, true);
    WriteMakersDictionary(converted, folder + "/GERENG.TDD");

    TTavorDictionary dict(folder + "/GERENG");
    ASSERT_TRUE(dict.Opened());
    EXPECT_EQ(dict.GetDictionaryKind(), 0);  // "Talking"
    std::string info;
    dict.ReadInfoBlock(info);
    EXPECT_EQ(info, Dictionary::BuildInfoBlock(converted.Info));
    std::u16string description;
    dict.GetDescription(description);
    EXPECT_EQ(description, Dictionary::BuildDescription(converted.Description));
    EXPECT_EQ(dict.LetterGroupCount, static_cast<std::int32_t>(converted.Sections.size()) - 1);

    std::int32_t absolute = 0;
    for (std::size_t s = 0; s < converted.Sections.size(); ++s) {
        const TConvertedSection& section = converted.Sections[s];
        std::u16string words;
        dict.GetLetterWords(section.Letter, false, words, false);
        std::u16string expected;
        for (const std::u16string& w : section.Words)
            expected += w + u"\r\n";
        EXPECT_EQ(words, expected) << "section " << s;
        if (section.Words.empty())
            continue;
        EXPECT_EQ(dict.CurrentSection, static_cast<std::int32_t>(s));
        for (std::size_t i = 0; i < section.Words.size(); ++i) {
            std::string article;
            dict.GetArticle(static_cast<std::int32_t>(i), true, article, false, false);
            EXPECT_EQ(article, section.Articles[i]);
            std::string byAbsolute;
            dict.GetArticle(absolute++, true, byAbsolute, false, true);
            EXPECT_EQ(byAbsolute, section.Articles[i]);
        }
    }
    EXPECT_EQ(absolute, 5);

    // Letters of a group and the digit section lead to their sections.
    std::u16string words;
    dict.GetLetterWords(u'\u00E4', false, words, false);
    EXPECT_EQ(words, W("Apfel\r\nÄpfel\r\n"));
    dict.GetLetterWords(u'\u00D6', false, words, false);
    EXPECT_EQ(words, W("Öl\r\n"));
    dict.GetLetterWords(u'4', false, words, false);
    EXPECT_EQ(words, W("4-Takter\r\n"));
    EXPECT_FALSE(dict.IsAlphabetLetter(u"Zug"));  // no reverse letters from German to English
}

TEST(TddRoundTrip, CatalogueListsTheDictionaryWithSoundsOnDisk)
{
    const std::string folder = DataTest::FreshFolder("catalogue");
    WriteMakersDictionary(GermanEnglish(folder, true), folder + "/GERENG.TDD");
    const std::string catalogue = folder + "/DICTIONARYS.DNT";
    BuildCatalogue(catalogue, {folder + "/GERENG.TDD"});
    BuildCatalogue(catalogue, {folder + "/GERENG.TDD"});  // made anew, not appended

    TDictManager manager(catalogue);
    ASSERT_EQ(manager.Count(), 1);
    const TDictionaryRecord& r = manager.Records[0];
    EXPECT_EQ(r.SourceCode.Str(), "GER");
    EXPECT_EQ(r.TargetCode.Str(), "ENG");
    EXPECT_EQ(r.Kind, 0);
    EXPECT_EQ(r.Number, 2);
    EXPECT_EQ(r.ShellFlag, 1);
    EXPECT_EQ(r.Name.Str(), "German-English");
    EXPECT_EQ(r.Description.Str(), "FreeDict");
    EXPECT_EQ(r.DictionaryFile.Str(), "GERENG");
    EXPECT_EQ(r.Sounds, 1);
    EXPECT_EQ(r.SoundSource, 1);  // on the hard disk

    // A file that cannot be installed leaves the old catalogue in place.
    EXPECT_THROW(BuildCatalogue(catalogue, {folder + "/GERENG.TDD", folder + "/missing.TDD"}), std::runtime_error);
    EXPECT_EQ(TDictManager(catalogue).Count(), 1);
    EXPECT_FALSE(std::filesystem::exists(catalogue + ".new"));
}
