// Pronunciations of a dictionary: which words get a spoken sound, and the per-section sound
// files "<n>.idx" (24-byte records: word index, offset, length) and "<n>.snd" (MPEG audio).
#pragma once

#include "data/sample/FreedictConverter.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace SampleData {

struct TSoundCandidate {
    int Section = 0;
    int Index = 0;  // position in the section
    std::u16string Word;
};

struct TSoundPlan {
    std::vector<int> WordCounts;              // per section
    std::vector<TSoundCandidate> Candidates;  // single words that have a pronunciation
};

// Single words of letters only, two or more long, at most one capital, with a pronunciation.
bool IsSoundCandidate(std::u16string_view word, std::u16string_view pronunciation);

TSoundPlan MakeSoundPlan(const TConvertedDictionary& dictionary);

// The plan as UTF-8 text: "S<TAB>count" per section, then "W<TAB>section<TAB>index<TAB>word".
void WriteSoundPlan(const TConvertedDictionary& dictionary, const std::string& path);
TSoundPlan ReadSoundPlan(const std::string& path);

// The first `count` candidates by length, then by section and index: deterministic.
std::vector<TSoundCandidate> ChooseSounds(const TSoundPlan& plan, std::size_t count);

// Builds "<n>.idx" and "<n>.snd" of one section (n counted from 0; files named n + 1).
// sounds maps a word's index in the section to its MPEG data. firstWordIndex fills the
// first field of every record (the word's absolute index).
struct TSectionSoundFiles {
    std::string Index;
    std::string Data;
};
TSectionSoundFiles BuildSectionSoundFiles(int wordCount, std::int64_t firstWordIndex,
                                          const std::map<int, std::string>& sounds);

// Writes the files of every section into folder (created when missing).
void WriteSoundFolder(const std::string& folder, const TSoundPlan& plan,
                      const std::map<std::pair<int, int>, std::string>& sounds);

}  // namespace SampleData
