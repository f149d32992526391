#include "engine/SoundIndex.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace SoundFiles {

namespace {

std::int64_t Int64At(const char* bytes)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes[i]);
    return static_cast<std::int64_t>(v);
}

// The size of an open file, or -1.
std::int64_t FileSize(std::ifstream& f)
{
    f.seekg(0, std::ios::end);
    const std::streamoff end = f.tellg();
    if (!f || end < 0)
        return -1;
    return static_cast<std::int64_t>(end);
}

}  // namespace

std::string SoundFileName(const std::string& folder, std::int32_t block, const char* extension)
{
    return folder + std::to_string(static_cast<std::int64_t>(block) + 1) + extension;
}

bool ReadSoundIndexRecord(const std::string& indexFile, std::int32_t index, TSoundIndexRecord& record)
{
    record = {};
    if (index < 0)
        return false;
    std::ifstream f(indexFile, std::ios::binary);
    if (!f)
        return false;
    const std::int64_t size = FileSize(f);
    const std::int64_t at = static_cast<std::int64_t>(index) * kRecordSize;
    if (size < 0 || at > size - kRecordSize)
        return false;
    char bytes[kRecordSize];
    f.seekg(at);
    if (!f.read(bytes, kRecordSize))
        return false;
    record.Reserved = Int64At(bytes);
    record.Offset = Int64At(bytes + 8);
    record.Length = Int64At(bytes + 16);
    return true;
}

TSliceResult ReadSoundSlice(const std::string& dataFile, std::int64_t offset, std::int64_t length, std::string& bytes)
{
    bytes.clear();
    std::ifstream f(dataFile, std::ios::binary);
    if (!f)
        return TSliceResult::NoFile;
    const std::int64_t size = FileSize(f);
    if (size < 0)
        return TSliceResult::ReadError;
    // Compared without adding, so that no claimed value can overflow.
    if (offset < 0 || length <= 0 || length > kMaxSliceLength || offset > size || length > size - offset)
        return TSliceResult::OutOfFile;
    bytes.resize(static_cast<std::size_t>(length));
    f.seekg(offset);
    if (!f.read(bytes.data(), static_cast<std::streamsize>(length))) {
        bytes.clear();
        return TSliceResult::ReadError;
    }
    return TSliceResult::Ok;
}

std::int32_t TSoundStream::Read(void* buffer, std::int32_t count)
{
    if (count <= 0 || buffer == nullptr || position_ >= Size())
        return 0;
    const std::int64_t n = std::min<std::int64_t>(count, Size() - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return static_cast<std::int32_t>(n);
}

std::int64_t TSoundStream::Seek(std::int64_t offset, std::int32_t origin)
{
    std::int64_t base = 0;
    if (origin == 1)
        base = position_;
    else if (origin == 2)
        base = Size();
    else if (origin != 0)
        return -1;
    if (offset < -base || offset > Size() - base)
        return -1;
    position_ = base + offset;
    return position_;
}

}  // namespace SoundFiles
