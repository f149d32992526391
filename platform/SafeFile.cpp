#include "platform/SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr std::size_t kBufferLimit = 1u << 20;

std::string Describe(const char* what, const std::filesystem::path& path, int err)
{
    std::string text = std::string(what) + " \"" + path.string() + "\"";
    if (err != 0)
        text += ": " + std::string(std::strerror(err));
    return text;
}

std::filesystem::path FolderOf(const std::filesystem::path& path)
{
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

constexpr off_t kAtFileOffset = -1;

// Writes all of Data at Position (at the file offset for kAtFileOffset).
void WriteAll(int fd, const char* data, std::size_t size, off_t position, const std::filesystem::path& path)
{
    while (size > 0) {
        const ssize_t n = position == kAtFileOffset ? ::write(fd, data, size) : ::pwrite(fd, data, size, position);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ESafeFileError(ESafeFileError::TStage::Write, errno, Describe("cannot write", path, errno));
        }
        if (n == 0)
            throw ESafeFileError(ESafeFileError::TStage::Write, 0, Describe("cannot write", path, 0));
        data += n;
        size -= static_cast<std::size_t>(n);
        if (position != kAtFileOffset)
            position += n;
    }
}

// The new file takes the permissions of the file it replaces (0644 for a new one).
void KeepModeOfTarget(int fd, const std::filesystem::path& target)
{
    struct stat st {};
    mode_t mode = 0644;
    if (::stat(target.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    ::fchmod(fd, mode);
}

}  // namespace

ESafeFileError::ESafeFileError(TStage stage, int errorCode, const std::string& message)
    : std::runtime_error(message),
      stage_(stage),
      errorCode_(errorCode)
{
}

TSafeFile::TSafeFile(std::filesystem::path target)
    : target_(std::move(target))
{
    std::string pattern = (FolderOf(target_) / ("." + target_.filename().string() + ".XXXXXX")).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        throw ESafeFileError(ESafeFileError::TStage::Create, errno,
                             Describe("cannot create a temporary file for", target_, errno));
    temporary_ = pattern;
    KeepModeOfTarget(fd_, target_);
}

TSafeFile::TSafeFile(std::filesystem::path target, std::filesystem::path temporary)
    : target_(std::move(target)),
      temporary_(std::move(temporary))
{
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        int err = errno;
        std::filesystem::path name = std::move(temporary_);
        temporary_.clear();  // never remove a file we could not open
        throw ESafeFileError(ESafeFileError::TStage::Create, err, Describe("cannot create", name, err));
    }
    KeepModeOfTarget(fd_, target_);
}

void TSafeFile::SetMode(unsigned mode)
{
    if (fd_ >= 0)
        ::fchmod(fd_, static_cast<mode_t>(mode & 07777));
}

TSafeFile::~TSafeFile()
{
    if (!committed_)
        Discard();
}

void TSafeFile::Write(const void* data, std::size_t size)
{
    if (fd_ < 0)
        throw ESafeFileError(ESafeFileError::TStage::Write, EBADF, Describe("file is closed:", temporary_, 0));
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size > kBufferLimit) {
        Flush();
        if (size >= kBufferLimit) {
            WriteAll(fd_, bytes, size, kAtFileOffset, temporary_);
            size_ += size;
            return;
        }
    }
    buffer_.append(bytes, size);
    size_ += size;
}

void TSafeFile::WriteAt(std::uint64_t position, const void* data, std::size_t size)
{
    if (fd_ < 0)
        throw ESafeFileError(ESafeFileError::TStage::Write, EBADF, Describe("file is closed:", temporary_, 0));
    if (position > size_ || size > size_ - position)
        throw ESafeFileError(ESafeFileError::TStage::Write, EINVAL, Describe("write beyond the end of", temporary_, 0));
    Flush();
    WriteAll(fd_, static_cast<const char*>(data), size, static_cast<off_t>(position), temporary_);
}

void TSafeFile::Flush()
{
    if (buffer_.empty())
        return;
    std::string pending;
    pending.swap(buffer_);
    WriteAll(fd_, pending.data(), pending.size(), kAtFileOffset, temporary_);
}

void TSafeFile::Commit()
{
    if (committed_)
        return;
    if (fd_ < 0)
        throw ESafeFileError(ESafeFileError::TStage::Write, EBADF, Describe("file is closed:", temporary_, 0));
    Flush();
    if (::fsync(fd_) != 0)
        throw ESafeFileError(ESafeFileError::TStage::Sync, errno, Describe("cannot flush", temporary_, errno));
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw ESafeFileError(ESafeFileError::TStage::Sync, errno, Describe("cannot close", temporary_, errno));
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw ESafeFileError(ESafeFileError::TStage::Rename, errno, Describe("cannot replace", target_, errno));
    committed_ = true;
    SyncFolder(FolderOf(target_));
}

void TSafeFile::Discard()
{
    CloseHandle();
    buffer_.clear();
    if (!committed_ && !temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void TSafeFile::CloseHandle() noexcept
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    TSafeFile file(path);
    file.Write(bytes);
    file.Commit();
}

void SyncFolder(const std::filesystem::path& folder) noexcept
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace Platform
