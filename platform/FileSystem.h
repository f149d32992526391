// File-system layer: mounted file systems stand in for drives, CD drives are iso9660/udf
// mounts, and the program's own folder (the one that holds Fonts/) stands in for the
// system folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Platform {

struct TMountPoint {
    std::string Device;
    std::string Root;  // mount point, absolute, without a trailing "/" (except "/")
    std::string FsType;
};

// Parses text in the /proc/self/mounts format; octal escapes (\040 etc.) are decoded and
// malformed lines skipped.
std::vector<TMountPoint> ParseMounts(std::string_view text);

// The mounted file systems of this process, in mount order; empty when they cannot be read.
// When LEXORA_MOUNTS names a file, that file is read instead of /proc/self/mounts (tests
// give the program a CD drive this way).
std::vector<TMountPoint> MountPoints();

// The roots of the mounted CD and DVD file systems, in mount order, each ending in "/".
std::vector<std::string> CDDriveRoots();

// True for a CD or DVD file system (iso9660, udf).
bool IsCDFileSystem(std::string_view fsType);

// True when Path names the root of a mounted file system ("/" included), through symbolic
// links and "." or ".." components. False for a missing path.
bool IsMountRoot(const std::string& path);

// True when Root is a mounted file system that holds a readable medium: it is a mount point
// and reports a non-zero size. A CD drive without a disc has no mount and so gives False.
bool IsMountReady(const std::string& root);

// The whole content of the file at Path. Throws std::system_error with the errno of the
// failing call when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

// The folder of the running program (from /proc/self/exe), with one trailing "/".
std::string ProgramFolder();

}  // namespace Platform
