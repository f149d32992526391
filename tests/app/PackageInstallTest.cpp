// Installing dictionary packages without the window: real cabinets made with gcab, damaged
// trailers, hostile names, and the promise that a failed install leaves the catalogue and
// Data/ exactly as they were.
#include "app/PackageInstall.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "tests/app/PackageTestSupport.h"
#include "tests/support/FileSizeLimit.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;
using namespace PackageTest;

namespace {

class PackageInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = dir_.path().toStdString();
        data_ = root_ + "/Data/";
        fs::create_directories(data_);
        WriteFile(data_ + "OTHER_T.TDD", DictionaryBytes("OTHER_T", 1));
        TDictManager manager(Catalogue());
        ASSERT_EQ(manager.InstallDictionary(data_ + "OTHER_T.TDD"), irInstalled);
        sounds_ = {{"1.idx", std::string(24, 'i')}, {"1.snd", "frames"}, {"sub/readme.txt", "hello"}};
    }

    std::string Catalogue() const { return data_ + "DICTIONARYS.DNT"; }

    std::string MakePackage(const std::string& name, const std::string& bytes)
    {
        const std::string path = root_ + "/in/" + name;
        WriteFile(path, bytes);
        return path;
    }

    TPackageResult Install(const std::string& package, TDictManager& manager)
    {
        TPackageInstall install(package, data_, Catalogue());
        TPackageResult r = install.Prepare();
        if (!r.Ok())
            return r;
        return install.Commit(manager);
    }

    // Installs and checks that nothing in Data/ changed.
    void ExpectRefused(const std::string& package, TPackageStatus status)
    {
        const auto before = Snapshot(data_);
        TDictManager manager(Catalogue());
        const TPackageResult r = Install(package, manager);
        EXPECT_EQ(r.Status, status) << r.Reason;
        EXPECT_EQ(Snapshot(data_), before);
        EXPECT_EQ(manager.Count(), 1);
    }

    QTemporaryDir dir_;
    std::string root_, data_;
    std::map<std::string, std::string> sounds_;
};

}  // namespace

TEST_F(PackageInstall, InstallsDictionaryAndFolderAndTheDictionaryOpens)
{
    const std::string dictionary = DictionaryBytes("ENGFRE_T");
    const std::string package = MakePackage("ENGFRE_T.v2.pkg", PackageBytes(dictionary, CabinetBytes(sounds_)));
    TDictManager manager(Catalogue());
    const TPackageResult r = Install(package, manager);
    ASSERT_TRUE(r.Ok()) << r.Reason;
    EXPECT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.FindIdByFileName("ENGFRE_T"), 1);
    EXPECT_EQ(ReadFile(data_ + "ENGFRE_T.TDD"), dictionary);
    EXPECT_EQ(ReadFile(data_ + "ENGFRE_T/1.snd"), "frames");
    EXPECT_EQ(ReadFile(data_ + "ENGFRE_T/sub/readme.txt"), "hello");
    EXPECT_FALSE(fs::exists(data_ + "ENGFRE_T/Temp.CAB"));
    // Only the dictionary, its folder, the catalogue and the other dictionary remain.
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(data_))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"DICTIONARYS.DNT", "ENGFRE_T", "ENGFRE_T.TDD", "OTHER_T.TDD"}));

    TTavorDictionary opened(data_ + "ENGFRE_T");
    ASSERT_TRUE(opened.Open(data_ + "ENGFRE_T"));
    std::u16string words;
    opened.GetLetterWords(u'A', true, words, false);
    EXPECT_NE(words.find(u"apple"), std::u16string::npos);
}

TEST_F(PackageInstall, NameWithoutDotUsesTheWholeName)
{
    ExpectRefused(MakePackage(".pkg", PackageBytes(DictionaryBytes(), CabinetBytes(sounds_))), TPackageStatus::BadName);
    const std::string package = MakePackage("ENGFRE_T", PackageBytes(DictionaryBytes(), CabinetBytes(sounds_)));
    TDictManager manager(Catalogue());
    ASSERT_TRUE(Install(package, manager).Ok());
    EXPECT_TRUE(fs::exists(data_ + "ENGFRE_T.TDD"));
    EXPECT_FALSE(fs::exists(data_ + ".TDD"));
    EXPECT_FALSE(fs::exists(data_ + "1.snd"));  // never unpacked into Data/ itself
    EXPECT_EQ(PackageBaseName("a/b/.hidden.pkg"), "");
    EXPECT_EQ(PackageBaseName("x.y.z"), "x");
}

TEST_F(PackageInstall, AlreadyInstalledWritesNothing)
{
    const std::string package =
        MakePackage("OTHER_T.pkg", PackageBytes(DictionaryBytes("OTHER_T", 1), CabinetBytes(sounds_)));
    ExpectRefused(package, TPackageStatus::AlreadyInstalled);
    // Another dictionary (other number) that would take OTHER_T's file is refused too.
    ExpectRefused(MakePackage("OTHER_T.new.pkg", PackageBytes(DictionaryBytes("OTHER_T", 9), CabinetBytes(sounds_))),
                  TPackageStatus::AlreadyInstalled);
}

