// A dictionary's pronunciations: per letter block n (counted from 0) the index file
// "<n+1>.idx", an array of 24-byte records (a word number, the offset and the length of the
// word's sound, little-endian signed 64-bit), and the data file "<n+1>.snd" of MPEG audio.
// Records and slices are checked against the real files: a damaged index never leads to a
// read outside a file nor to an allocation of the length it claims.
#pragma once

#include <cstdint>
#include <string>

namespace SoundFiles {

constexpr std::int64_t kRecordSize = 24;
// The longest sound of one word that is read (a spoken word is a few kilobytes).
constexpr std::int64_t kMaxSliceLength = 16 * 1024 * 1024;

struct TSoundIndexRecord {
    std::int64_t Reserved = 0;  // the word's number; not used
    std::int64_t Offset = 0;
    std::int64_t Length = 0;  // 0: the word has no sound
};

// "<folder><block + 1><extension>"; Folder ends with "/"; Extension ".idx" or ".snd".
std::string SoundFileName(const std::string& folder, std::int32_t block, const char* extension);

// Record Index of IndexFile. False (Record zeroed) when the file cannot be read or holds no
// whole record at that place.
bool ReadSoundIndexRecord(const std::string& indexFile, std::int32_t index, TSoundIndexRecord& record);

enum class TSliceResult {
    Ok,
    NoFile,     // the data file is missing or cannot be opened
    OutOfFile,  // the slice is empty, negative, too long or does not lie inside the file
    ReadError,  // the file ended or failed while it was read
};

// The bytes [Offset, Offset + Length) of DataFile.
TSliceResult ReadSoundSlice(const std::string& dataFile, std::int64_t offset, std::int64_t length, std::string& bytes);

// An in-memory sound served to the player: reads and seeks of one playback thread.
class TSoundStream {
public:
    explicit TSoundStream(std::string data)
        : data_(std::move(data))
    {
    }
    // Copies up to Count bytes into Buffer; the number copied.
    std::int32_t Read(void* buffer, std::int32_t count);
    // Origin 0 start, 1 current, 2 end; the new position, or -1 (position kept) outside the data.
    std::int64_t Seek(std::int64_t offset, std::int32_t origin);
    std::int64_t Size() const { return static_cast<std::int64_t>(data_.size()); }
    std::int64_t Position() const { return position_; }

private:
    std::string data_;
    std::int64_t position_ = 0;
};

}  // namespace SoundFiles
