#include "engine/DictionaryRecord.h"

#include <bit>
#include <cstring>
#include <utility>

namespace {

template <typename T>
T FromLittleEndian(T value)
{
    if constexpr (std::endian::native == std::endian::big) {
        unsigned char b[sizeof(T)];
        std::memcpy(b, &value, sizeof(T));
        for (std::size_t i = 0; i < sizeof(T) / 2; ++i)
            std::swap(b[i], b[sizeof(T) - 1 - i]);
        std::memcpy(&value, b, sizeof(T));
    }
    return value;
}

} // namespace

TDictionaryRecord TDictionaryRecord::FromBytes(const char* bytes)
{
    TDictionaryRecord record;
    std::memcpy(static_cast<void*>(&record), bytes, Size);
    record.Id = FromLittleEndian(record.Id);
    record.Number = FromLittleEndian(record.Number);
    return record;
}

void TDictionaryRecord::ToBytes(char* bytes) const
{
    TDictionaryRecord copy = *this;
    copy.Id = FromLittleEndian(copy.Id);
    copy.Number = FromLittleEndian(copy.Number);
    std::memcpy(bytes, static_cast<const void*>(&copy), Size);
}
