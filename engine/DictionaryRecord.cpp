#include "engine/DictionaryRecord.h"

#include "engine/LittleEndian.h"

#include <cstring>

TDictionaryRecord TDictionaryRecord::FromBytes(const char* bytes)
{
    TDictionaryRecord record;
    std::memcpy(static_cast<void*>(&record), bytes, Size);
    record.Id = GetInt32(bytes + offsetof(TDictionaryRecord, Id));
    record.Number = static_cast<std::int16_t>(GetUInt16(bytes + offsetof(TDictionaryRecord, Number)));
    return record;
}

void TDictionaryRecord::ToBytes(char* bytes) const
{
    std::memcpy(bytes, static_cast<const void*>(this), Size);
    SetInt32(bytes + offsetof(TDictionaryRecord, Id), Id);
    SetUInt16(bytes + offsetof(TDictionaryRecord, Number), static_cast<std::uint16_t>(Number));
}
