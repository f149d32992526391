// A maker's dictionary of 400,000 words in 26 sections (the largest 40,000 words, articles of
// 200-2,000 bytes): Open, the largest letter block, random articles, and the memory held.
// Targets: open <= 20 ms, letter block <= 3 ms, article <= 30 us, about 4 bytes per word.
#include "bench/engine/DictionaryBenchCases.h"
#include "data/tddwriter/TddWriter.h"
#include "engine/Dictionary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

constexpr int kWords = 400000;
constexpr int kSections = 26;
constexpr int kLargest = 40000;
constexpr int kLargestSection = 18;  // 'S'

std::string Article(std::mt19937& rng, const std::u16string& word)
{
    static const char* vocabulary[] = {"der",  "die",   "das",      "Haus",      "gehen", "schnell", "\\b ",  "\\b0 ",
                                       "\\i ", "\\i0 ", "Beispiel", "Bedeutung", "noun",  "verb",    "(ugs.)"};
    std::uniform_int_distribution<int> length(200, 2000), pick(0, 14);
    const int target = length(rng);
    std::string a = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 \\b ";
    a.append(word.begin(), word.end());
    a += "\\b0 ";
    while (static_cast<int>(a.size()) < target - 1) {
        a += vocabulary[pick(rng)];
        a += ' ';
    }
    a.resize(static_cast<std::size_t>(target - 1));
    return a + "}";
}

struct TFixture {
    std::string Base;
    double WriteSeconds = 0;
    std::int32_t LargestFirst = 0;

    TFixture()
    {
        Base = (std::filesystem::temp_directory_path() / ("lexora-bench-dict-" + std::to_string(::getpid()))).string();
        std::mt19937 rng(42);
        TddWriter::TTddWriter w;
        w.SetEdition(2);
        const int others = (kWords - kLargest) / (kSections - 1);
        for (int s = 0; s < kSections; ++s) {
            const char16_t letter = static_cast<char16_t>(u'A' + s);
            const int section = w.AddSection(letter);
            const int count = s == kLargestSection ? kLargest : others;
            for (int i = 0; i < count; ++i) {
                // Fixed-width words in increasing order: already in list order.
                std::u16string word(1, static_cast<char16_t>(letter + 32));
                for (int v = i, d = 0; d < 4; ++d, v /= 26)
                    word.insert(word.begin() + 1, static_cast<char16_t>(u'a' + v % 26));
                w.AddWord(section, word, Article(rng, word));
            }
        }
        Dictionary::TDescriptionData desc;
        desc.LetterLinks = u"A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z,";
        desc.CharacterLinks = u"\u00C4,\u00D6,\u00DC,";
        w.SetDescription(desc);
        const auto t0 = std::chrono::steady_clock::now();
        w.Write(Base + ".TDD");
        WriteSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::fprintf(stderr, "generated %d words in %d sections, file %.1f MB, written in %.2f s\n", kWords, kSections,
                     std::filesystem::file_size(Base + ".TDD") / 1e6, WriteSeconds);
    }
    ~TFixture() { std::filesystem::remove(Base + ".TDD"); }
};

TFixture& Fixture()
{
    static TFixture f;
    return f;
}

void BM_Open(benchmark::State& state)
{
    DictionaryBench::Open(state, Fixture().Base);
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_GetLetterWordsLargest(benchmark::State& state)
{
    TTavorDictionary d(Fixture().Base);
    DictionaryBench::LetterWords(state, d, u's');
}
BENCHMARK(BM_GetLetterWordsLargest)->Unit(benchmark::kMillisecond);

void BM_GetArticleRandom(benchmark::State& state)
{
    TTavorDictionary d(Fixture().Base);
    DictionaryBench::RandomArticles(state, d, kWords - 1);
}
BENCHMARK(BM_GetArticleRandom)->Unit(benchmark::kMicrosecond);

void BM_MemoryHeld(benchmark::State& state)
{
    TTavorDictionary d(Fixture().Base);
    const std::size_t held = DictionaryBench::MemoryHeld(state, d);
    state.counters["bytes_per_word"] = static_cast<double>(held) / kWords;
    state.counters["table_bytes"] = static_cast<double>(sizeof(d.Sections));
}
BENCHMARK(BM_MemoryHeld)->Iterations(1);

void BM_WriteDictionary(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Fixture().WriteSeconds);
    state.counters["write_seconds"] = Fixture().WriteSeconds;
}
BENCHMARK(BM_WriteDictionary)->Iterations(1);

}  // namespace
