#include "engine/FolderUtils.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// "C:", "c:", "C:\" or "C:/": a Windows drive name, which stands for a whole drive.
bool IsDriveName(const std::string& name)
{
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.size() < 2 || name.size() > 3 || !letter(name[0]) || name[1] != ':')
        return false;
    return name.size() == 2 || name[2] == '\\' || name[2] == '/';
}

}  // namespace

bool IsDriveReady(const std::string& Drive)
{
    try {
        return Platform::IsMountReady(Drive);
    } catch (...) {
        return false;
    }
}

int32_t CountFilesInFolder(const std::string& Folder)
{
    if (Folder.empty())
        return 0;
    try {
        std::error_code ec;
        int64_t count = 0;
        for (fs::directory_iterator it(Folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code statEc;
            if (!it->is_directory(statEc))
                ++count;
        }
        return static_cast<int32_t>(std::min<int64_t>(count, std::numeric_limits<int32_t>::max()));
    } catch (...) {
        return 0;
    }
}

bool DeleteFolder(const std::string& Folder)
{
    try {
        if (Folder.empty() || IsDriveName(Folder) || Platform::IsMountRoot(Folder))
            return false;
        std::error_code ec;
        fs::path folder(Folder);
        std::vector<fs::path> doomed;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code typeEc;
            // A link is removed itself, never followed; folders stay as they are.
            if (it->is_symlink(typeEc) || !it->is_directory(typeEc))
                doomed.push_back(it->path());
        }
        for (const fs::path& entry : doomed) {
            std::error_code removeEc;
            fs::remove(entry, removeEc);
        }
        std::error_code removeEc;
        if (fs::is_directory(fs::symlink_status(folder, removeEc)))
            fs::remove(folder, removeEc);
        std::error_code existsEc;
        fs::file_status status = fs::symlink_status(folder, existsEc);
        return existsEc == std::errc::no_such_file_or_directory || status.type() == fs::file_type::not_found;
    } catch (...) {
        return false;
    }
}

std::string WindowsFolderPath()
{
    return Platform::ProgramFolder();
}
