// The store of learning lists: one list file open at a time (read-only), changed by writing a
// complete new file and renaming it over the old one.
//
// List file: 6 bytes of language pair, four int64 (word-list offset 38 or 0 in a new empty
// list, word-list byte length, article-area offset, item-table offset), the words as a UTF-16LE
// line list, the compressed articles, then 24-byte items to the end of the file.
#pragma once

#include "engine/WideStringList.h"

#include <cstdint>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct TLearnItem {
    std::int32_t WordIndex = 0;      // absolute index of the word in its dictionary
    std::int64_t ArticleOffset = 0;  // file position of its compressed article
    std::int32_t ArticleLength = 0;

    static constexpr std::size_t Size = 24;
};

// A list file is shorter than its header or its header or items are impossible.
class ELearnListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TLearnDictionary {
public:
    static constexpr std::int64_t HeaderSize = 38;

    // No list open; Folder is the learning folder (no trailing "/").
    explicit TLearnDictionary(std::string Folder);
    ~TLearnDictionary();
    TLearnDictionary(const TLearnDictionary&) = delete;
    TLearnDictionary& operator=(const TLearnDictionary&) = delete;

    // Starts an empty, modified list in "TempList.tmp" of the folder. Errors leave the store
    // closed and are not reported.
    void NewList();

    // Opens a list file; nothing happens when it does not exist. Throws ELearnListError (the
    // store is then closed) when the file is shorter than its header or is damaged.
    void LoadFromFile(const std::string& FileName);

    // Copies the open list to FileName (all or nothing) and continues on that file, not
    // modified. False when no list is open or the copy fails; the open list then stays as it was.
    bool SaveToFile(const std::string& FileName);

    // Closes the list file; Words keeps its lines.
    void Close();

    // The pair written by the next rewrite or new list (6 characters; shorter ones are padded
    // with zero bytes in the file).
    void SetLanguagePair(const std::string& Pair);

    // Rewrites of the open list. False, with the file and the store as they were, when no list
    // is open, Index is out of range, the word would not stay one line, or the write fails.
    bool AddWord(std::int32_t WordIndex, std::u16string_view Word, std::string_view Article);
    bool DeleteWord(std::int32_t Index);
    bool ReplaceArticle(std::int32_t Index, std::string_view Article);

    // The inflated article of item Index; empty when closed, out of range or unreadable.
    std::string GetArticle(std::int32_t Index);
    // The word list as stored in the file; empty when closed or unreadable.
    std::u16string GetWordListText();
    // WordIndex of item Index; -1 when out of range.
    std::int32_t GetWordIndex(std::int32_t Index) const;
    bool HasWordIndex(std::int32_t WordIndex) const;
    // True when no list is open or the open list has no words.
    bool IsEmpty() const;

    std::int64_t WordListOffset = 0;
    std::int64_t WordListLength = 0;
    std::int64_t ArticleAreaOffset = 0;
    std::int64_t ItemTableOffset = 0;
    std::string LanguagePair;
    std::string ListFileName;
    std::string Folder;
    TWideStringList Words;
    bool Closed = true;
    bool Modified = false;
    std::vector<TLearnItem> Items;
    // Why the last rewrite of the open list could not be written (a full disk); empty when
    // it was, or when it failed for another reason.
    std::string WriteError;

private:
    std::string ReadRange(std::int64_t offset, std::int64_t length);
    std::string PairBytes() const;
    // Writes the bytes that Build returns over the list file through "ins.tmp" and opens the
    // result; the modification state stays as it was.
    bool Rewrite(const std::function<std::string()>& build);

    std::ifstream ListStream;
    std::int64_t listSize_ = 0;
};
