// Converts a FreeDict dictd database into the content of a maker's dictionary: words grouped
// by display headword, sorted per letter section, RTF articles, description and information
// block.
#pragma once

#include "data/sample/DictdReader.h"
#include "data/sample/LanguageTable.h"
#include "data/sample/Sectioning.h"
#include "engine/DictionaryFormat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SampleData {

struct TConvertedSection {
    char16_t Letter = 0;
    std::vector<std::u16string> Words;           // sorted
    std::vector<std::string> Articles;           // RTF, one per word
    std::vector<std::u16string> Pronunciations;  // IPA of the word's first sense, may be empty
};

struct TConvertedDictionary {
    std::vector<TConvertedSection> Sections;   // letter sections in entry order
    Dictionary::TDescriptionData Description;  // section 49
    int Edition = 2;                           // section 45: 0 talking, 2 free
    Dictionary::TDictionaryInfo Info;          // section 48
    std::size_t EntryCount = 0;                // FreeDict entries read
    std::size_t WordCount = 0;
};

struct TConvertOptions {
    std::string SourceCode;  // CodeA of the language table, e.g. "ENG"
    std::string TargetCode;  // e.g. "GER"
    std::string FileName;    // dictionary file name without folder and extension
    std::string Name;        // dictionary name
    std::string Publisher = "FreeDict";
    int Number = 1;
    bool HasSounds = false;  // edition 0 and the "Sounds" field; else edition 2
    std::string Date;        // creation date text of the information block
    int CodePage = 1252;     // \ansicpg of the articles
};

TConvertedDictionary ConvertFreedict(const TDictdDatabase& db, const TConvertOptions& options);

// The information block: number, date, name, publisher, shell tag "@X1", kind
// "TavorLanguage", the language pair, the file name and "Sounds" when it has them.
Dictionary::TDictionaryInfo MakeInfo(const TConvertOptions& options);

}  // namespace SampleData
