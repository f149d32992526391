// One installed dictionary in the catalogue "DICTIONARYS.DNT": a 540-byte record whose
// in-memory layout is the file layout (integers little-endian in the file).
#pragma once

#include "engine/ShortString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TDictionaryRecord {
    std::int32_t Id = 0;      // position in the catalogue
    TShortString<5> Version;  // information-block field 0
    TShortString<3> SourceCode;
    TShortString<3> TargetCode;
    std::int16_t Number = 0;  // information-block field 2
    TShortString<100> Name;
    std::uint8_t Kind = 0;       // 0 TavorLanguage, 1 TavorGeneral, 2 Language, 3 General
    std::uint8_t Enabled = 0;    // 1 = shown in the choosers
    std::uint8_t ShellFlag = 0;  // 1 when the shell tag is "@X1"
    TShortString<48> LanguagePair;
    TShortString<120> Description;
    TShortString<240> DictionaryFile;
    std::uint8_t Sounds = 0;       // 1 when the dictionary has pronunciations
    std::uint8_t SoundSource = 0;  // 0 on the CD, 1 copied to disk, 2 no sounds
    std::uint8_t Reserved[3] = {};

    static constexpr std::size_t Size = 540;

    // Reads a record from Size bytes / writes it into Size bytes (file byte order).
    static TDictionaryRecord FromBytes(const char* bytes);
    void ToBytes(char* bytes) const;
};

static_assert(sizeof(TDictionaryRecord) == TDictionaryRecord::Size);
static_assert(offsetof(TDictionaryRecord, Version) == 4);
static_assert(offsetof(TDictionaryRecord, SourceCode) == 10);
static_assert(offsetof(TDictionaryRecord, TargetCode) == 14);
static_assert(offsetof(TDictionaryRecord, Number) == 18);
static_assert(offsetof(TDictionaryRecord, Name) == 20);
static_assert(offsetof(TDictionaryRecord, Kind) == 121);
static_assert(offsetof(TDictionaryRecord, Enabled) == 122);
static_assert(offsetof(TDictionaryRecord, ShellFlag) == 123);
static_assert(offsetof(TDictionaryRecord, LanguagePair) == 124);
static_assert(offsetof(TDictionaryRecord, Description) == 173);
static_assert(offsetof(TDictionaryRecord, DictionaryFile) == 294);
static_assert(offsetof(TDictionaryRecord, Sounds) == 535);
static_assert(offsetof(TDictionaryRecord, SoundSource) == 536);

using TDictionaryList = std::vector<TDictionaryRecord>;

// A dictionary as the choosers list it.
struct TDescName {
    std::int32_t Id = 0;
    std::string TargetCode;  // at most 3 characters
    std::string Text;        // the language pair (kinds 0 and 2) or the name (kinds 1 and 3)
    std::uint8_t Kind = 0;
};

using DescNames = std::vector<TDescName>;
using DictNames = std::vector<std::string>;  // language codes of at most 3 characters
