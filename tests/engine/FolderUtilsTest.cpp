#include "engine/FolderUtils.h"
#include "platform/FileSystem.h"

#include "CatalogTestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;
using CatalogTest::TScratchFolder;
using CatalogTest::WriteBytes;

namespace {

// scratch/sounds with three files, one link and one sub-folder holding a file of its own.
std::string MakeSoundFolder(const TScratchFolder& scratch)
{
    const fs::path folder = scratch.Path() / "sounds";
    fs::create_directories(folder / "sub");
    WriteBytes((folder / "1.snd").string(), "a");
    WriteBytes((folder / "1.idx").string(), "b");
    WriteBytes((folder / "readonly.snd").string(), "c");
    fs::permissions(folder / "readonly.snd", fs::perms::owner_read);
    WriteBytes((folder / "sub" / "inner.snd").string(), "d");
    return folder.string();
}

}  // namespace

TEST(FileSystem, ParseMountsDecodesEscapesAndSkipsBrokenLines)
{
    auto mounts = Platform::ParseMounts("/dev/sr0 /media/my\\040cd iso9660 ro 0 0\n"
                                        "garbage\n"
                                        "tmpfs /run/ tmpfs rw 0 0\n"
                                        "none relative ext4 rw 0 0\n"
                                        "/dev/sda1 / ext4 rw 0 0");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].Root, "/media/my cd");
    EXPECT_TRUE(Platform::IsCDFileSystem(mounts[0].FsType));
    EXPECT_EQ(mounts[1].Root, "/run");
    EXPECT_FALSE(Platform::IsCDFileSystem(mounts[1].FsType));
    EXPECT_EQ(mounts[2].Root, "/");
}

TEST(FolderUtils, IsDriveReadyOnlyForMountedFileSystems)
{
    TScratchFolder scratch;
    EXPECT_TRUE(IsDriveReady("/"));
    // A folder of the root file system is no drive, like a CD mount point without a disc.
    EXPECT_FALSE(IsDriveReady(scratch.Path().string()));
    EXPECT_FALSE(IsDriveReady(scratch / "missing"));
    EXPECT_FALSE(IsDriveReady(""));
    EXPECT_FALSE(IsDriveReady("D"));
}

TEST(FolderUtils, CountFilesSkipsFoldersAndMissingFolderCountsZero)
{
    TScratchFolder scratch;
    const std::string folder = MakeSoundFolder(scratch);
    EXPECT_EQ(CountFilesInFolder(folder), 3);
    EXPECT_EQ(CountFilesInFolder(folder + "/"), 3);
    EXPECT_EQ(CountFilesInFolder(scratch / "missing"), 0);
    EXPECT_EQ(CountFilesInFolder(""), 0);
    EXPECT_EQ(CountFilesInFolder(folder + "/1.snd"), 0);
}

TEST(FolderUtils, DeleteFolderRemovesFilesAndFolder)
{
    TScratchFolder scratch;
    const std::string folder = MakeSoundFolder(scratch);
    fs::remove_all(fs::path(folder) / "sub");
    EXPECT_TRUE(DeleteFolder(folder));
    EXPECT_FALSE(fs::exists(folder));
    // Already gone: nothing left to delete.
    EXPECT_TRUE(DeleteFolder(folder));
}

TEST(FolderUtils, DeleteFolderLeavesSubFoldersInPlace)
{
    TScratchFolder scratch;
    const std::string folder = MakeSoundFolder(scratch);
    EXPECT_FALSE(DeleteFolder(folder));
    EXPECT_TRUE(fs::exists(fs::path(folder) / "sub" / "inner.snd"));
    EXPECT_FALSE(fs::exists(fs::path(folder) / "1.snd"));
    EXPECT_FALSE(fs::exists(fs::path(folder) / "readonly.snd"));
    EXPECT_EQ(CountFilesInFolder(folder), 0);
}

TEST(FolderUtils, DeleteFolderRemovesLinksButNotWhatTheyPointTo)
{
    TScratchFolder scratch;
    fs::create_directories(scratch.Path() / "elsewhere");
    WriteBytes(scratch / "elsewhere/keep.txt", "keep");
    fs::create_directories(scratch.Path() / "sounds");
    fs::create_directory_symlink(scratch.Path() / "elsewhere", scratch.Path() / "sounds" / "link");
    EXPECT_TRUE(DeleteFolder(scratch / "sounds"));
    EXPECT_TRUE(fs::exists(scratch.Path() / "elsewhere" / "keep.txt"));
}

TEST(FolderUtils, DeleteFolderRefusesDriveNamesAndMountRoots)
{
    TScratchFolder scratch;
    // Folders literally named like Windows drives, reached relative to the working folder.
    const fs::path previous = fs::current_path();
    for (std::string name : {"C:", "D:", "e:", "F:\\", "z:/"}) {
        std::string folder = name.substr(0, 2);
        fs::create_directories(scratch.Path() / folder);
        WriteBytes((scratch.Path() / folder / "keep").string(), "x");
        fs::current_path(scratch.Path());
        EXPECT_FALSE(DeleteFolder(name)) << name;
        fs::current_path(previous);
        EXPECT_TRUE(fs::exists(scratch.Path() / folder / "keep")) << name;
    }
    EXPECT_FALSE(DeleteFolder(""));
    // Mount roots however they are spelled; /proc holds nothing that could be deleted anyway.
    EXPECT_FALSE(DeleteFolder("/"));
    EXPECT_FALSE(DeleteFolder("/proc"));
    EXPECT_FALSE(DeleteFolder("/proc/"));
    EXPECT_FALSE(DeleteFolder("/proc/self/.."));
    fs::create_directory_symlink("/proc", scratch.Path() / "link-to-mount");
    EXPECT_FALSE(DeleteFolder(scratch / "link-to-mount"));
    EXPECT_TRUE(Platform::IsMountRoot("/proc/."));
    EXPECT_FALSE(Platform::IsMountRoot(scratch.Path().string()));
}

TEST(FolderUtils, WindowsFolderPathIsTheProgramFolderWithOneSlash)
{
    const std::string path = WindowsFolderPath();
    ASSERT_GE(path.size(), 1u);
    EXPECT_EQ(path.back(), '/');
    if (path.size() > 1) {
        EXPECT_NE(path[path.size() - 2], '/');
    }
    EXPECT_EQ(fs::path(path), fs::read_symlink("/proc/self/exe").parent_path() / "");
}
