#include "engine/CompressedText.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "data/tddwriter/TddWriter.h"

#include "CatalogTestFiles.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace CatalogTest;

namespace {

constexpr std::size_t kRecord = 540;

// A dictionary file with nothing but the head, the section table and the information block
// (entry 48), in the maker's layout (data at offset + 37) or the user layout (absolute).
std::string MakeDictionary(const std::string& info, bool userLayout = false)
{
    std::string bytes = "01.01";
    PutInt(bytes, 5, userLayout ? 1229 : 24, 8);
    PutInt(bytes, 13, 1229, 8);
    PutInt(bytes, 21, 0, 8);
    bytes.resize(1229, '\0');
    const std::string record = CompressText(info);
    bytes[1181] = '#';
    PutInt(bytes, 1185, userLayout ? 1229 : 1229 - 37, 4);
    PutInt(bytes, 1189, static_cast<long long>(record.size()), 4);
    return bytes + record;
}

std::string Info(const std::string& name, const std::string& kind, const std::string& pair, const std::string& file,
                 const std::string& number = "1", const std::string& extra = "")
{
    return "01.01#0#" + number + "#1.1.2026#" + name + "#Publisher#Ivy_Crate#" + kind + "#" + pair + "#" + file + "#"
        + extra;
}

class DictManagerTest : public ::testing::Test {
protected:
    std::string Catalogue() const { return scratch / "DICTIONARYS.DNT"; }

    // Writes a dictionary file and installs it.
    std::int16_t Install(TDictManager& manager, const std::string& fileName, const std::string& bytes)
    {
        WriteBytes(scratch / fileName, bytes);
        return manager.InstallDictionary(scratch / fileName);
    }

    // Three installed language dictionaries ENG->GER, ENG->RUS, GER->ENG.
    void InstallThree(TDictManager& manager)
    {
        ASSERT_EQ(Install(manager, "a.TDD", MakeDictionary(Info("A", "TavorLanguage", "ENGGER", "a.TDD"))), 0);
        ASSERT_EQ(Install(manager, "b.TDD", MakeDictionary(Info("B", "TavorLanguage", "ENGRUS", "b.TDD"))), 0);
        ASSERT_EQ(Install(manager, "c.UDD", MakeDictionary(Info("C", "Language", "GERENG", "c.UDD"), true)), 0);
    }

    bool NoTemporaryFilesLeft() const
    {
        for (const auto& entry : fs::directory_iterator(scratch.Path())) {
            std::string name = entry.path().filename().string();
            if (name.starts_with(".") || name.ends_with(".tmp"))
                return false;
        }
        return true;
    }

    TScratchFolder scratch;
};

// Runs Operation in a child whose file-size limit is Limit bytes; returns its exit code (101
// when it threw).
int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& operation)
{
    return TestFiles::RunUnderFileSizeLimit(limit, [&] {
        try {
            return operation();
        } catch (...) {
            return 101;
        }
    });
}

}  // namespace

TEST_F(DictManagerTest, MissingCatalogueIsCreatedEmpty)
{
    TDictManager manager(Catalogue());
    EXPECT_TRUE(fs::exists(Catalogue()));
    EXPECT_EQ(fs::file_size(Catalogue()), 0u);
    EXPECT_TRUE(manager.Empty);
    EXPECT_EQ(manager.Count(), 0);
}

TEST_F(DictManagerTest, CatalogueSizeIsCountedInWholeRecords)
{
    WriteBytes(Catalogue(), std::string(539, '\x7f'));
    TDictManager torn(Catalogue());
    EXPECT_EQ(torn.Count(), 0);
    EXPECT_FALSE(torn.Empty);

    std::string two(2 * kRecord, '\0');
    PutInt(two, 0, 0, 4);
    PutInt(two, kRecord, 1, 4);
    two[kRecord + 20] = 3;
    two.replace(kRecord + 21, 3, "Two");
    WriteBytes(Catalogue(), two);
    TDictManager manager(Catalogue());
    ASSERT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.Records[1].Id, 1);
    EXPECT_EQ(manager.Records[1].Name.Str(), "Two");
}

