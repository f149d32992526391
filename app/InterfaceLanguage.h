// The interface-language file "LangItf.lng": a directory of 56-byte language records and the
// UTF-16LE key=value text block of each language.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TWideStrings;

struct TInterfaceLanguage {
    std::int16_t Id = 0;
    std::u16string Name;  // the value of the block's key "Name"
};

// Replaces Strings by the text block of language Id; false (Strings unchanged) when the file
// is missing or no record has the id. A damaged file (a count, offset or length outside it)
// throws EReadError; the file is closed on every path.
bool LoadInterfaceLanguage(const std::string& langFile, std::int16_t id, TWideStrings& strings);

// Every language of the file in record order, for the settings window; damaged records are
// left out.
std::vector<TInterfaceLanguage> ListInterfaceLanguages(const std::string& langFile);
