// Helpers of the catalogue, language-table, learning-list and folder tests: a scratch folder
// per test and whole-file reads and writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace CatalogTest {

class TScratchFolder {
public:
    TScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lexora-catalog-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TScratchFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline void WriteBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void PutInt(std::string& bytes, std::size_t at, long long value, int width)
{
    if (bytes.size() < at + width)
        bytes.resize(at + width, '\0');
    for (int i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>((static_cast<unsigned long long>(value) >> (8 * i)) & 0xFF);
}

inline long long GetInt(const std::string& bytes, std::size_t at, int width)
{
    unsigned long long v = 0;
    for (int i = 0; i < width; ++i)
        v |= static_cast<unsigned long long>(static_cast<unsigned char>(bytes.at(at + i))) << (8 * i);
    if (width < 8 && (v >> (8 * width - 1)) & 1)
        v |= ~0ull << (8 * width);
    return static_cast<long long>(v);
}

}  // namespace CatalogTest