TEST_F(DictManagerTest, InstallWritesTheRecordByteForByte)
{
    TDictManager manager(Catalogue());
    const std::string info =
        "01.01#0#258#1.1.2026#English-German#FreeDict#@X1#TavorLanguage#ENGGER#eng-ger.TDD#Sounds#";
    ASSERT_EQ(Install(manager, "eng-ger.TDD", MakeDictionary(info)), irInstalled);

    const std::string file = ReadBytes(Catalogue());
    ASSERT_EQ(file.size(), kRecord);
    std::string expected(kRecord, '\0');
    PutInt(expected, 0, 0, 4);
    expected.replace(4, 6,
                     std::string("\x05"
                                 "01.01",
                                 6));
    expected.replace(10, 4,
                     "\x03"
                     "ENG");
    expected.replace(14, 4,
                     "\x03"
                     "GER");
    PutInt(expected, 18, 258, 2);
    expected.replace(20, 15,
                     "\x0e"
                     "English-German");
    expected[121] = 0;  // kind
    expected[122] = 1;  // enabled
    expected[123] = 1;  // shell flag
    expected.replace(124, 7,
                     "\x06"
                     "ENGGER");
    expected.replace(173, 9,
                     "\x08"
                     "FreeDict");
    expected.replace(294, 12,
                     "\x0b"
                     "eng-ger.TDD");
    expected[535] = 1;  // sounds
    expected[536] = 0;  // on the CD
    EXPECT_EQ(file, expected);

    EXPECT_FALSE(manager.Empty);
    ASSERT_EQ(manager.Count(), 1);
    EXPECT_EQ(manager.Records[0].Number, 258);
    EXPECT_EQ(manager.Records[0].DictionaryFile.Str(), "eng-ger.TDD");
}

TEST_F(DictManagerTest, KindsGiveTheirCodes)
{
    TDictManager manager(Catalogue());
    ASSERT_EQ(Install(manager, "g.tdi", MakeDictionary(Info("General", "TavorGeneral", "ENGGER", "g.tdi"))), 0);
    ASSERT_EQ(Install(manager, "u.udd", MakeDictionary(Info("Mine", "General", "RUSRUS", "u.udd"), true)), 0);
    ASSERT_EQ(Install(manager, "l.UDD", MakeDictionary(Info("Pair", "Language", "FRE", "l.UDD"), true)), 0);
    ASSERT_EQ(Install(manager, "x.TDD", MakeDictionary(Info("Odd", "Whatever", "ITAENG", "x.TDD"))), 0);
    ASSERT_EQ(manager.Count(), 4);
    const auto& r = manager.Records;
    EXPECT_EQ(r[0].Kind, 1);
    EXPECT_EQ(r[0].SourceCode.Str(), "TGD");
    EXPECT_EQ(r[0].TargetCode.Str(), "TGD");
    EXPECT_EQ(r[1].Kind, 3);
    EXPECT_EQ(r[1].SourceCode.Str(), "UGD");
    EXPECT_EQ(r[1].TargetCode.Str(), "UGD");
    EXPECT_EQ(r[2].Kind, 2);
    EXPECT_EQ(r[2].SourceCode.Str(), "FRE");  // a short pair leaves the target empty
    EXPECT_EQ(r[2].TargetCode.Str(), "");
    EXPECT_EQ(r[3].Kind, 0);
    EXPECT_EQ(r[3].TargetCode.Str(), "ENG");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(r[i].Id, i);
        EXPECT_EQ(r[i].Sounds, 0);
        EXPECT_EQ(r[i].SoundSource, 2);
        EXPECT_EQ(r[i].ShellFlag, 0);
    }
}