TEST_F(PackageInstall, DamagedTrailersAndDataAreRefusedBeforeAnythingIsWritten)
{
    const std::string dictionary = DictionaryBytes();
    const std::string cabinet = CabinetBytes(sounds_);
    const auto total = static_cast<std::int64_t>(dictionary.size() + cabinet.size());
    ExpectRefused(MakePackage("A.pkg", PackageBytes(dictionary, cabinet, total + 1)), TPackageStatus::Damaged);
    ExpectRefused(MakePackage("B.pkg", PackageBytes(dictionary, cabinet, -1)), TPackageStatus::Damaged);
    ExpectRefused(MakePackage("C.pkg", PackageBytes(dictionary, cabinet, 0)), TPackageStatus::Damaged);
    // What does not begin as a dictionary, or cannot be opened, is no package at all.
    ExpectRefused(MakePackage("D.pkg", "1234567"), TPackageStatus::NotDictionary);
    ExpectRefused(MakePackage("I.pkg", "01.0"), TPackageStatus::NotDictionary);
    ExpectRefused(root_ + "/in/missing.pkg", TPackageStatus::NotDictionary);
    ExpectRefused(root_ + "/in", TPackageStatus::NotDictionary);
    // A data part that is not a dictionary.
    ExpectRefused(MakePackage("E.pkg", PackageBytes("02.02" + dictionary.substr(5), cabinet)),
                  TPackageStatus::NotDictionary);
    // A cabinet cut short.
    ExpectRefused(MakePackage("F.pkg", PackageBytes(dictionary, cabinet.substr(0, cabinet.size() / 2))),
                  TPackageStatus::ExtractFailed);
    ExpectRefused(MakePackage("G.pkg", PackageBytes(dictionary, "not a cabinet at all")),
                  TPackageStatus::ExtractFailed);
}

TEST_F(PackageInstall, TraversalNamesInTheCabinetWriteNothingAnywhere)
{
    const std::string dictionary = DictionaryBytes();
    const std::string cabinet = CabinetBytes({{"aa/evil.txt", "x"}, {"1.snd", "frames"}});
    for (const std::string& hostile : {std::string("../evil.txt"), std::string("..\\evil.txt")}) {
        const std::string package = MakePackage(
            "ENGFRE_T.pkg", PackageBytes(dictionary, Patched(cabinet, "aa\\evil.txt", hostile.substr(0, 11))));
        const auto outside = Snapshot(root_);
        ExpectRefused(package, TPackageStatus::ExtractFailed);
        EXPECT_FALSE(fs::exists(root_ + "/evil.txt"));
        EXPECT_FALSE(fs::exists(data_ + "evil.txt"));
    }
    const std::string deeper = CabinetBytes({{"aaaaa/x", "x"}});
    ExpectRefused(MakePackage("ENGFRE_T.pkg", PackageBytes(dictionary, Patched(deeper, "aaaaa\\x", "../../x"))),
                  TPackageStatus::ExtractFailed);
    EXPECT_FALSE(fs::exists(data_ + "x"));
    EXPECT_FALSE(fs::exists(root_ + "/x"));
}

TEST_F(PackageInstall, EntryNamedLikeTheCabinetIsAnOrdinaryFile)
{
    const std::string package = MakePackage(
        "ENGFRE_T.pkg", PackageBytes(DictionaryBytes(), CabinetBytes({{"Temp.CAB", "mine"}, {"1.snd", "s"}})));
    TDictManager manager(Catalogue());
    ASSERT_TRUE(Install(package, manager).Ok());
    EXPECT_EQ(ReadFile(data_ + "ENGFRE_T/Temp.CAB"), "mine");
    EXPECT_EQ(ReadFile(data_ + "ENGFRE_T/1.snd"), "s");
}

TEST_F(PackageInstall, UncommittedOrRefusedInstallPutsReplacedFilesBack)
{
    // Left-overs of an earlier install without a record: the package replaces them ...
    WriteFile(data_ + "ENGFRE_T.TDD", "old dictionary");
    WriteFile(data_ + "ENGFRE_T/1.snd", "old sound");
    WriteFile(data_ + "ENGFRE_T/mine.txt", "user's own");
    const auto before = Snapshot(data_);
    const std::string package = MakePackage("ENGFRE_T.pkg", PackageBytes(DictionaryBytes(), CabinetBytes(sounds_)));
    {
        TPackageInstall install(package, data_, Catalogue());
        ASSERT_TRUE(install.Prepare().Ok());
        EXPECT_EQ(ReadFile(data_ + "ENGFRE_T/1.snd"), "frames");
        // ... but the window went before the record was added.
    }
    EXPECT_EQ(Snapshot(data_), before);

    // The live catalogue took the same dictionary meanwhile: the commit is refused, all goes back.
    TPackageInstall install(package, data_, Catalogue());
    ASSERT_TRUE(install.Prepare().Ok());
    TDictManager manager(Catalogue());
    ASSERT_EQ(manager.InstallDictionary(data_ + "ENGFRE_T.TDD"), irInstalled);
    EXPECT_EQ(install.Commit(manager).Status, TPackageStatus::AlreadyInstalled);
    auto expected = before;
    expected.erase("DICTIONARYS.DNT");
    auto after = Snapshot(data_);
    after.erase("DICTIONARYS.DNT");
    EXPECT_EQ(after, expected);
}

