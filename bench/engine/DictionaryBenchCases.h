// The measurements shared by the dictionary benchmarks (a generated dictionary and the real
// sample one): Open, a whole letter block, random articles, and the bytes an open object holds.
#pragma once

#include "engine/Dictionary.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>

namespace DictionaryBench {

inline void Open(benchmark::State& state, const std::string& base)
{
    for (auto _ : state) {
        TTavorDictionary d(base);
        benchmark::DoNotOptimize(d.Opened());
    }
}

inline void LetterWords(benchmark::State& state, TTavorDictionary& d, char16_t letter)
{
    std::u16string words;
    for (auto _ : state) {
        d.GetLetterWords(letter, false, words, false);
        benchmark::DoNotOptimize(words.data());
    }
    state.counters["words"] = d.Sections[d.CurrentSection].WordCount;
    state.counters["bytes"] = static_cast<double>(words.size() * 2);
}

// Articles of absolute indexes 0..Last picked at random.
inline void RandomArticles(benchmark::State& state, TTavorDictionary& d, std::int32_t last)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> index(0, last);
    std::string article;
    std::size_t bytes = 0;
    for (auto _ : state) {
        d.GetArticle(index(rng), true, article, false, true);
        bytes += article.size();
    }
    state.counters["article_bytes"] =
        benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
}

// The memory an open maker's dictionary holds (the object, its index and its texts), as the
// counter "bytes_held"; returns it.
inline std::size_t MemoryHeld(benchmark::State& state, const TTavorDictionary& d)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(d.OffsetTable.data());
    std::size_t held = sizeof(TTavorDictionary) + d.OffsetTable.capacity() + d.FileName.capacity()
        + d.AlphabetText.capacity() * 2 + sizeof(Dictionary::TDictionaryFile);
    for (const auto& g : d.LetterGroups)
        held += sizeof(g) + g.capacity() * 2;
    state.counters["bytes_held"] = static_cast<double>(held);
    return held;
}

}  // namespace DictionaryBench
