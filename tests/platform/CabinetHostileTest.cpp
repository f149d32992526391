// Damaged and hostile cabinets: made with gcab, then cut, corrupted or given patched entry
// names. None may write outside the target folder, crash, or report more than one error.
#include "platform/Cabinet.h"

#include "tests/platform/CabinetTestSupport.h"

#include <gtest/gtest.h>

using namespace CabinetTest;
using Platform::TCabinetDecompressor;
using Platform::TCabinetError;
using Platform::TCabinetNotify;

namespace {

class HostileCabinet : public ::testing::Test {
protected:
    void SetUp() override
    {
        decompressor_ = TCabinetDecompressor::Create();
        ASSERT_NE(decompressor_, nullptr);
        fs::create_directories(scratch_ / "src");
        fs::create_directories(scratch_ / "box/out");
        fs::create_directories(scratch_ / "elsewhere");
    }

    // A cabinet of the given files (name -> content), made in src/.
    std::string Make(const std::vector<std::pair<std::string, std::string>>& files, const std::string& name = "h.cab")
    {
        std::vector<std::string> names;
        for (const auto& [file, content] : files) {
            WriteFile(scratch_ / ("src/" + file), content);
            names.push_back(file);
        }
        const std::string cabinet = scratch_ / name;
        MakeCabinet(cabinet, scratch_ / "src", names);
        return cabinet;
    }

    Platform::TCabinetResult Copy(const std::string& cabinet, const std::string& target = "box/out")
    {
        return decompressor_->Copy(cabinet, scratch_ / target, {});
    }

    // Every file below the scratch folder outside src/ and box/out/, and the cabinets.
    std::vector<std::string> Outside()
    {
        std::vector<std::string> found;
        for (const auto& item : fs::recursive_directory_iterator(scratch_.Path())) {
            const std::string path = fs::relative(item.path(), scratch_.Path()).string();
            if (path.rfind("src", 0) == 0 || path.rfind("box/out", 0) == 0 || path == "box" || path == "elsewhere"
                || item.path().extension() == ".cab")
                continue;
            found.push_back(path);
        }
        return found;
    }

