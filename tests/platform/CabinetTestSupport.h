// Helpers of the cabinet tests: a scratch folder, files with given times, cabinets made with
// gcab, extraction with cabextract, and patching of entry names.
#pragma once

#include "tests/support/TestFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace CabinetTest {

namespace fs = std::filesystem;

// A folder removed with everything in it at the end of the test.
class TScratch {
public:
    TScratch()
    {
        char name[] = "/tmp/lexora-cab-XXXXXX";
        if (::mkdtemp(name) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = name;
    }
    ~TScratch()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Runs a program (no shell) in Folder with stdout and stderr discarded; its exit code, or -1.
inline int RunProgram(const std::vector<std::string>& args, const std::string& folder = ".")
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0)
            ::_exit(126);
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            ::_exit(126);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using TestFiles::ReadFile;
using TestFiles::WriteFile;

// Text that MSZIP compresses well but not to nothing, of about Size bytes.
inline std::string SomeText(std::size_t size, unsigned seed = 1)
{
    std::string text;
    unsigned x = seed;
    while (text.size() < size) {
        x = x * 1103515245u + 12345u;
        text += "word" + std::to_string((x >> 16) % 5000) + (x % 7 == 0 ? "\n" : " ");
    }
    text.resize(size);
    return text;
}

// Local time as seconds since the epoch.
inline std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

inline void SetModified(const std::string& path, std::time_t time)
{
    const timespec times[2] = {{time, 0}, {time, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("utimensat failed");
}

inline std::time_t Modified(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mtim.tv_sec : -1;
}

// Makes Cabinet with gcab from the files (relative to Folder); MSZIP when Zip.
inline void MakeCabinet(const std::string& cabinet, const std::string& folder, const std::vector<std::string>& files,
                        bool zip = true)
{
    std::vector<std::string> args{"gcab", "-c"};
    if (zip)
        args.push_back("-z");
    args.push_back(cabinet);
    args.insert(args.end(), files.begin(), files.end());
    if (RunProgram(args, folder) != 0)
        throw std::runtime_error("gcab failed on " + cabinet);
}

// Every regular file below Folder by relative path, with its content.
inline std::map<std::string, std::string> Tree(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder))
        if (item.is_regular_file())
            files[fs::relative(item.path(), folder).string()] = ReadFile(item.path().string());
    return files;
}

// Replaces the one occurrence of From in the file by To (of the same length).
inline void PatchName(const std::string& path, const std::string& from, const std::string& to)
{
    if (from.size() != to.size())
        throw std::logic_error("names of different length");
    std::string data = ReadFile(path);
    const std::size_t at = data.find(from + '\0');
    if (at == std::string::npos || data.find(from + '\0', at + 1) != std::string::npos)
        throw std::runtime_error("name not found once: " + from);
    data.replace(at, from.size(), to);
    WriteFile(path, data);
}

}  // namespace CabinetTest
