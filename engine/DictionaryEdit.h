// A user file (".UDD" or ".TDE") taken apart for a rewrite: its section table, the word lists
// of the entries in use and the articles by absolute word index. The editing operations change
// this image and write it whole to a new file; the object and the old file stay untouched.
#pragma once

#include "engine/Dictionary.h"
#include "engine/DictionaryFormat.h"
#include "engine/DictionaryIO.h"
#include "platform/SafeFile.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace Dictionary {

struct TEditArticle {
    std::string Bytes;       // as stored: compressed in a ".UDD", plain text in a ".TDE"
    std::int64_t Place = 0;  // old file offset: the articles keep their physical order
    bool Readable = true;    // false when its record pointed outside the file
};

struct TEditImage {
    TSectionTable Table{};
    int Used = 0;  // the leading entries in use
    std::array<std::vector<std::u16string>, kLetterSections> Lines;
    std::vector<TEditArticle> Articles;  // by absolute word index
    std::string InfoRecord;              // ".UDD": entry 48's bytes
    std::string Description;             // ".UDD": entry 49's bytes

    // Absolute index of the first word of used entry Section.
    std::int32_t FirstIndexOf(int section) const;
    // The used entry whose letter is L; -1 when none.
    int FindUsed(char16_t l) const;
    // The article of word IndexInSection of used entry Section; throws EDictionaryFormatError
    // when there is no such word.
    TEditArticle& ArticleOf(int section, std::int32_t indexInSection);
    // Removes that word and its article; its entry stays, even when it is left empty.
    void DeleteWord(int section, std::int32_t indexInSection);
};

constexpr std::int64_t kAppendedPlace = std::numeric_limits<std::int64_t>::max();

// An empty ".TDE" image (no file yet).
TEditImage EmptyUserWordsImage();
TEditImage LoadUserWordsImage(const TDictionaryFile& f);
TEditImage LoadUserDictionaryImage(const TDictionaryFile& f);

// The whole new file. Throws EDictionaryFormatError when an article that stays was unreadable.
std::string SerializeUserWords(const TEditImage& image);
std::string SerializeUserDictionary(const TEditImage& image);

// WideTrim: without leading and trailing space and control characters.
std::u16string TrimWord(std::u16string_view word);
bool HasLineBreak(std::u16string_view word);

// The result code of an exception caught in an editing operation.
AddWordResult ResultOfException(std::exception_ptr e);

}  // namespace Dictionary
