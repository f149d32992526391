// The generator of the interface-language file: text sources per window, errors with their
// places, and a file the program reads back.
#include "app/InterfaceLanguage.h"
#include "data/langfile/LangFileWriter.h"
#include "engine/WideStringList.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using LangFile::TLangSources;

namespace {

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& l : lines)
        all += l + "\n";
    return all;
}

const char kLanguages[] = "[ENG]\nName=English\n[GER]\nName=Deutsch\n[RUS]\nName=Русский\n";

}  // namespace

TEST(InterfaceLanguageGeneratorTest, SourcesBecomeTheBlocksOfTheProgramsFile)
{
    TLangSources sources;
    sources.AddText("languages.txt", kLanguages);
    sources.AddText("main.txt",
                    "\xEF\xBB\xBF# Main window\r\n[GER]\r\n  File =&Datei\r\nFormula=a=b \r\n\r\n"
                    "   # indented comment\n[ENG]\nFile=&File\nFormula=x\n[RUS]\nFile=&Файл\nFormula=\n");
    ASSERT_EQ(Joined(sources.Errors()), "");
    EXPECT_EQ(Joined(sources.MissingKeys()), "");

    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/LangItf.lng";
    std::ofstream(path, std::ios::binary) << LangFile::BuildLangFile(sources);
    TWideStringList strings;
    ASSERT_TRUE(LoadInterfaceLanguage(path, 101, strings));
    EXPECT_EQ(strings.Count(), 3);
    EXPECT_EQ(strings.GetValue(u"File"), u"&Datei");
    EXPECT_EQ(strings.GetValue(u"Formula"), u"a=b ");  // the value exactly as written
    ASSERT_TRUE(LoadInterfaceLanguage(path, 102, strings));
    EXPECT_EQ(strings.GetValue(u"Name"), u"Русский");
    const std::vector<TInterfaceLanguage> list = ListInterfaceLanguages(path);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Id, 100);
    EXPECT_EQ(list[1].Id, 101);
    EXPECT_EQ(list[2].Id, 102);
    EXPECT_EQ(list[0].Name, u"English");
}

TEST(InterfaceLanguageGeneratorTest, MistakesInTheSourcesAreReportedWithTheirPlaces)
{
    TLangSources sources;
    sources.AddText("languages.txt", kLanguages);
    sources.AddText("a.txt", "Early=before any section\n[ENG]\nTitle=One\njust text\n=no key\n[FRE]\nX=y\n");
    sources.AddText("b.txt", "[ENG]\ntitle=Two\nBad=\xC3\x28\n");
    const std::string errors = Joined(sources.Errors());
    EXPECT_NE(errors.find("a.txt:1: Key=Value outside a known section"), std::string::npos) << errors;
    EXPECT_NE(errors.find("a.txt:4:"), std::string::npos) << errors;
    EXPECT_NE(errors.find("a.txt:5: empty key"), std::string::npos) << errors;
    EXPECT_NE(errors.find("a.txt:6: unknown section [FRE]"), std::string::npos) << errors;
    EXPECT_NE(errors.find("a.txt:7:"), std::string::npos) << errors;
    EXPECT_NE(errors.find("b.txt:2: ENG key title already given at a.txt:3"), std::string::npos) << errors;
    EXPECT_NE(errors.find("b.txt:3: not UTF-8"), std::string::npos) << errors;
    EXPECT_THROW(LangFile::BuildLangFile(sources), LangFile::ELangSourceError);
    EXPECT_NE(Joined(sources.MissingKeys()).find("GER lacks Title (a.txt:3)"), std::string::npos);
}

TEST(InterfaceLanguageGeneratorTest, EveryLanguageNeedsItsName)
{
    TLangSources sources;
    sources.AddText("languages.txt", "[ENG]\nName=English\n[GER]\nName=Deutsch\n");
    try {
        LangFile::BuildLangFile(sources);
        FAIL() << "built without a Russian name";
    } catch (const LangFile::ELangSourceError& e) {
        EXPECT_EQ(std::string(e.what()), "RUS has no Name\n");
    }
}
