#include "engine/NISOManager.h"

#include "engine/LittleEndian.h"

#include <cerrno>
#include <cstring>
#include <fstream>

TNISOManager::TNISOManager(const std::string& FileName)
{
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        throw ELanguageTableError("Cannot open file \"" + FileName + "\". " + std::strerror(errno));

    char bytes[RecordCount * TLanguageRecord::Size];
    in.read(bytes, sizeof bytes);
    if (in.gcount() != static_cast<std::streamsize>(sizeof bytes))
        throw ELanguageTableError("Stream read error: \"" + FileName + "\" is shorter than the language table.");

    Languages.resize(RecordCount);
    for (int i = 0; i < RecordCount; ++i) {
        const char* p = bytes + i * TLanguageRecord::Size;
        TLanguageRecord& record = Languages[i];
        record.LanguageId = static_cast<std::int16_t>(GetUInt16(p));
        std::memcpy(static_cast<void*>(&record.CodeA), p + 2, sizeof record.CodeA);
        std::memcpy(static_cast<void*>(&record.CodeB), p + 6, sizeof record.CodeB);
        std::memcpy(static_cast<void*>(&record.LanguageName), p + 10, sizeof record.LanguageName);
    }
}

std::string TNISOManager::GetLanguageText(std::int16_t LanguageId, std::uint8_t Kind) const
{
    for (const TLanguageRecord& record : Languages) {
        if (record.LanguageId != LanguageId)
            continue;
        switch (Kind) {
        case 0:
            return std::to_string(record.LanguageId);
        case 1:
            return record.CodeA.Str();
        case 2:
            return record.CodeB.Str();
        case 3:
            return record.LanguageName.Str();
        default:
            return {};
        }
    }
    return {};
}

std::int16_t TNISOManager::FindLanguageId(const std::string& Text, std::uint8_t Kind) const
{
    if (Kind < 1 || Kind > 3)
        return -1;
    for (const TLanguageRecord& record : Languages) {
        const std::string field = Kind == 1 ? record.CodeA.Str()
            : Kind == 2                     ? record.CodeB.Str()
                                            : record.LanguageName.Str();
        if (field == Text)
            return record.LanguageId;
    }
    return -1;
}

std::string TNISOManager::GetLanguageNames() const
{
    std::string text;
    for (const TLanguageRecord& record : Languages)
        text += record.LanguageName.Str() + "\r\n";
    return text;
}
