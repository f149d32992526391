// Reading a user dictionary (".UDD") and the null dictionary.
#include "engine/CompressedText.h"
#include "engine/Dictionary.h"
#include "platform/SafeFile.h"

#include <cstdint>

using namespace Dictionary;

TUserDictionary::TUserDictionary(const std::string& fileName)
{
    Create(fileName);
}

TUnknownDictionary::TUnknownDictionary(const std::string& fileName)
{
    FileName = fileName + ".TDD";  // the name the class would have; nothing is opened
}

std::int32_t TUserDictionary::GetArticleOffset(std::int32_t wordIndex)
{
    ArticleLength = 0;
    if (wordIndex < 0 || static_cast<std::size_t>(wordIndex) >= OffsetTable.size() / kIndexRecordSize)
        return -1;
    const char* p = OffsetTable.data() + kIndexRecordSize * static_cast<std::size_t>(wordIndex);
    ArticleLength = GetInt32(p + 8);  // the low 32 bits of each int64
    return GetInt32(p);
}

bool TUserDictionary::Open(const std::string& baseName)
{
    SetFileName(baseName);
    try {
        if (!FileStream)
            throw EDictionaryFormatError("no open dictionary file");
        Family = 2;
        const TAreaOffsets o = DecodeAreaOffsets(FileStream->Read(kHeadOffsetsPos, 24));
        H0 = o.H0;
        H1 = o.H1;
        H2 = o.H2;
        Sections = DecodeSectionTable(FileStream->Read(kTablePos, kTableSize));
        if (H1 < 0 || H1 > FileStream->Size())
            throw EDictionaryFormatError("article index outside the file");
        const std::int64_t n = (FileStream->Size() - H1) / static_cast<std::int64_t>(kIndexRecordSize);
        OffsetTable = FileStream->Read(H1, n * static_cast<std::int64_t>(kIndexRecordSize));
        GetAlphabetText(AlphabetText);
        return true;
    } catch (const std::exception&) {
        ResetFile();
        return false;
    }
}

void TUserDictionary::GetLetterWords(char16_t letter, bool first, std::u16string& words, bool)
{
    try {
        std::int32_t section = 0;
        if (first) {
            CurrentLetter = Sections[0].Letter;
        } else {
            section = FindLetterSection(Sections, UpCaseLetter(letter));
            if (section == kNotFound) {
                words.clear();
                return;
            }
            CurrentLetter = Sections[section].Letter;
        }
        ReadSectionText(Sections[section], 0, words);
        if (!words.empty())
            CurrentSection = section;
    } catch (const std::exception&) {
        words.clear();
        CurrentLetter = u' ';
    }
}

void TUserDictionary::GetDescription(std::u16string& text)
{
    text.clear();
    if (FileStream)
        text = ReadSectionText(Sections[kDescriptionSection], 0);
}

void TUserDictionary::GetArticle(std::int32_t index, bool decompress, std::string& article, bool, bool absolute)
{
    article.clear();
    try {
        const std::int32_t offset = ArticleOffsetOf(index, absolute);
        if (offset < 0)
            return;
        std::string bytes = FileStream->Read(offset, ArticleLength);
        article = decompress ? DecompressText(bytes) : std::move(bytes);
    } catch (const std::exception&) {
        article.clear();
    }
}

void TUserDictionary::FindArticle(const std::u16string&, std::string& article)
{
    article.clear();
}

void TUserDictionary::SaveUserWords(const std::string& fileName)
{
    TDictionaryFile source(FileName);
    Platform::WriteFileAtomically(fileName, source.ReadAll());
}

void TUserDictionary::CommitRewrite()
{
    FileStream.reset();
    opened_ = Open(BaseName());
}