TEST_F(DictManagerTest, ShortAndOverlongInformationBlocks)
{
    TDictManager manager(Catalogue());
    // Fields after the number are missing: they install empty.
    ASSERT_EQ(Install(manager, "s.TDD", MakeDictionary("01.01#0#3#")), 0);
    EXPECT_EQ(manager.Records[0].Number, 3);
    EXPECT_EQ(manager.Records[0].Name.Str(), "");
    EXPECT_EQ(manager.Records[0].SourceCode.Str(), "");
    EXPECT_EQ(manager.Records[0].DictionaryFile.Str(), "");

    // Texts beyond a field's maximum are cut.
    const std::string longName(150, 'n'), longFile(300, 'f');
    ASSERT_EQ(Install(manager, "l.TDD", MakeDictionary(Info(longName, "Language", "ENGGER", longFile))), 0);
    EXPECT_EQ(manager.Records[1].Name.Str(), longName.substr(0, 100));
    EXPECT_EQ(manager.Records[1].DictionaryFile.Str(), longFile.substr(0, 240));

    // The number must be a 16-bit integer; text without a closing "#" is no field.
    const auto before = ReadBytes(Catalogue());
    EXPECT_EQ(Install(manager, "n1.TDD", MakeDictionary("01.01#0#x1#")), irOtherFailure);
    EXPECT_EQ(Install(manager, "n2.TDD", MakeDictionary("01.01#0#3")), irOtherFailure);
    EXPECT_EQ(Install(manager, "n3.TDD", MakeDictionary("01.01#0#70000#")), irOtherFailure);
    EXPECT_EQ(Install(manager, "n4.TDD", MakeDictionary("")), irOtherFailure);
    EXPECT_EQ(ReadBytes(Catalogue()), before);
}

TEST_F(DictManagerTest, SecondInstallOfTheSameDictionaryIsRefused)
{
    TDictManager manager(Catalogue());
    const std::string bytes = MakeDictionary(Info("A", "TavorLanguage", "ENGGER", "a.TDD"));
    ASSERT_EQ(Install(manager, "a.TDD", bytes), irInstalled);
    EXPECT_EQ(Install(manager, "a.TDD", bytes), irAlreadyInstalled);
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_EQ(fs::file_size(Catalogue()), kRecord);
    // Another number is another dictionary.
    EXPECT_EQ(Install(manager, "a2.TDD", MakeDictionary(Info("A", "TavorLanguage", "ENGGER", "a.TDD", "2"))),
              irInstalled);
}

TEST_F(DictManagerTest, FilesThatAreNoDictionariesAreRefusedWithSix)
{
    TDictManager manager(Catalogue());
    std::string good = MakeDictionary(Info("A", "TavorLanguage", "ENGGER", "a.TDD"));
    std::string badMagic = good;
    badMagic[4] = '2';
    EXPECT_EQ(Install(manager, "m.TDD", badMagic), irCannotOpen);
    EXPECT_EQ(Install(manager, "a.txt", good), irCannotOpen);
    EXPECT_EQ(Install(manager, "aTDD", good), irCannotOpen);
    EXPECT_EQ(Install(manager, "tiny.TDD", "01.0"), irCannotOpen);
    EXPECT_EQ(manager.InstallDictionary(scratch / "missing.TDD"), irCannotOpen);
    EXPECT_EQ(fs::file_size(Catalogue()), 0u);

    fs::remove(Catalogue());
    EXPECT_EQ(Install(manager, "a.TDD", good), irCannotOpen);
    EXPECT_FALSE(fs::exists(Catalogue()));
}

TEST_F(DictManagerTest, DamagedDictionariesNeverInstall)
{
    TDictManager manager(Catalogue());
    const std::string good = MakeDictionary(Info("A", "TavorLanguage", "ENGGER", "a.TDD"));

    EXPECT_EQ(Install(manager, "t1.TDD", good.substr(0, 1200)), irInOutError);  // table cut
    EXPECT_EQ(Install(manager, "t2.TDD", good.substr(0, good.size() - 1)), irInOutError);
    std::string bad = good;
    PutInt(bad, 1185, -100, 4);
    EXPECT_EQ(Install(manager, "o1.TDD", bad), irInOutError);
    bad = good;
    PutInt(bad, 1185, 0x7fffffff, 4);
    EXPECT_EQ(Install(manager, "o2.TDD", bad), irInOutError);
    bad = good;
    PutInt(bad, 1189, -1, 4);
    EXPECT_EQ(Install(manager, "o3.TDD", bad), irInOutError);
    bad = good;
    PutInt(bad, 1189, 0x7fffffff, 4);
    EXPECT_EQ(Install(manager, "o4.TDD", bad), irInOutError);
    bad = good;
    bad[1229 + 3] ^= 0x55;  // the zlib stream
    EXPECT_EQ(Install(manager, "z.TDD", bad), irOtherFailure);
    // The maker's layout read as a user file points 37 bytes early.
    EXPECT_EQ(Install(manager, "w.UDD", good), irOtherFailure);

    EXPECT_EQ(fs::file_size(Catalogue()), 0u);
    EXPECT_EQ(manager.Count(), 0);
}

