// The on-screen keyboard of a dictionary's alphabet: its keys come from line 2 of the
// dictionary's description, comma-terminated entries where a whole number gives the
// distance of the entry before it from the key to its left.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QWidget;
class TBaseDictionary;
class TMURL;

struct TAlphabetEntry {
    std::u16string Letter;
    std::int16_t Spacing = 0;
};

// The entries of an alphabet line. A number sets the spacing of the entry before it (one
// before any letter is dropped); text after the last comma is not used.
std::vector<TAlphabetEntry> ParseAlphabetLine(std::u16string_view line);

// Line 2 of the dictionary's description; empty when it has fewer lines or no dictionary.
std::u16string KeyboardLine(TBaseDictionary* dictionary);

// Replaces the keys on Panel by one link per entry, at top 2 and left 4 + the spacings so
// far; returns the keys in order. Their letters joined are the keyboard's letters.
std::vector<TMURL*> CreateAlphabetKeys(QWidget* panel, const std::vector<TAlphabetEntry>& entries);
