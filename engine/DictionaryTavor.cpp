// Reading a maker's dictionary (".TDD") and the user's words of its companion ".TDE".
#include "engine/CompressedText.h"
#include "engine/Dictionary.h"
#include "engine/WideStringList.h"
#include "platform/SafeFile.h"

#include <cstdint>

using namespace Dictionary;

namespace {

// More substitutions than this is a damaged description, not a dictionary.
constexpr std::int32_t kMaxPrechars = 1024;

// Head and table of a user-words file, with its index records.
struct TUserWordsHead {
    TAreaOffsets Offsets;
    TSectionTable Table;
};

std::u16string DecimalKey(std::int32_t k)
{
    const std::string s = std::to_string(k);
    return std::u16string(s.begin(), s.end());
}

TUserWordsHead ReadUserWordsHead(const TDictionaryFile& f)
{
    TUserWordsHead h;
    h.Offsets = DecodeAreaOffsets(f.Read(0, 24));
    TTavorDictionary::ReadSectionTable(f, h.Table);
    return h;
}

}  // namespace

TTavorDictionary::TTavorDictionary(const std::string& fileName)
{
    Create(fileName);
}

void TTavorDictionary::ReadSectionTable(const TDictionaryFile& stream, TSectionTable& table)
{
    table = DecodeSectionTable(stream.Read(kUserWordsTablePos, kTableSize));
}

std::int32_t TTavorDictionary::GetArticleOffset(std::int32_t wordIndex)
{
    if (wordIndex < 0 || static_cast<std::size_t>(wordIndex) >= OffsetTable.size() / 4)
        return -1;
    return GetInt32(OffsetTable.data() + 4 * static_cast<std::size_t>(wordIndex));
}

bool TTavorDictionary::Open(const std::string& baseName)
{
    // Only the file of BaseName counts: a failed switch must not stop a later Open of a file
    // that exists.
    if (!SetFileName(baseName)) {
        ResetFile();
        return false;
    }
    try {
        Family = 0;
        const TAreaOffsets o = DecodeAreaOffsets(FileStream->Read(kHeadOffsetsPos, 24));
        H0 = o.H0;
        H1 = o.H1;
        H2 = o.H2;
        if (H0 < 0 || H0 > FileStream->Size())
            throw EDictionaryFormatError("section table outside the file");
        Sections = DecodeSectionTable(FileStream->Read(H0 + 5, kTableSize));
        if (H1 < 0 || H2 < H1 || H2 > FileStream->Size())
            throw EDictionaryFormatError("article index outside the file");
        const std::int64_t n = (H2 - H1) / 4;  // the words plus the end marker
        if (n < 1)
            throw EDictionaryFormatError("article index without its end marker");
        OffsetTable = FileStream->Read(H1 + 5, (n - 1) * 4);
        GetAlphabetText(AlphabetText);
        LetterGroupCount = LoadPredefChars();
        return true;
    } catch (const std::exception&) {
        ResetFile();
        return false;
    }
}

std::int32_t TTavorDictionary::LoadPredefChars()
{
    LetterGroups.clear();
    Prechars.clear();
    std::u16string description;
    GetDescription(description);
    TWideStringList list;
    list.SetTextStr(description);

    std::int32_t n = -1;
    if (list.IndexOfName(u"CHARS") >= 0) {
        if (!ParseInteger(list.GetValue(u"CHARS"), n))
            throw EDictionaryFormatError("CHARS is not a number");
        // Group k belongs to letter section k: more than 48 groups cannot be.
        if (n >= kLetterSections)
            throw EDictionaryFormatError("too many letter groups");
        for (std::int32_t k = 0; k <= n; ++k)
            LetterGroups.push_back(list.GetValue(DecimalKey(k)));
    }
    std::int32_t m = -1;
    if (list.IndexOfName(u"PRECHARS") >= 0 && !ParseInteger(list.GetValue(u"PRECHARS"), m))
        throw EDictionaryFormatError("PRECHARS is not a number");
    if (m >= kMaxPrechars)
        throw EDictionaryFormatError("too many substitutions");
    HasPrechars = m >= 0;
    for (std::int32_t i = 0; i <= m; ++i) {
        TPredefChar p;
        p.Text = list.GetValue(PrecharsTextKey(i));
        const std::u16string letter = list.GetValue(PrecharsLetterKey(i));
        p.Letter = letter.empty() ? u'\0' : letter[0];
        Prechars.push_back(std::move(p));
    }
    return n < 0 ? -1 : n;
}

