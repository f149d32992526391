#include "engine/CompressedText.h"
#include "engine/Dictionary.h"
#include "engine/WideStringList.h"
#include "engine/WideText.h"

#include <cstdint>

using namespace Dictionary;

TDictionaryKind DictKindFromInt(int value)
{
    return value >= 0 && value <= 3 ? static_cast<TDictionaryKind>(value) : TDictionaryKind::Unknown;
}

TDictionaryKind DictKindFromByte(std::uint8_t value)
{
    return DictKindFromInt(value & 0x7F);
}

char16_t UpCaseLetter(char16_t letter)
{
    return WideUpperChar(letter);
}

std::unique_ptr<TBaseDictionary> CreateDictionary(TDictionaryKind kind, const std::string& fileName)
{
    switch (kind) {
    case TDictionaryKind::TavorLanguage:
    case TDictionaryKind::TavorGeneral:
        return std::make_unique<TTavorDictionary>(fileName);
    case TDictionaryKind::Language:
    case TDictionaryKind::General:
        return std::make_unique<TUserDictionary>(fileName);
    default:
        return std::make_unique<TUnknownDictionary>(fileName);
    }
}

TBaseDictionary::~TBaseDictionary() = default;

void TBaseDictionary::Create(const std::string& fileName)
{
    SetFileName(fileName);
    opened_ = Open(fileName);
    Prechars.clear();
}

bool TBaseDictionary::SetFileName(const std::string& baseName)
{
    const std::string old = FileName;
    const std::uint8_t kind = KindOfClass();
    FileName = baseName + (kind == 2 ? ".UDD" : ".TDD");
    if (FileName == old && FileStream)
        return true;
    FileStream.reset();
    if (!FileExists(FileName))
        return false;
    try {
        FileStream = std::make_unique<TDictionaryFile>(FileName);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::uint8_t TBaseDictionary::KindOfClass() const
{
    return dynamic_cast<const TUserDictionary*>(this) ? 2 : 0;
}

void TBaseDictionary::ResetFile()
{
    FileStream.reset();
    OffsetTable.clear();
    OffsetTable.shrink_to_fit();
    Sections = {};
    H0 = H1 = H2 = 0;
    AlphabetText.clear();
    LetterGroups.clear();
    Prechars.clear();
    LetterGroupCount = -1;
    HasPrechars = false;
}

std::u16string TBaseDictionary::ReadSectionText(const TSectionEntry& e, std::int64_t base) const
{
    std::u16string text;
    ReadSectionText(e, base, text);
    return text;
}

void TBaseDictionary::ReadSectionText(const TSectionEntry& e, std::int64_t base, std::u16string& text) const
{
    if (!FileStream)
        throw EDictionaryFormatError("no open dictionary file");
    // The length is checked against the file before any memory is taken for it.
    FileStream->CheckRange(base + e.Offset, e.Length);
    text.resize(static_cast<std::size_t>(e.Length) / 2);  // an odd last byte is no part of the text
    FileStream->ReadInto(base + e.Offset, static_cast<std::int64_t>(2 * text.size()),
                         reinterpret_cast<char*>(text.data()));
    WideFromLittleEndian(text.data(), text.size());
}

std::int32_t TBaseDictionary::FindLetterSection(const TSectionTable& table, char16_t l)
{
    for (std::int32_t i = 0; i < kLetterSections; ++i)
        if (table[i].Letter == l)
            return i;
    return kNotFound;
}

std::int32_t TBaseDictionary::ArticleOffsetOf(std::int32_t index, bool absolute)
{
    std::int64_t k = index;
    if (!absolute)
        k += Sections[CurrentSection].FirstWordIndex;
    if (k < 0 || k > INT32_MAX || !FileStream)
        return -1;
    return GetArticleOffset(static_cast<std::int32_t>(k));
}

std::int32_t TBaseDictionary::AbsoluteWordIndex(std::int32_t indexInSection)
{
    const std::int64_t k = static_cast<std::int64_t>(indexInSection) + Sections[CurrentSection].FirstWordIndex;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(k));
}

std::string TBaseDictionary::BaseName() const
{
    return FileName.size() >= 4 ? FileName.substr(0, FileName.size() - 4) : FileName;
}

void TBaseDictionary::GetDescription(std::u16string& text)
{
    text.clear();
    if (FileStream)
        text = ReadSectionText(Sections[kDescriptionSection], H0 + 13);
}

void TBaseDictionary::GetAlphabetText(std::u16string& text)
{
    std::u16string description;
    GetDescription(description);
    TWideStringList lines;
    lines.SetTextStr(description);
    text = lines.Count() > 2 ? lines.Get(2) : std::u16string();
}

bool TBaseDictionary::IsAlphabetLetter(const std::u16string& word) const
{
    if (word.empty())
        return false;
    return AlphabetText.find(UpCaseLetter(word[0])) != std::u16string::npos;
}

std::int32_t TBaseDictionary::SectionOfWordIndex(std::int32_t wordIndex) const
{
    for (std::int32_t i = 0; i <= kInfoSection; ++i) {
        const std::int64_t first = Sections[i].FirstWordIndex;
        if (first <= wordIndex && wordIndex < first + Sections[i].WordCount)
            return i;
    }
    return -1;
}

void TBaseDictionary::ReadInfoBlock(std::string& text)
{
    if (!FileStream)
        throw EDictionaryFormatError("no open dictionary file");
    const TSectionEntry& e = Sections[kInfoSection];
    const std::int64_t base = Family == 0 ? kMakerDataBase : 0;
    text = DecompressText(FileStream->Read(base + e.Offset, e.Length));
}

std::uint8_t TBaseDictionary::GetDictionaryKind()
{
    const TSectionEntry& e = Sections[kEditionSection];
    // A number never needs more than a few characters; longer data is no edition.
    if (!FileStream || e.Length < 0 || e.Length > 64)
        return 5;
    try {
        return EditionFromText(ReadSectionText(e, H0 + 13));
    } catch (const std::exception&) {
        return 5;
    }
}
