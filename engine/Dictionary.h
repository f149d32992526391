// The dictionary classes: the abstract TBaseDictionary, the maker's TTavorDictionary (".TDD",
// with the user's words in a companion ".TDE"), the user's TUserDictionary (".UDD") and the
// null object TUnknownDictionary. Reads never leave the file; a damaged file gives empty results.
#pragma once

#include "engine/DictionaryFormat.h"
#include "engine/DictionaryIO.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Dictionary kind, one byte in the catalogue and the settings.
enum class TDictionaryKind : std::uint8_t {
    TavorLanguage = 0,
    TavorGeneral = 1,
    Language = 2,
    General = 3,
    Unknown = 4,
};

// 0..3 as they are, every other value Unknown.
TDictionaryKind DictKindFromInt(int value);
// The low 7 bits of the byte: 0..3 as they are, every other value Unknown.
TDictionaryKind DictKindFromByte(std::uint8_t value);

// The upper-case form of a letter, as the lookups use it.
char16_t UpCaseLetter(char16_t letter);

// Results of AddWord, DeleteWord and EditWord.
using AddWordResult = std::int16_t;
namespace WordResult {
constexpr AddWordResult Done = 0;
constexpr AddWordResult SectionsFull = 1;  // all 48 sections of the user-words file in use
constexpr AddWordResult InOutError = 2;
constexpr AddWordResult WriteError = 3;
constexpr AddWordResult OtherFailure = 4;
constexpr AddWordResult WordExists = 9;
constexpr AddWordResult WrongLanguage = 10;
}  // namespace WordResult

class EWordExist : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EWrongLanguage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TPredefChar {
    std::u16string Text;  // the letters to be replaced
    char16_t Letter = 0;  // the replacement letter
};
using TPredefChars = std::vector<TPredefChar>;

class TBaseDictionary {
public:
    virtual ~TBaseDictionary();
    TBaseDictionary(const TBaseDictionary&) = delete;
    TBaseDictionary& operator=(const TBaseDictionary&) = delete;

    // --- virtual operations in slot order
    virtual std::int32_t GetArticleOffset(std::int32_t wordIndex) = 0;
    virtual bool Open(const std::string& baseName) = 0;
    virtual void GetLetterWords(char16_t letter, bool first, std::u16string& words, bool userWords) = 0;
    virtual void GetDescription(std::u16string& text);
    virtual void GetArticle(std::int32_t index, bool decompress, std::string& article, bool userWords,
                            bool absolute) = 0;
    virtual void FindArticle(const std::u16string& word, std::string& article) = 0;
    // The absolute index of a word of the current section.
    virtual std::int32_t AbsoluteWordIndex(std::int32_t indexInSection);
    virtual AddWordResult AddWord(const std::u16string& word, const std::string& article) = 0;
    virtual AddWordResult DeleteWord(std::int32_t indexInSection) = 0;
    virtual AddWordResult EditWord(std::int32_t indexInSection, const std::string& article) = 0;
    // Copies the user's words to FileName (replaced all or nothing); errors pass to the caller.
    virtual void SaveUserWords(const std::string& fileName) = 0;

    // --- non-virtual operations
    // The file name for the class (BaseName + ".TDD" or ".UDD"); opens it when it changed.
    bool SetFileName(const std::string& baseName);
    // 2 for TUserDictionary, else 0.
    std::uint8_t KindOfClass() const;
    void GetAlphabetText(std::u16string& text);
    bool IsAlphabetLetter(const std::u16string& word) const;
    // The first entry 0..48 whose words hold the absolute index; -1 when none.
    std::int32_t SectionOfWordIndex(std::int32_t wordIndex) const;
    // The inflated information block; read and inflation errors pass to the caller.
    void ReadInfoBlock(std::string& text);
    // The edition of entry 45: 0..4, 5 when it holds no number.
    std::uint8_t GetDictionaryKind();
    // Whether the last Open succeeded.
    bool Opened() const { return opened_; }

    // --- fields
    std::unique_ptr<Dictionary::TDictionaryFile> FileStream;  // the open file, read-only
    std::string OffsetTable;                                  // the article-offset index of the open file
    std::string FileName;                                     // full file name with extension
    std::int32_t CurrentSection = 0;
    std::int32_t UserSection = Dictionary::kDescriptionSection;
    char16_t CurrentLetter = u' ';
    std::uint8_t Family = 0;  // 0 maker's layout, 2 user layout
    bool HasPrechars = false;
    std::vector<std::u16string> LetterGroups;
    TPredefChars Prechars;
    std::int32_t LetterGroupCount = -1;
    std::vector<std::uint8_t> UserWordMarks;      // filled by the main window
    std::vector<std::int32_t> UserWordPositions;  // filled by the main window
    Dictionary::TSectionTable Sections{};
    std::int64_t H0 = 0, H1 = 0, H2 = 0;
    std::u16string AlphabetText;

protected:
    TBaseDictionary() = default;
    // Create: the file name for the class, Open, then the substitutions are loaded on demand.
    void Create(const std::string& fileName);
    // Forgets the open file after a failed Open, so every read is empty.
    void ResetFile();
    // UTF-16 text of an entry's data at Base + offset.
    std::u16string ReadSectionText(const Dictionary::TSectionEntry& e, std::int64_t base) const;
    // The same into Text, whose memory is used again (a letter block is read where the one
    // before it was, not into fresh pages).
    void ReadSectionText(const Dictionary::TSectionEntry& e, std::int64_t base, std::u16string& text) const;
    // The entry 0..47 whose letter is L; 48 when none.
    static std::int32_t FindLetterSection(const Dictionary::TSectionTable& table, char16_t l);
    // The article offset of word Index, counted in the current section unless Absolute; -1 when
    // there is no such word.
    std::int32_t ArticleOffsetOf(std::int32_t index, bool absolute);
    // FileName without its extension.
    std::string BaseName() const;

