// Loading and saving wide-string lists through files.
#include "engine/WideStringList.h"

#include "platform/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>

#include <fcntl.h>
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
    try {
        Platform::WriteFileAtomically(fileName, data.str());
    } catch (const Platform::ESafeFileError& e) {
        saveDone_ = false;
        if (e.Stage() == Platform::ESafeFileError::TStage::Create)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(e.ErrorCode()));
        throw EWriteError(std::string("Stream write error: ") + e.what());
    }
}
