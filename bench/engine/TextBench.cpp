// Text support speed: splitting a letter block into a word list, the sorted search, and
// inflating one article record next to zlib's own inflate of the same bytes.
#include "engine/CompressedText.h"
#include "engine/WideStringList.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 50000;

// Distinct words of one letter section, in no particular order.
std::vector<std::u16string> Words()
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> letter(0, 25), length(3, 12);
    std::vector<std::u16string> words;
    words.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
        std::u16string w = u"s";
        for (int n = length(rng); n > 0; --n)
            w.push_back(static_cast<char16_t>(u'a' + letter(rng)));
        w += u"\u00e9" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + std::u16string(1, u'a' + i / 10 % 26)
            + std::u16string(1, u'a' + i / 260 % 26) + std::u16string(1, u'a' + i / 6760 % 26);
        words.push_back(std::move(w));
    }
    return words;
}

std::u16string Block(const std::vector<std::u16string>& words)
{
    std::u16string text;
    for (const auto& w : words)
        text += w + u"\r\n";
    return text;
}

void BM_SetTextStr_LetterBlock(benchmark::State& state)
{
    const std::u16string block = Block(Words());
    TWideStringList list;
    for (auto _ : state) {
        list.SetTextStr(block);
        benchmark::DoNotOptimize(list.Count());
    }
    state.counters["lines"] = list.Count();
}
BENCHMARK(BM_SetTextStr_LetterBlock)->Unit(benchmark::kMillisecond);

// A sorted list filled from a block stored in sort order, as letter sections are.
void BM_SetTextStr_SortedList(benchmark::State& state)
{
    TWideStringList list;
    list.SetSorted(true);
    list.SetTextStr(Block(Words()));
    const std::u16string block = list.GetTextStr();
    for (auto _ : state) {
        list.SetTextStr(block);
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(BM_SetTextStr_SortedList)->Unit(benchmark::kMillisecond);

void BM_Find_Sorted50k(benchmark::State& state)
{
    const std::vector<std::u16string> words = Words();
    TWideStringList list;
    list.SetSorted(true);
    list.SetTextStr(Block(words));
    std::vector<std::u16string> probes;
    for (size_t i = 0; i < 1024; ++i) {
        std::u16string w = words[(i * 7919) % words.size()];
        if (i % 4 == 3)
            w += u"q";  // a miss
        probes.push_back(std::move(w));
    }
    size_t i = 0;
    int found = 0;
    for (auto _ : state) {
        int index;
        found += list.Find(probes[i++ & 1023], index);
        benchmark::DoNotOptimize(index);
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_Find_Sorted50k)->Unit(benchmark::kNanosecond);

// An article of about 2 KB of rich text as the word editor stores it.
std::string Article()
{
    std::string text = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}"
                       "{\\colortbl ;\\red0\\green0\\blue128;}\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs20 spring\\b0 "
                       "/spr\\'ecN/ \\i n.\\i0\\par ";
    std::mt19937 rng(11);
    const char* words[] = {"Fr\\'fchling", "Quelle", "Feder",  "Sprung", "springen",   "the",
                           "of",           "a",      "season", "water",  "coil",       "elastic",
                           "leap",         "jump",   "well",   "source", "\\i v.\\i0", "to"};
    int sense = 1;
    while (text.size() < 2000) {
        text += std::to_string(sense++) + ". ";
        for (int n = 0; n < 12; ++n)
            text += std::string(words[rng() % std::size(words)]) + (n % 5 == 4 ? ", " : " ");
        text += "\\par ";
    }
    return text + "}";
}

void BM_DecompressText_2KB(benchmark::State& state)
{
    const std::string record = CompressText(Article());
    for (auto _ : state)
        benchmark::DoNotOptimize(DecompressText(record));
    state.SetItemsProcessed(state.iterations());
    state.counters["record_bytes"] = static_cast<double>(record.size());
}
BENCHMARK(BM_DecompressText_2KB);

void BM_ZlibInflate_2KB(benchmark::State& state)
{
    const std::string article = Article();
    const std::string record = CompressText(article);
    std::string out(article.size() + 4, '\0');
    for (auto _ : state) {
        uLongf size = static_cast<uLongf>(out.size());
        uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(record.data()),
                   static_cast<uLong>(record.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ZlibInflate_2KB);

// Prints the runs as usual and, at the end, our inflate time against zlib's.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    TRatioReporter()
        : ConsoleReporter(OO_Tabular)
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                ns_[r.run_name.function_name] = r.real_accumulated_time * 1e9 / static_cast<double>(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto ours = ns_.find("BM_DecompressText_2KB");
        auto zlib = ns_.find("BM_ZlibInflate_2KB");
        if (ours != ns_.end() && zlib != ns_.end())
            std::printf(
                "DecompressText: %.0f articles/s, zlib inflate: %.0f articles/s, ratio %.2fx (target <= 1.30x)\n",
                1e9 / ours->second, 1e9 / zlib->second, ours->second / zlib->second);
    }

private:
    std::map<std::string, double> ns_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