    bool opened_ = false;
};

class TTavorDictionary : public TBaseDictionary {
public:
    explicit TTavorDictionary(const std::string& fileName);

    std::int32_t GetArticleOffset(std::int32_t wordIndex) override;
    bool Open(const std::string& baseName) override;
    void GetLetterWords(char16_t letter, bool first, std::u16string& words, bool userWords) override;
    void GetArticle(std::int32_t index, bool decompress, std::string& article, bool userWords, bool absolute) override;
    // The article of the word found in its letter section, through the index; empty when absent.
    void FindArticle(const std::u16string& word, std::string& article) override;
    AddWordResult AddWord(const std::u16string& word, const std::string& article) override;
    AddWordResult DeleteWord(std::int32_t indexInSection) override;
    AddWordResult EditWord(std::int32_t indexInSection, const std::string& article) override;
    void SaveUserWords(const std::string& fileName) override;

    // CHARS and PRECHARS from the description; returns the CHARS value N, -1 without it.
    std::int32_t LoadPredefChars();
    // The companion ".TDE" (or "Temp.TDE") beside the dictionary file.
    std::string UserWordsFileName(bool temporary) const;
    void GetUserLetterWords(char16_t letter, std::u16string& words);
    void GetUserArticle(std::int32_t indexInSection, std::string& article);
    static void ReadSectionTable(const Dictionary::TDictionaryFile& stream, Dictionary::TSectionTable& table);

private:
    // The section a typed letter leads to, and the letter that becomes current.
    std::int32_t ResolveSection(char16_t letter, bool first, char16_t& current);
    bool IsDictionaryLetter(char16_t l) const;
};

class TUserDictionary : public TBaseDictionary {
public:
    explicit TUserDictionary(const std::string& fileName);

    std::int32_t GetArticleOffset(std::int32_t wordIndex) override;
    bool Open(const std::string& baseName) override;
    void GetLetterWords(char16_t letter, bool first, std::u16string& words, bool userWords) override;
    void GetDescription(std::u16string& text) override;
    void GetArticle(std::int32_t index, bool decompress, std::string& article, bool userWords, bool absolute) override;
    void FindArticle(const std::u16string& word, std::string& article) override;
    AddWordResult AddWord(const std::u16string& word, const std::string& article) override;
    AddWordResult DeleteWord(std::int32_t indexInSection) override;
    AddWordResult EditWord(std::int32_t indexInSection, const std::string& article) override;
    void SaveUserWords(const std::string& fileName) override;

    // Replaces the file by its rewrite (already renamed into place) and opens it again.
    void CommitRewrite();

    std::int32_t ArticleLength = 0;  // byte length of the article whose offset was last looked up

private:
    std::string TempFileName() const { return FileName + "TEMP"; }
};

class TUnknownDictionary : public TBaseDictionary {
public:
    explicit TUnknownDictionary(const std::string& fileName);

    std::int32_t GetArticleOffset(std::int32_t) override { return 0; }
    bool Open(const std::string&) override { return false; }
    void GetLetterWords(char16_t, bool, std::u16string& words, bool) override { words.clear(); }
    void GetDescription(std::u16string& text) override { text.clear(); }
    void GetArticle(std::int32_t, bool, std::string& article, bool, bool) override { article.clear(); }
    void FindArticle(const std::u16string&, std::string& article) override { article.clear(); }
    std::int32_t AbsoluteWordIndex(std::int32_t) override { return -1; }
    AddWordResult AddWord(const std::u16string&, const std::string&) override { return WordResult::OtherFailure; }
    AddWordResult DeleteWord(std::int32_t) override { return WordResult::OtherFailure; }
    AddWordResult EditWord(std::int32_t, const std::string&) override { return WordResult::OtherFailure; }
    void SaveUserWords(const std::string&) override {}
};

// The class for a catalogue kind: maker's kinds 0 and 1 read with TTavorDictionary, user kinds
// 2 and 3 with TUserDictionary, anything else TUnknownDictionary. FileName has no extension.
std::unique_ptr<TBaseDictionary> CreateDictionary(TDictionaryKind kind, const std::string& fileName);
