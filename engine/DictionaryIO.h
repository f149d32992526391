// A read-only dictionary file: positioned reads that never go outside the file.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace Dictionary {

// The operating system refused a read (an input/output error).
class EDictionaryIOError : public std::runtime_error {
public:
    EDictionaryIOError(int errorCode, const std::string& message)
        : std::runtime_error(message),
          ErrorCode(errorCode)
    {
    }
    int ErrorCode;
};

class TDictionaryFile {
public:
    // Opens Path read-only; throws EDictionaryIOError when it cannot be opened.
    explicit TDictionaryFile(const std::string& path);
    ~TDictionaryFile();
    TDictionaryFile(const TDictionaryFile&) = delete;
    TDictionaryFile& operator=(const TDictionaryFile&) = delete;

    std::int64_t Size() const { return size_; }
    // Length bytes at Position; throws EDictionaryFormatError when the range is not inside
    // the file (a negative position or length included).
    std::string Read(std::int64_t position, std::int64_t length) const;
    // Length bytes at Position into Dest, which has room for them; throws as Read does.
    void ReadInto(std::int64_t position, std::int64_t length, char* dest) const;
    // Throws EDictionaryFormatError unless the range lies inside the file.
    void CheckRange(std::int64_t position, std::int64_t length) const;
    std::int32_t ReadInt32(std::int64_t position) const;
    // The whole file.
    std::string ReadAll() const { return Read(0, size_); }

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
    std::string path_;
};

bool FileExists(const std::string& path);

}  // namespace Dictionary
