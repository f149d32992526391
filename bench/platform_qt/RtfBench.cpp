// The RTF reader and writer on real dictionary articles: microseconds per article read into a
// QTextDocument (as the main window shows it) and written back.
#include "RichTextArticles.h"
#include "platform/qt/RichText.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const std::vector<std::string>& Articles()
{
    static const std::vector<std::string> articles = [] {
        const char* folder = std::getenv("LEXORA_SAMPLE_PROGRAM_DIR");
        std::vector<std::string> list = RichTextTest::SampleFolderArticles(folder ? folder : LEXORA_PROGRAM_DIR, 500);
        if (!list.empty()) {
            std::fprintf(stderr, "%zu articles of the sample program folder\n", list.size());
            return list;
        }
        for (const char* name : {"eng-deu", "deu-eng", "eng-fra", "eng-rus"})
            for (auto& a : RichTextTest::FreedictArticles(LEXORA_DICTD_DIR, name, 500, 1252))
                list.push_back(std::move(a.Rtf));
        std::fprintf(stderr, "%zu articles made from the FreeDict data\n", list.size());
        return list;
    }();
    return articles;
}

void BM_ReadArticle(benchmark::State& state)
{
    const auto& articles = Articles();
    if (articles.empty()) {
        state.SkipWithError("no articles");
        return;
    }
    QTextDocument document;
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        const std::string& rtf = articles[i++ % articles.size()];
        RichText::ReadRtf(rtf, document);
        bytes += rtf.size();
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadArticle)->Unit(benchmark::kMicrosecond);

void BM_WriteArticle(benchmark::State& state)
{
    const auto& articles = Articles();
    if (articles.empty()) {
        state.SkipWithError("no articles");
        return;
    }
    std::vector<std::unique_ptr<QTextDocument>> documents;
    for (std::size_t i = 0; i < std::min<std::size_t>(articles.size(), 200); ++i) {
        documents.push_back(std::make_unique<QTextDocument>());
        RichText::ReadRtf(articles[i], *documents.back());
    }
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(RichText::WriteRtf(*documents[i++ % documents.size()], 1252));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteArticle)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
