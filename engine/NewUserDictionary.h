// A new, empty user dictionary (".UDD"): its letters taken from an alphabet line of
// "Alphabets.dat", its bytes, and a write that never replaces a file of the same name.
#pragma once

#include "engine/DictionaryFormat.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TWideStrings;

namespace NewDictionary {

// Entries 0..47 hold letters; 48 and 49 are the information block and the description.
constexpr std::size_t kMaxLetters = Dictionary::kLetterSections;

// The alphabet gives more letters than a dictionary has letter sections.
class ETooManyLetters : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The target of WriteNewFile exists; it was not touched.
class EFileExists : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The (at most two) lines that follow the first line equal to Code, compared as the list
// compares (ignoring letter case); empty when no line is Code or Code is empty.
std::vector<std::u16string> FindAlphabetLines(const TWideStrings& alphabets, std::u16string_view code);

// The letters of an alphabet line: the first code unit of every comma-ended entry that is
// not a whole number (a number is the spacing of the entry before it); empty entries and
// text after the last comma give none.
std::u16string AlphabetLetters(std::u16string_view line);

// The whole file: the letters in entries 0.. (in use, empty), "#" in the others, the
// compressed information text at 1229 and the description after it; no words, no articles.
// Throws ETooManyLetters for more than 48 letters.
std::string BuildFile(std::u16string_view letters, std::string_view infoText, std::u16string_view description);

// Writes Bytes to a new file at Path: first completely under a temporary name in its
// folder, then moved to Path only when no file of that name exists. Throws EFileExists
// when one does and std::system_error when a step fails; in both cases nothing is left
// behind and an existing file stays as it was.
void WriteNewFile(const std::string& path, std::string_view bytes);

}  // namespace NewDictionary
