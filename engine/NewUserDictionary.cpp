#include "engine/NewUserDictionary.h"

#include "engine/CompressedText.h"
#include "engine/WideStringList.h"
#include "platform/SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace NewDictionary {
namespace {

bool IsWholeNumber(std::u16string_view token)
{
    std::size_t i = token.size() > 1 && (token[0] == u'-' || token[0] == u'+') ? 1 : 0;
    if (i == token.size())
        return false;
    for (; i < token.size(); ++i)
        if (token[i] < u'0' || token[i] > u'9')
            return false;
    return true;
}

[[noreturn]] void Fail(int error, const std::string& what)
{
    throw std::system_error(error, std::generic_category(), what);
}

// The temporary file: created exclusively, removed again unless released.
class TTemporary {
public:
    explicit TTemporary(const std::filesystem::path& target)
    {
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        path_ = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
        fd_ = ::mkstemp(path_.data());
        if (fd_ < 0)
            Fail(errno, "cannot create a file in " + folder.string());
    }
    ~TTemporary()
    {
        Close();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TTemporary(const TTemporary&) = delete;
    TTemporary& operator=(const TTemporary&) = delete;

    void Write(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                Fail(n < 0 ? errno : ENOSPC, "cannot write " + path_);
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        if (::fsync(fd_) != 0)
            Fail(errno, "cannot flush " + path_);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            Fail(errno, "cannot close " + path_);
    }
    const std::string& Path() const { return path_; }
    // The file was moved into place: nothing to remove.
    void Release() { path_.clear(); }

private:
    void Close() noexcept
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    std::string path_;
    int fd_ = -1;
};

// Moves From to To unless To exists: the rename refuses to replace; where the file system
// cannot rename that way, a hard link (which never replaces) and the removal of From do it.
void MoveIfAbsent(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    int error = errno;
    if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return;
        }
        error = errno;
    }
    if (error == EEXIST)
        throw EFileExists("the file " + to + " exists");
    Fail(error, "cannot create " + to);
}

}  // namespace

std::vector<std::u16string> FindAlphabetLines(const TWideStrings& alphabets, std::u16string_view code)
{
    std::vector<std::u16string> lines;
    if (code.empty())
        return lines;
    const int at = alphabets.IndexOf(code);
    if (at < 0)
        return lines;
    for (int i = at + 1; i < alphabets.Count() && i <= at + 2; ++i)
        lines.push_back(alphabets.Get(i));
    return lines;
}

std::u16string AlphabetLetters(std::u16string_view line)
{
    std::u16string letters;
    std::size_t start = 0;
    for (std::size_t comma = line.find(u','); comma != std::u16string_view::npos;
         start = comma + 1, comma = line.find(u',', start)) {
        const std::u16string_view token = line.substr(start, comma - start);
        if (!token.empty() && !IsWholeNumber(token))
            letters += token[0];
    }
    return letters;
}

std::string BuildFile(std::u16string_view letters, std::string_view infoText, std::u16string_view description)
{
    using namespace Dictionary;
    if (letters.size() > kMaxLetters)
        throw ETooManyLetters("the alphabet has " + std::to_string(letters.size()) + " letters, at most "
                              + std::to_string(kMaxLetters) + " fit");
    TSectionTable table;
    table.fill(FreeUserEntry());
    for (std::size_t i = 0; i < letters.size(); ++i) {
        TSectionEntry& e = table[i];
        e = TSectionEntry{};
        e.Letter = letters[i];
        e.Free = 0;
    }
    const std::string record = CompressText(infoText);
    const std::string text = WideToBytes(description);
    table[kInfoSection].Offset = static_cast<std::int32_t>(kUserTableEnd);
    table[kInfoSection].Length = static_cast<std::int32_t>(record.size());
    table[kDescriptionSection].Offset = static_cast<std::int32_t>(kUserTableEnd + record.size());
    table[kDescriptionSection].Length = static_cast<std::int32_t>(text.size());
    TAreaOffsets head;
    head.H0 = kUserTableEnd;
    head.H1 = static_cast<std::int64_t>(kUserTableEnd + record.size() + text.size());
    head.H2 = 0;
    return std::string(kMagic) + EncodeAreaOffsets(head) + EncodeSectionTable(table) + record + text;
}

void WriteNewFile(const std::string& path, std::string_view bytes)
{
    if (std::filesystem::exists(std::filesystem::symlink_status(path)))
        throw EFileExists("the file " + path + " exists");
    TTemporary temp{std::filesystem::path(path)};
    temp.Write(bytes);
    MoveIfAbsent(temp.Path(), path);
    temp.Release();
    const std::filesystem::path target(path);
    Platform::SyncFolder(target.has_parent_path() ? target.parent_path() : ".");
}

}  // namespace NewDictionary
