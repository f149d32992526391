// Writes the interface-language file: the count of languages minus one, 56-byte language
// records (the three-letter code in the first 42 bytes, the id at 42, the text offset at 48
// and its length in bytes at 52), then the UTF-16LE text blocks.
#pragma once

#include "data/langfile/LangSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace LangFile {

struct TLangBlock {
    std::string Code;
    std::int16_t Id = 0;
    std::u16string Text;
};

// The bytes of a file holding Blocks in this order.
std::string WriteLangFile(const std::vector<TLangBlock>& blocks);

// The bytes of LangItf.lng for the sources: every language of Languages(). Throws
// ELangSourceError listing the sources' errors, or when a language has no "Name".
std::string BuildLangFile(const TLangSources& sources);

}  // namespace LangFile
