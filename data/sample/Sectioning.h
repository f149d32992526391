// Letter sections of a maker's dictionary in a language's order: one section per letter of
// the language (letters filed under another letter join its group, as German Ä joins A),
// accented first letters with the section of their base letter, and one last section "0"
// for headwords that begin with a digit, a sign or a letter foreign to the language.
#pragma once

#include "data/sample/LanguageTable.h"
#include "engine/DictionaryFormat.h"

#include <string>
#include <vector>

namespace SampleData {

class TSectionPlan {
public:
    explicit TSectionPlan(const TLanguage& language);

    // The section of a headword by its first character (upper-cased, then its base letter);
    // OtherSection() when no letter of the language fits. Records the character in the
    // section's group.
    int Assign(std::u16string_view headword);

    int LetterSectionCount() const { return static_cast<int>(Letters.size()); }
    int OtherSection() const { return LetterSectionCount(); }
    char16_t LetterOf(int section) const { return section < LetterSectionCount() ? Letters[section] : u'0'; }
    // The CHARS group of a section: its letter and every upper-case first character filed there.
    const std::u16string& Group(int section) const { return Groups[section]; }

private:
    std::u16string Letters;
    std::vector<std::u16string> Groups;  // LetterSectionCount() + 1
};

// Upper case of one UTF-16 unit (simple case mapping).
char16_t UpperChar(char16_t c);

// The base letter of a character (its first character after canonical decomposition).
char16_t BaseLetter(char16_t c);

// The reverse-direction letters of a language pair: the letters of the target language
// that the source language lacks, upper case first, then lower case.
std::u16string ReverseLetters(const TLanguage& source, const TLanguage& target);

// The description of a maker's dictionary: the two alphabet lines, the reverse letters and
// the CHARS groups of its sections.
Dictionary::TDescriptionData MakeDescription(const TLanguage& source, const TLanguage& target, const TSectionPlan& plan,
                                             int sectionCount);

}  // namespace SampleData