    TScratch scratch_;
    std::unique_ptr<TCabinetDecompressor> decompressor_;
};

TEST_F(HostileCabinet, NamesWithParentFoldersAreRefused)
{
    const std::string cabinet = Make({{"good.txt", "fine"}, {"aaaaaaaaaaa", "evil"}});
    PatchName(cabinet, "aaaaaaaaaaa", "..\\evil.txt");
    auto result = Copy(cabinet);
    EXPECT_EQ(result.Error, TCabinetError::UnsafeName);
    EXPECT_NE(result.Message.find("..\\evil.txt"), std::string::npos);
    EXPECT_TRUE(fs::exists(scratch_ / "box/out/good.txt"));
    EXPECT_EQ(Outside(), std::vector<std::string>{});

    const std::string deep = Make({{"bbbbbbbbbbbbbbb", "evil"}}, "deep.cab");
    PatchName(deep, "bbbbbbbbbbbbbbb", "sub/../../x.txt");
    EXPECT_EQ(Copy(deep).Error, TCabinetError::UnsafeName);
    EXPECT_EQ(Outside(), std::vector<std::string>{});
}

TEST_F(HostileCabinet, AbsoluteNamesAndDriveLettersStayInside)
{
    const std::string cabinet = Make({{"cccccccccc", "one"}, {"dddddddddddd", "two"}, {"eeeeeee", "three"}});
    PatchName(cabinet, "cccccccccc", "/tmp/x.txt");
    PatchName(cabinet, "dddddddddddd", "C:\\dir\\y.txt");
    PatchName(cabinet, "eeeeeee", "\\\\srv\\z");
    const auto result = Copy(cabinet);
    ASSERT_TRUE(result.Ok()) << result.Message;
    EXPECT_EQ(ReadFile(scratch_ / "box/out/tmp/x.txt"), "one");
    EXPECT_EQ(ReadFile(scratch_ / "box/out/dir/y.txt"), "two");
    EXPECT_EQ(ReadFile(scratch_ / "box/out/srv/z"), "three");
    EXPECT_EQ(Outside(), std::vector<std::string>{});
}

TEST_F(HostileCabinet, SymbolicLinksInTheTargetAreNotFollowed)
{
    const std::string cabinet = Make({{"sub/a.txt", "into a linked folder"}, {"b.txt", "over a linked file"}});
    fs::create_directory_symlink(scratch_ / "elsewhere", scratch_ / "box/out/sub");
    WriteFile(scratch_ / "elsewhere/b.txt", "precious");
    fs::create_symlink(scratch_ / "elsewhere/b.txt", scratch_ / "box/out/b.txt");

    auto result = Copy(cabinet);
    EXPECT_EQ(result.Error, TCabinetError::UnsafeTarget);
    EXPECT_NE(result.Message.find("sub/"), std::string::npos);
    EXPECT_FALSE(fs::exists(scratch_ / "elsewhere/a.txt"));

    // Without the folder link the file link is replaced by a file; its target stays as it was.
    fs::remove(scratch_ / "box/out/sub");
    result = Copy(cabinet);
    ASSERT_TRUE(result.Ok()) << result.Message;
    EXPECT_FALSE(fs::is_symlink(scratch_ / "box/out/b.txt"));
    EXPECT_EQ(ReadFile(scratch_ / "box/out/b.txt"), "over a linked file");
    EXPECT_EQ(ReadFile(scratch_ / "elsewhere/b.txt"), "precious");
}

TEST_F(HostileCabinet, AnEntryNamedLikeTheCabinetBeingReadIsRefused)
{
    const std::string made = Make({{"first.txt", "1"}, {"pkg.cab", "payload"}, {"last.txt", "3"}}, "pkg.cab");
    fs::rename(made, scratch_ / "box/out/pkg.cab");
    const std::string cabinet = scratch_ / "box/out/pkg.cab";
    const std::string before = ReadFile(cabinet);
    const auto result = decompressor_->Copy(cabinet, scratch_ / "box/out", {});
    EXPECT_EQ(result.Error, TCabinetError::UnsafeTarget);
    EXPECT_NE(result.Message.find("pkg.cab"), std::string::npos);
    EXPECT_EQ(ReadFile(cabinet), before);
}

TEST_F(HostileCabinet, CutCabinetsFailCleanly)
{
    const std::string cabinet = Make({{"a.txt", SomeText(3000)}, {"b.txt", SomeText(90000, 7)}});
    const std::string whole = ReadFile(cabinet);
    for (std::size_t size : {std::size_t{0}, std::size_t{10}, std::size_t{36}, std::size_t{60}, std::size_t{100},
                             whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(size);
        fs::remove_all(scratch_ / "box/out");
        fs::create_directories(scratch_ / "box/out");
        WriteFile(scratch_ / "cut.cab", whole.substr(0, size));
        const auto result = Copy(scratch_ / "cut.cab");
        EXPECT_FALSE(result.Ok());
        EXPECT_FALSE(result.Message.empty());
        for (const auto& [name, content] : Tree(scratch_ / "box/out"))
            EXPECT_TRUE(name == "a.txt" && content == SomeText(3000)) << name;  // whole files only
    }
    EXPECT_EQ(Outside(), std::vector<std::string>{});
}

TEST_F(HostileCabinet, CorruptDataGivesOneDamagedError)
{
    const std::string cabinet = Make({{"b.txt", SomeText(90000, 3)}});
    std::string data = ReadFile(cabinet);
    for (std::size_t i = data.size() / 2; i < data.size() / 2 + 16; ++i)
        data[i] = static_cast<char>(data[i] ^ 0x5a);
    WriteFile(cabinet, data);
    const auto result = Copy(cabinet);
    EXPECT_EQ(result.Error, TCabinetError::Damaged);
    EXPECT_NE(result.Message.find("b.txt"), std::string::npos);
    EXPECT_TRUE(Tree(scratch_ / "box/out").empty());
}

}  // namespace
