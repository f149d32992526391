#include "engine/DictionaryIO.h"

#include "engine/DictionaryFormat.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Dictionary {

TDictionaryFile::TDictionaryFile(const std::string& path)
    : path_(path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw EDictionaryIOError(errno, "cannot open \"" + path + "\": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        int err = errno;
        ::close(fd_);
        fd_ = -1;
        throw EDictionaryIOError(err, "\"" + path + "\" is not a regular file");
    }
    size_ = st.st_size;
}

TDictionaryFile::~TDictionaryFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void TDictionaryFile::CheckRange(std::int64_t position, std::int64_t length) const
{
    if (position < 0 || length < 0 || position > size_ || length > size_ - position)
        throw EDictionaryFormatError("read outside the file \"" + path_ + "\"");
}

std::string TDictionaryFile::Read(std::int64_t position, std::int64_t length) const
{
    CheckRange(position, length);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ReadInto(position, length, bytes.data());
    return bytes;
}

void TDictionaryFile::ReadInto(std::int64_t position, std::int64_t length, char* dest) const
{
    CheckRange(position, length);
    const auto size = static_cast<std::size_t>(length);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(fd_, dest + done, size - done, static_cast<off_t>(position + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EDictionaryIOError(errno, "cannot read \"" + path_ + "\": " + std::strerror(errno));
        }
        if (n == 0)  // the file shrank under us
            throw EDictionaryFormatError("read outside the file \"" + path_ + "\"");
        done += static_cast<std::size_t>(n);
    }
}

std::int32_t TDictionaryFile::ReadInt32(std::int64_t position) const
{
    return GetInt32(Read(position, 4).data());
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace Dictionary
