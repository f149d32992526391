// Writer of maker's dictionary files (".TDD"): H0 = 24, letter sections of sorted words, the
// article-offset index, compressed rich-text articles, the information block, the description
// (letter panel lines, reverse letters, CHARS and PRECHARS) and the edition in entry 45.
//
//   TddWriter::TTddWriter w;
//   int a = w.AddSection(u'A');
//   w.AddWord(a, u"apple", "{\\rtf1 ...}");
//   w.SetInfo(info); w.SetDescription(description); w.SetEdition(2);
//   w.SortSections(lcid);   // unless the words were added in list order
//   w.Write("Data/EngDeu.TDD");
#pragma once

#include "engine/DictionaryFormat.h"
#include "platform/Locale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace TddWriter {

struct TWordArticle {
    std::u16string Word;
    std::string Article;  // 8-bit rich text, compressed by the writer
};

struct TSection {
    char16_t Letter = 0;
    std::vector<TWordArticle> Words;
};

class TTddWriter {
public:
    // A new letter section, written in the order added (entries 0, 1, ...; at most 48, or 45
    // when the file carries an edition, whose entry is 45). Returns its number.
    int AddSection(char16_t letter);
    // Adds a word (no line breaks, not empty) with its article to a section.
    void AddWord(int section, std::u16string word, std::string article);
    // Sorts every section into list order (case-insensitive under the locale, stable).
    void SortSections(Platform::LCID lcid);

    void SetInfo(const Dictionary::TDictionaryInfo& info) { info_ = info; }
    void SetDescription(const Dictionary::TDescriptionData& description) { description_ = description; }
    // The edition text of entry 45 ("0" Talking, "1" Pro, "2" Free, ...).
    void SetEdition(int edition);
    void SetEditionText(std::u16string text) { edition_ = std::move(text); }
    void ClearEdition() { edition_.reset(); }
    // The letter field of entry 45; no word of the dictionary may start with it.
    void SetEditionLetter(char16_t letter) { editionLetter_ = letter; }

    const std::vector<TSection>& Sections() const { return sections_; }
    std::size_t WordCount() const;

    // Writes the file all or nothing (temporary file, fsync, rename).
    void Write(const std::string& path) const;
    // The whole file in memory.
    std::string Build() const;

private:
    template <typename Sink> void Emit(Sink& sink) const;

    std::vector<TSection> sections_;
    Dictionary::TDictionaryInfo info_;
    Dictionary::TDescriptionData description_;
    std::optional<std::u16string> edition_;
    char16_t editionLetter_ = u'\uFFFF';
};

}  // namespace TddWriter
