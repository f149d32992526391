// One FreeDict entry as the dictd export writes it: a head line "headword /IPA/ <grammar>"
// and body lines of translations, examples, synonyms, cross-references and notes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace SampleData {

enum class TBodyKind { Translation, Example, Related, Note };

struct TBodyLine {
    TBodyKind Kind = TBodyKind::Translation;
    std::u16string Label;        // Related: "Synonyms", "see", ...
    std::u16string Text;         // the line, or an example's source text
    std::u16string Translation;  // Example: the translation after " - "
};

struct TFreedictEntry {
    std::u16string Headword;
    std::u16string Pronunciation;  // between the slashes, without them
    std::u16string Grammar;        // part of speech: "<...>" of the head line, without the brackets,
                                   // or the first one a translation line names
    std::u16string HeadExtra;      // whatever else the head line carries, e.g. "(´)"
    std::vector<TBodyLine> Lines;
};

// Parses one entry's UTF-8 text. Control characters other than line breaks are dropped;
// invalid UTF-8 becomes U+FFFD.
TFreedictEntry ParseFreedictEntry(std::string_view text);

// Only the display headword of an entry (its head line up to the pronunciation or grammar).
std::u16string DisplayHeadword(std::u16string_view headLine);

}  // namespace SampleData
