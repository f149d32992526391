#include "RichTextArticles.h"

#include "data/sample/ArticleRtf.h"
#include "data/sample/DictdReader.h"
#include "engine/Dictionary.h"
#include "platform/qt/RtfCodePage.h"

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace RichTextTest {
namespace {

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first `limit` bytes of a gzip file's data (the whole data when shorter).
std::string InflatePrefix(const std::string& gz, std::size_t limit)
{
    z_stream zs{};
    if (inflateInit2(&zs, 16 + MAX_WBITS) != Z_OK)
        return {};
    std::string out(limit, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gz.data()));
    zs.avail_in = static_cast<uInt>(gz.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    int rc = Z_OK;
    while (rc == Z_OK && zs.avail_out > 0)
        rc = inflate(&zs, Z_NO_FLUSH);
    out.resize(out.size() - zs.avail_out);
    inflateEnd(&zs);
    return out;
}

}  // namespace

std::vector<TSourceArticle> FreedictArticles(const std::string& dir, const std::string& name, std::size_t count,
                                             int codePage, std::size_t prefix)
{
    const std::string base = dir + "/freedict-" + name;
    if (!std::filesystem::exists(base + ".index") || !std::filesystem::exists(base + ".dict.dz"))
        return {};
    const std::string data = InflatePrefix(ReadFile(base + ".dict.dz"), prefix);
    std::vector<SampleData::TDictdIndexEntry> inPrefix;
    for (const SampleData::TDictdIndexEntry& e : SampleData::ParseDictdIndex(ReadFile(base + ".index")))
        if (e.Offset + e.Length <= data.size() && e.Key.rfind("00database", 0) != 0)
            inPrefix.push_back(e);
    const SampleData::TCodePageMap map(codePage);
    std::vector<TSourceArticle> articles;
    const std::size_t step = std::max<std::size_t>(1, inPrefix.size() / std::max<std::size_t>(count, 1));
    for (std::size_t i = 0; i < inPrefix.size() && articles.size() < count; i += step) {
        TSourceArticle a;
        a.Senses.push_back(SampleData::ParseFreedictEntry(std::string_view(data).substr(
            static_cast<std::size_t>(inPrefix[i].Offset), static_cast<std::size_t>(inPrefix[i].Length))));
        if (articles.size() % 5 == 4 && i + 1 < inPrefix.size())
            a.Senses.push_back(SampleData::ParseFreedictEntry(std::string_view(data).substr(
                static_cast<std::size_t>(inPrefix[i + 1].Offset), static_cast<std::size_t>(inPrefix[i + 1].Length))));
        if (a.Senses.front().Headword.empty())
            continue;
        std::vector<const SampleData::TFreedictEntry*> senses;
        for (const auto& s : a.Senses)
            senses.push_back(&s);
        a.Rtf = SampleData::BuildArticleRtf(senses, map);
        // The generator names charset 0 for its fonts whatever the page; a rich edit reads
        // charset 0 as 1252, so the fonts get the charset of the page their bytes are in.
        const std::string charset = "\\fcharset" + std::to_string(RichText::CharsetOfCodePage(codePage));
        for (std::size_t p = 0; (p = a.Rtf.find("\\fcharset0 ", p)) != std::string::npos; p += charset.size())
            a.Rtf.replace(p, 10, charset);
        articles.push_back(std::move(a));
    }
    return articles;
}

std::vector<std::string> SampleFolderArticles(const std::string& programFolder, std::size_t perDictionary)
{
    std::vector<std::string> articles;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(programFolder + "/Data", ec)) {
        if (entry.path().extension() != ".TDD")
            continue;
        TTavorDictionary dictionary(std::filesystem::path(entry.path()).replace_extension().string());
        if (!dictionary.Opened())
            continue;
        const auto words = static_cast<std::int32_t>(dictionary.OffsetTable.size() / 4);
        const std::int32_t step = std::max<std::int32_t>(1, words / static_cast<std::int32_t>(perDictionary));
        for (std::int32_t i = 0; i < words; i += step) {
            std::string article;
            dictionary.GetArticle(i, true, article, false, true);
            if (!article.empty())
                articles.push_back(std::move(article));
        }
    }
    return articles;
}

}  // namespace RichTextTest