std::int32_t TTavorDictionary::ResolveSection(char16_t letter, bool first, char16_t& current)
{
    if (first) {
        current = Sections[0].Letter;
        return 0;
    }
    char16_t l = UpCaseLetter(letter);
    if (HasPrechars && Prechars.empty())
        LoadPredefChars();
    // Every substitution is consulted; the first that holds the typed letter wins.
    bool substituted = false;
    for (const TPredefChar& p : Prechars) {
        const bool match = LetterGroupCount < 0 ? p.Text.size() == 1 && p.Text[0] == letter
                                                : p.Text.find(letter) != std::u16string::npos;
        if (match) {
            l = p.Letter;
            substituted = true;
            break;
        }
    }
    std::int32_t section = kNotFound;
    if (LetterGroupCount < 0) {
        section = FindLetterSection(Sections, l);
    } else {
        section = LetterGroupCount + 1;  // the section after the last group takes the rest
        for (std::int32_t k = 0; k <= LetterGroupCount && k < static_cast<std::int32_t>(LetterGroups.size()); ++k)
            if (LetterGroups[k].find(l) != std::u16string::npos) {
                section = k;
                break;
            }
        if (section >= kLetterSections)
            section = kNotFound;
    }
    if (substituted)
        current = l;
    else if (section != kNotFound)
        current = Sections[section].Letter;
    return section;
}

void TTavorDictionary::GetLetterWords(char16_t letter, bool first, std::u16string& words, bool userWords)
{
    if (userWords) {
        GetUserLetterWords(letter, words);
        return;
    }
    try {
        char16_t current = CurrentLetter;
        const std::int32_t section = ResolveSection(letter, first, current);
        if (section == kNotFound) {
            words.clear();
            return;
        }
        CurrentLetter = current;
        ReadSectionText(Sections[section], H0 + 13, words);
        if (!words.empty())
            CurrentSection = section;
    } catch (const std::exception&) {
        words.clear();
        CurrentLetter = u' ';
    }
}

void TTavorDictionary::GetArticle(std::int32_t index, bool decompress, std::string& article, bool userWords,
                                  bool absolute)
{
    if (userWords) {
        GetUserArticle(index, article);
        return;
    }
    article.clear();
    try {
        const std::int32_t offset = ArticleOffsetOf(index, absolute);
        if (offset < 0)
            return;
        const std::int64_t pos = H2 + 5 + offset;
        const std::int32_t length = FileStream->ReadInt32(pos);
        std::string bytes = FileStream->Read(pos + 4, length);
        article = decompress ? DecompressText(bytes) : std::move(bytes);
    } catch (const std::exception&) {
        article.clear();
    }
}

void TTavorDictionary::FindArticle(const std::u16string& word, std::string& article)
{
    article.clear();
    if (word.empty() || !FileStream)
        return;
    try {
        char16_t current = CurrentLetter;
        const std::int32_t section = ResolveSection(word[0], false, current);
        if (section == kNotFound)
            return;
        TWideStringList list;
        list.SetTextStr(ReadSectionText(Sections[section], H0 + 13));
        const int at = list.IndexOf(word);
        if (at < 0)
            return;
        GetArticle(Sections[section].FirstWordIndex + at, true, article, false, true);
    } catch (const std::exception&) {
        article.clear();
    }
}

std::string TTavorDictionary::UserWordsFileName(bool temporary) const
{
    return BaseName() + (temporary ? "Temp.TDE" : ".TDE");
}

void TTavorDictionary::GetUserLetterWords(char16_t letter, std::u16string& words)
{
    const std::string name = UserWordsFileName(false);
    if (!FileExists(name))
        return;
    try {
        TDictionaryFile f(name);
        const TUserWordsHead h = ReadUserWordsHead(f);
        const char16_t l = UpCaseLetter(letter);
        std::int32_t i = kDescriptionSection;
        for (std::int32_t k = 0; k <= kInfoSection; ++k)
            if (h.Table[k].Letter == l) {
                i = k;
                break;
            }
        UserSection = i;
        words.clear();
        if (i < kLetterSections)
            words = BytesToWide(f.Read(h.Table[i].Offset, h.Table[i].Length));
    } catch (const std::exception&) {
        words.clear();
        UserSection = kDescriptionSection;
        CurrentLetter = u' ';
    }
}

void TTavorDictionary::GetUserArticle(std::int32_t indexInSection, std::string& article)
{
    article.clear();
    const std::string name = UserWordsFileName(false);
    if (!FileExists(name) || UserSection < 0 || UserSection >= kLetterSections)
        return;
    try {
        TDictionaryFile f(name);
        const TUserWordsHead h = ReadUserWordsHead(f);
        if (f.Size() <= kUserWordsHeadSize)
            return;
        if (indexInSection < 0 || indexInSection >= h.Table[UserSection].WordCount)
            return;  // never another section's article
        const std::int64_t k = static_cast<std::int64_t>(h.Table[UserSection].FirstWordIndex) + indexInSection;
        const std::int64_t count = (f.Size() - h.Offsets.H1) / static_cast<std::int64_t>(kIndexRecordSize);
        if (h.Offsets.H1 < 0 || h.Offsets.H1 > f.Size() || k < 0 || k >= count)
            return;
        const std::vector<TIndexRecord> r = DecodeIndexRecords(
            f.Read(h.Offsets.H1 + k * static_cast<std::int64_t>(kIndexRecordSize), kIndexRecordSize));
        article = f.Read(r[0].Offset, r[0].Length);
    } catch (const std::exception&) {
        article.clear();
    }
}

void TTavorDictionary::SaveUserWords(const std::string& fileName)
{
    TDictionaryFile source(UserWordsFileName(false));
    Platform::WriteFileAtomically(fileName, source.ReadAll());
}
