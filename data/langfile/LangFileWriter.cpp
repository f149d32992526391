#include "data/langfile/LangFileWriter.h"

#include "engine/LittleEndian.h"

#include <limits>

namespace LangFile {

namespace {

constexpr size_t kRecordSize = 56;
constexpr size_t kNameSize = 42;

}  // namespace

std::string WriteLangFile(const std::vector<TLangBlock>& blocks)
{
    std::string file;
    PutInt32(file, static_cast<std::int32_t>(blocks.size()) - 1);
    size_t offset = 4 + kRecordSize * blocks.size();
    for (const TLangBlock& b : blocks) {
        const size_t length = b.Text.size() * 2;
        if (offset + length > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
            throw ELangSourceError("The interface texts exceed 2 GB");
        std::string record(kRecordSize, '\0');
        record.replace(0, std::min(b.Code.size(), kNameSize), b.Code.substr(0, kNameSize));
        SetUInt16(record.data() + 42, static_cast<std::uint16_t>(b.Id));
        SetInt32(record.data() + 48, static_cast<std::int32_t>(offset));
        SetInt32(record.data() + 52, static_cast<std::int32_t>(length));
        file += record;
        offset += length;
    }
    for (const TLangBlock& b : blocks)
        file += WideToBytes(b.Text);
    return file;
}

std::string BuildLangFile(const TLangSources& sources)
{
    std::vector<std::string> errors = sources.Errors();
    std::vector<TLangBlock> blocks;
    for (const TLanguage& language : Languages()) {
        if (!sources.HasKey(language.Code, u"Name"))
            errors.push_back(language.Code + " has no Name");
        blocks.push_back({language.Code, language.Id, LanguageText(sources.Entries(language.Code))});
    }
    if (!errors.empty()) {
        std::string message;
        for (const std::string& e : errors)
            message += e + "\n";
        throw ELangSourceError(message);
    }
    return WriteLangFile(blocks);
}

}  // namespace LangFile