TEST_F(DictManagerTest, InstallAfterATornTailLandsOnItsId)
{
    TDictManager first(Catalogue());
    InstallThree(first);
    std::string bytes = ReadBytes(Catalogue()).substr(0, 2 * kRecord + 100);
    WriteBytes(Catalogue(), bytes);

    TDictManager manager(Catalogue());
    ASSERT_EQ(manager.Count(), 2);
    ASSERT_EQ(Install(manager, "d.TDD", MakeDictionary(Info("D", "TavorLanguage", "ENGFRE", "d.TDD"))), 0);
    EXPECT_EQ(fs::file_size(Catalogue()), 3 * kRecord);
    ASSERT_EQ(manager.Count(), 3);
    EXPECT_EQ(manager.Records[2].Id, 2);
    EXPECT_EQ(manager.Records[2].Name.Str(), "D");
}

TEST_F(DictManagerTest, DeleteRenumbersTheRest)
{
    TDictManager manager(Catalogue());
    InstallThree(manager);
    ASSERT_TRUE(manager.DeleteDictionary(1));
    ASSERT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.Records[0].Id, 0);
    EXPECT_EQ(manager.Records[0].Name.Str(), "A");
    EXPECT_EQ(manager.Records[1].Id, 1);
    EXPECT_EQ(manager.Records[1].Name.Str(), "C");
    EXPECT_EQ(fs::file_size(Catalogue()), 2 * kRecord);

    TDictManager again(Catalogue());
    EXPECT_EQ(again.Records[1].Id, 1);
    EXPECT_EQ(again.Records[1].Name.Str(), "C");

    ASSERT_TRUE(manager.DeleteDictionary(0));
    ASSERT_TRUE(manager.DeleteDictionary(0));
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_TRUE(manager.Empty);
    EXPECT_TRUE(NoTemporaryFilesLeft());
}

TEST_F(DictManagerTest, QueriesBySourceLanguageAndFileName)
{
    TDictManager manager(Catalogue());
    InstallThree(manager);
    ASSERT_EQ(Install(manager, "\xe9t\xe9.TDD", MakeDictionary(Info("G", "TavorGeneral", "", "\xe9t\xe9.TDD"))), 0);

    EXPECT_EQ(manager.GetSourceLanguages(), (DictNames{"ENG", "GER", "TGD"}));
    manager.Records[1].Enabled = 0;
    EXPECT_EQ(manager.CountEnabled(), 3);

    DescNames all = manager.GetDictionaries("ENG", false);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].Id, 1);
    EXPECT_EQ(all[1].TargetCode, "RUS");
    EXPECT_EQ(all[1].Text, "ENGRUS");
    EXPECT_EQ(manager.GetDictionaries("ENG", true).size(), 1u);
    EXPECT_TRUE(manager.GetDictionaries("eng", false).empty());
    DescNames general = manager.GetDictionaries("TGD", true);
    ASSERT_EQ(general.size(), 1u);
    EXPECT_EQ(general[0].Text, "G");
    EXPECT_EQ(general[0].Kind, 1);

    EXPECT_EQ(manager.FindIdByFileName("B.tdd"), 1);
    EXPECT_EQ(manager.FindIdByFileName("c.udd"), 2);
    EXPECT_EQ(manager.FindIdByFileName("\xc9T\xc9.tdd"), 3);  // e-acute in both cases
    EXPECT_EQ(manager.FindIdByFileName("b"), -1);
    EXPECT_EQ(manager.FindIdByFileName(""), -1);
}

TEST_F(DictManagerTest, SaveAllWritesChangesBackAndKeepsTheTail)
{
    TDictManager manager(Catalogue());
    InstallThree(manager);
    manager.Records[2].Enabled = 0;
    manager.Records[0].SoundSource = 1;
    manager.SaveAll();
    ASSERT_TRUE(manager.Reload());
    EXPECT_EQ(manager.Records[2].Enabled, 0);
    EXPECT_EQ(manager.Records[0].SoundSource, 1);

    // Fewer records in memory than on disk: the write does not cut the file.
    manager.Records.pop_back();
    manager.Records[0].Enabled = 0;
    manager.SaveAll();
    EXPECT_EQ(fs::file_size(Catalogue()), 3 * kRecord);
    manager.Reload();
    EXPECT_EQ(manager.Count(), 3);
    EXPECT_EQ(manager.Records[0].Enabled, 0);
    EXPECT_TRUE(NoTemporaryFilesLeft());

    fs::remove(Catalogue());
    EXPECT_THROW(manager.SaveAll(), ECatalogueError);
    EXPECT_FALSE(fs::exists(Catalogue()));
}