TEST_F(PackageInstall, FolderThatIsALinkOutsideIsRefused)
{
    const std::string outside = root_ + "/outside";
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, data_ + "ENGFRE_T");
    const std::string package = MakePackage("ENGFRE_T.pkg", PackageBytes(DictionaryBytes(), CabinetBytes(sounds_)));
    ExpectRefused(package, TPackageStatus::WriteFailed);
    EXPECT_TRUE(fs::is_empty(outside));
}

TEST_F(PackageInstall, CancelLeavesNothing)
{
    const std::string package = MakePackage("ENGFRE_T.pkg", PackageBytes(DictionaryBytes(), CabinetBytes(sounds_)));
    const auto before = Snapshot(data_);
    std::atomic<bool> cancel{true};
    TPackageInstall install(package, data_, Catalogue());
    EXPECT_EQ(install.Prepare(&cancel).Status, TPackageStatus::Cancelled);
    EXPECT_EQ(Snapshot(data_), before);
}

TEST_F(PackageInstall, AFullDiskWhileCopyingLeavesTheOldFilesAndSaysWhy)
{
    // An older dictionary file and sound folder of the same name survive the failed install.
    WriteFile(data_ + "ENGFRE_T.TDD", "old dictionary");
    WriteFile(data_ + "ENGFRE_T/1.snd", "old sound");
    const std::string dictionary = DictionaryBytes("ENGFRE_T") + std::string(300000, '\0');
    const std::string package = MakePackage("ENGFRE_T.pkg", PackageBytes(dictionary, CabinetBytes(sounds_)));
    const auto before = Snapshot(data_);
    // Writes beyond 100 kB fail as on a full disk: the dictionary's copy does not fit.
    std::optional<TestFiles::TFileSizeLimit> fullDisk(std::in_place, 100000);
    TDictManager manager(Catalogue());
    const TPackageResult r = Install(package, manager);
    fullDisk.reset();
    EXPECT_EQ(r.Status, TPackageStatus::WriteFailed);
    EXPECT_EQ(r.Cause, TPackageCause::Write);
    EXPECT_EQ(r.Reason, std::strerror(EFBIG));
    EXPECT_FALSE(r.Shown);  // the window reports this one
    EXPECT_EQ(Snapshot(data_), before);
    EXPECT_EQ(manager.Count(), 1);
}

TEST(PackageTrailer, LengthMustFitTheFile)
{
    const unsigned char five[8] = {5, 0, 0, 0, 0, 0, 0, 0};
    const unsigned char huge[8] = {0, 0, 0, 0, 0, 0, 0, 0x80};
    EXPECT_EQ(PackageDataLength(13, five), 5);
    EXPECT_EQ(PackageDataLength(12, five), -1);
    EXPECT_EQ(PackageDataLength(1000, huge), -1);
}

TEST_F(PackageInstall, SamplePackageInstallsWithItsSounds)
{
#ifndef LEXORA_SAMPLE_PACKAGE
    GTEST_SKIP() << "the sample package is not built here";
#else
    if (!fs::exists(LEXORA_SAMPLE_PACKAGE))
        GTEST_SKIP() << "no sample package";
    TDictManager manager(Catalogue());
    const TPackageResult r = Install(LEXORA_SAMPLE_PACKAGE, manager);
    ASSERT_TRUE(r.Ok()) << r.Reason;
    const std::int32_t id = manager.FindIdByFileName("ENGRUS_S");
    ASSERT_GE(id, 0);
    EXPECT_EQ(manager.Records[static_cast<std::size_t>(id)].Sounds, 1);
    EXPECT_TRUE(fs::exists(data_ + "ENGRUS_S/1.idx"));
    EXPECT_TRUE(fs::exists(data_ + "ENGRUS_S/1.snd"));
    TTavorDictionary opened(data_ + "ENGRUS_S");
    ASSERT_TRUE(opened.Open(data_ + "ENGRUS_S"));
    std::u16string words;
    opened.GetLetterWords(u'C', true, words, false);
    EXPECT_NE(words.find(u"cat"), std::u16string::npos);
    // A second time it is already there.
    EXPECT_EQ(Install(LEXORA_SAMPLE_PACKAGE, manager).Status, TPackageStatus::AlreadyInstalled);
#endif
}
