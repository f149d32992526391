#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace Platform {

namespace {

// Decodes the \ooo escapes the kernel writes for space, tab, newline and backslash.
std::string Unescape(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && field.size() - i >= 4) {
            auto oct = [](char c) { return c >= '0' && c <= '7'; };
            if (oct(field[i + 1]) && oct(field[i + 2]) && oct(field[i + 3])) {
                int v = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
                if (v <= 0xFF) {
                    out.push_back(static_cast<char>(v));
                    i += 3;
                    continue;
                }
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

std::string StripTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The absolute, link-free form of an existing path; empty when it cannot be resolved.
std::string Resolve(const std::string& path)
{
    if (path.empty())
        return {};
    std::error_code ec;
    fs::path p = fs::canonical(fs::path(path), ec);
    if (ec)
        return {};
    return StripTrailingSlashes(p.string());
}

}  // namespace

std::vector<TMountPoint> ParseMounts(std::string_view text)
{
    std::vector<TMountPoint> result;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        std::vector<std::string_view> fields;
        size_t i = 0;
        while (i < line.size() && fields.size() < 3) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                ++i;
            if (i > start)
                fields.push_back(line.substr(start, i - start));
        }
        if (fields.size() < 3)
            continue;
        TMountPoint mount{Unescape(fields[0]), StripTrailingSlashes(Unescape(fields[1])), Unescape(fields[2])};
        if (mount.Root.empty() || mount.Root.front() != '/')
            continue;
        result.push_back(std::move(mount));
    }
    return result;
}

std::vector<TMountPoint> MountPoints()
{
    const char* table = std::getenv("LEXORA_MOUNTS");
    try {
        return ParseMounts(ReadWholeFile(table != nullptr && *table != '\0' ? table : "/proc/self/mounts"));
    } catch (const std::system_error&) {
        return {};
    }
}

bool IsCDFileSystem(std::string_view fsType)
{
    return fsType == "iso9660" || fsType == "udf";
}

std::vector<std::string> CDDriveRoots()
{
    std::vector<std::string> roots;
    for (const TMountPoint& mount : MountPoints()) {
        if (!IsCDFileSystem(mount.FsType))
            continue;
        std::string root = mount.Root == "/" ? mount.Root : mount.Root + "/";
        if (std::find(roots.begin(), roots.end(), root) == roots.end())
            roots.push_back(std::move(root));
    }
    return roots;
}

bool IsMountRoot(const std::string& path)
{
    std::string resolved = Resolve(path);
    if (resolved.empty())
        return false;
    if (resolved == "/")
        return true;
    for (const TMountPoint& mount : MountPoints()) {
        if (mount.Root == resolved)
            return true;
    }
    // A mount the table does not show (another namespace, a table we could not read):
    // the folder lies on another device than its parent.
    struct stat self {
    }, parent{};
    if (::stat(resolved.c_str(), &self) != 0)
        return false;
    std::string up = fs::path(resolved).parent_path().string();
    if (::stat(up.c_str(), &parent) != 0)
        return false;
    return self.st_dev != parent.st_dev;
}

bool IsMountReady(const std::string& root)
{
    if (!IsMountRoot(root))
        return false;
    struct statvfs info {};
    if (::statvfs(Resolve(root).c_str(), &info) != 0)
        return false;
    return info.f_blocks > 0;
}

std::string ReadWholeFile(const std::string& path)
{
    struct TDescriptor {
        int Fd;
        ~TDescriptor()
        {
            if (Fd >= 0)
                ::close(Fd);
        }
    } file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.Fd < 0)
        throw std::system_error(errno, std::generic_category(), "cannot open \"" + path + "\"");
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(file.Fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(), "cannot read \"" + path + "\"");
        }
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ProgramFolder()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    std::string folder = ec ? fs::current_path(ec).string() : exe.parent_path().string();
    folder = StripTrailingSlashes(folder);
    if (folder.empty() || folder.back() != '/')
        folder.push_back('/');
    return folder;
}

}  // namespace Platform