TEST_F(DictManagerTest, LoadFromStreamReadsWholeRecordsFromTheStart)
{
    TDictManager manager(Catalogue());
    InstallThree(manager);
    std::istringstream stream(ReadBytes(Catalogue()).substr(0, 2 * kRecord + 539));
    stream.seekg(700);
    TDictManager other(scratch / "other.DNT");
    other.LoadFromStream(stream);
    ASSERT_EQ(other.Count(), 2);
    EXPECT_EQ(other.Records[1].Name.Str(), "B");
}

TEST_F(DictManagerTest, FailedRewritesKeepTheOldCatalogue)
{
    TDictManager manager(Catalogue());
    InstallThree(manager);
    const std::string before = ReadBytes(Catalogue());

    // The limit lets a temporary file grow to less than one record.
    const int deleted = RunWithFileSizeLimit(300, [&] { return manager.DeleteDictionary(0) ? 0 : 1; });
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(ReadBytes(Catalogue()), before);

    const int saved = RunWithFileSizeLimit(300, [&] {
        manager.Records[0].Enabled = 0;
        try {
            manager.SaveAll();
        } catch (const ECatalogueError&) {
            return 1;
        }
        return 0;
    });
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(ReadBytes(Catalogue()), before);

    WriteBytes(scratch / "d.TDD", MakeDictionary(Info("D", "TavorLanguage", "ENGFRE", "d.TDD")));
    const int installed =
        RunWithFileSizeLimit(2 * kRecord, [&] { return manager.InstallDictionary(scratch / "d.TDD"); });
    EXPECT_EQ(installed, irWriteError);
    EXPECT_EQ(ReadBytes(Catalogue()), before);
    EXPECT_TRUE(NoTemporaryFilesLeft());

    // In this process nothing changed: the catalogue is still whole and usable.
    EXPECT_EQ(manager.Count(), 3);
    EXPECT_TRUE(manager.DeleteDictionary(0));
    EXPECT_EQ(manager.Count(), 2);
}

TEST_F(DictManagerTest, InstallsAMakersDictionaryThatTheEngineOpens)
{
    Dictionary::TDictionaryInfo info;
    info.Number = "12";
    info.Name = "English-German";
    info.Description = "FreeDict";
    info.ShellTag = "@X1";
    info.KindKey = "TavorLanguage";
    info.LanguagePair = "ENGGER";
    info.FileName = "EngGer";
    info.Sounds = "Sounds";
    TddWriter::TTddWriter writer;
    const int a = writer.AddSection(u'A');
    writer.AddWord(a, u"apple", "{\\rtf1 Apfel}");
    writer.SetInfo(info);
    writer.SetEdition(0);
    writer.Write(scratch / "EngGer.TDD");

    TDictManager manager(Catalogue());
    ASSERT_EQ(manager.InstallDictionary(scratch / "EngGer.TDD"), irInstalled);
    const TDictionaryRecord& r = manager.Records.at(0);
    EXPECT_EQ(r.Number, 12);
    EXPECT_EQ(r.Name.Str(), "English-German");
    EXPECT_EQ(r.SourceCode.Str(), "ENG");
    EXPECT_EQ(r.TargetCode.Str(), "GER");
    EXPECT_EQ(r.ShellFlag, 1);
    EXPECT_EQ(r.Sounds, 1);
    EXPECT_EQ(r.SoundSource, 0);
    EXPECT_EQ(manager.FindIdByFileName("engger"), 0);

    // The engine opens the file the record names and reads the same information block.
    TTavorDictionary dictionary((scratch.Path() / r.DictionaryFile.Str()).string());
    ASSERT_TRUE(dictionary.Opened());
    std::string text;
    dictionary.ReadInfoBlock(text);
    EXPECT_EQ(text, Dictionary::BuildInfoBlock(info));
}
