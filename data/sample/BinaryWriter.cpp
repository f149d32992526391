#include "data/sample/BinaryWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace SampleData {

void PutShortString(std::string& out, std::string_view text, std::size_t maxLength)
{
    if (text.size() > maxLength || maxLength > 255)
        throw std::length_error("short string longer than " + std::to_string(maxLength) + ": " +
                                std::string(text));
    PutU8(out, static_cast<std::uint8_t>(text.size()));
    out.append(text);
    out.append(maxLength - text.size(), '\0');
}

std::string Utf16LEBytes(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text)
        PutLE(out, c, 2);
    return out;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::string temp = path + ".tmp";
    auto fail = [&](const char* what) {
        const std::string reason = std::strerror(errno);
        ::unlink(temp.c_str());
        throw std::runtime_error(std::string(what) + " " + path + ": " + reason);
    };
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("cannot create");
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            fail("cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        ::close(fd);
        fail("cannot flush");
    }
    if (::close(fd) != 0)
        fail("cannot close");
    if (::rename(temp.c_str(), path.c_str()) != 0)
        fail("cannot rename onto");
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad())
        throw std::runtime_error("cannot read " + path);
    return std::move(buf).str();
}

} // namespace SampleData
