// Loading and saving wide-string lists through files.
#include "engine/WideStringList.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string OSErrorMessage(int code)
{
    if (code == 0)
        return "A call to an OS function failed";
    return "System Error.  Code: " + std::to_string(code) + ".\r\n" + std::strerror(code);
}

class TFileHandle {
public:
    explicit TFileHandle(int fd) : fd_(fd) {}
    ~TFileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Get() const { return fd_; }
    int Release()
    {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

struct TOSFailure {
    int code;
};

std::string ReadWholeFile(const std::string& fileName)
{
    TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        throw TOSFailure{errno};
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw TOSFailure{errno};
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

void TWideStrings::LoadFromFile(const std::string& fileName)
{
    // The whole file is read before the list changes, so a failed read leaves it as it was.
    int code = 0;
    try {
        std::string bytes;
        try {
            bytes = ReadWholeFile(fileName);
        } catch (const TOSFailure& failure) {
            code = failure.code;
            throw;
        }
        LoadFromBytes(bytes);
    } catch (...) {
        throw EOSError(code, OSErrorMessage(code));
    }
}

void TWideStrings::SaveToFile(const std::string& fileName)
{
    std::ostringstream data;
    SaveToStream(data);
    if (!saveDone_)
        return; // nothing to write: the file stays as it was

    // The new text goes to a temporary file in the same folder, which then replaces the old one.
    static std::atomic<unsigned> serial{0};
    const std::string temp = fileName + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    auto createError = [&](int code) {
        return EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(code));
    };
    TFileHandle file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        throw createError(errno);
    struct stat old {};
    if (::stat(fileName.c_str(), &old) == 0)
        (void)::fchmod(file.Get(), old.st_mode & 07777);
    const std::string bytes = data.str();
    if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        saveDone_ = false;
        throw EWriteError("Stream write error: " + std::string(std::strerror(code)));
    }
    if (::close(file.Release()) != 0 || ::rename(temp.c_str(), fileName.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        saveDone_ = false;
        throw createError(code);
    }
}
