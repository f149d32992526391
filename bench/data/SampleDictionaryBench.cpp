// The real English-German sample dictionary (FreeDict, about 367,000 words in 27 sections):
// Open, the largest letter block (S), random articles, and the memory the open object holds.
#include "bench/engine/DictionaryBenchCases.h"
#include "data/sample/FreedictConverter.h"
#include "data/sample/TddOutput.h"
#include "engine/Dictionary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

struct TFixture {
    std::string Base;       // path without ".TDD"
    std::string Temporary;  // a file converted for this run, removed at the end

    TFixture()
    {
        if (std::filesystem::exists(LEXORA_SAMPLE_TDD)) {
            Base = std::filesystem::path(LEXORA_SAMPLE_TDD).replace_extension().string();
            std::fprintf(stderr, "dictionary: %s\n", LEXORA_SAMPLE_TDD);
            return;
        }
        const std::string dictd = LEXORA_DICTD_DIR;
        Base = (std::filesystem::temp_directory_path() / ("ENGGER-bench-" + std::to_string(::getpid()))).string();
        Temporary = Base + ".TDD";
        const auto t0 = std::chrono::steady_clock::now();
        const SampleData::TDictdDatabase db(dictd + "/freedict-eng-deu.index", dictd + "/freedict-eng-deu.dict.dz");
        SampleData::TConvertOptions o;
        o.SourceCode = "ENG";
        o.TargetCode = "GER";
        o.FileName = std::filesystem::path(Base).filename().string();
        o.Name = "English-German (FreeDict)";
        SampleData::WriteMakersDictionary(SampleData::ConvertFreedict(db, o), Temporary);
        std::fprintf(stderr, "converted FreeDict eng-deu in %.1f s\n",
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    ~TFixture()
    {
        if (!Temporary.empty())
            std::filesystem::remove(Temporary);
    }
};

TFixture& Fixture()
{
    static TFixture f;
    return f;
}

std::int32_t WordCount(const TTavorDictionary& d)
{
    return static_cast<std::int32_t>(d.OffsetTable.size() / 4);
}

void BM_Open(benchmark::State& state)
{
    DictionaryBench::Open(state, Fixture().Base);
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_GetLetterWordsLargest(benchmark::State& state)
{
    TTavorDictionary d(Fixture().Base);
    int largest = 0;
    for (int s = 0; s < Dictionary::kLetterSections; ++s)
        if (!d.Sections[s].Free && d.Sections[s].WordCount > d.Sections[largest].WordCount)
            largest = s;
    const char16_t letter = d.Sections[largest].Letter;
    DictionaryBench::LetterWords(state, d, letter);
    state.SetLabel(std::string("section ") + static_cast<char>(letter < 0x80 ? letter : '?'));
}
BENCHMARK(BM_GetLetterWordsLargest)->Unit(benchmark::kMillisecond);

void BM_GetArticleRandom(benchmark::State& state)
{
    TTavorDictionary d(Fixture().Base);
    DictionaryBench::RandomArticles(state, d, WordCount(d) - 2);
}
BENCHMARK(BM_GetArticleRandom)->Unit(benchmark::kMicrosecond);

void BM_MemoryHeld(benchmark::State& state)
{
    TTavorDictionary d(Fixture().Base);
    const std::size_t held = DictionaryBench::MemoryHeld(state, d);
    const std::int32_t words = WordCount(d) - 1;  // the index ends with a marker
    state.counters["words"] = words;
    state.counters["bytes_per_word"] = static_cast<double>(held) / words;
}
BENCHMARK(BM_MemoryHeld)->Iterations(1);

}  // namespace
