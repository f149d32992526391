#include "RichTextArticles.h"

#include "data/sample/ArticleRtf.h"
#include "data/sample/DictdReader.h"
#include "engine/Dictionary.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace RichTextTest {
namespace {

// Up to n bytes of a file from pos on.
std::string ReadAt(std::ifstream& in, std::size_t pos, std::size_t n)
{
    std::string bytes(n, '\0');
    in.clear();
    in.seekg(static_cast<std::streamoff>(pos));
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    return bytes;
}

// The first `limit` bytes of a gzip file's data (the whole data when shorter), reading no
// more of the file than they need.
std::string InflatePrefix(const std::string& file, std::size_t limit)
{
    std::ifstream in(file, std::ios::binary);
    z_stream zs{};
    if (inflateInit2(&zs, 16 + MAX_WBITS) != Z_OK)
        return {};
    std::string out(limit, '\0');
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    std::string chunk;
    std::size_t pos = 0;
    int rc = Z_OK;
    while (rc == Z_OK && zs.avail_out > 0) {
        if (zs.avail_in == 0) {
            chunk = ReadAt(in, pos, 1 << 16);
            if (chunk.empty())
                break;
            pos += chunk.size();
            zs.next_in = reinterpret_cast<Bytef*>(chunk.data());
            zs.avail_in = static_cast<uInt>(chunk.size());
        }
        rc = inflate(&zs, Z_NO_FLUSH);
    }
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
    const std::string data = InflatePrefix(base + ".dict.dz", prefix);
    // Index lines probed at even steps over the whole index (the data is not in headword
    // order, so the prefix holds words of every letter); the whole index is not read.
    std::ifstream index(base + ".index", std::ios::binary | std::ios::ate);
    const auto indexSize = static_cast<std::size_t>(std::max<std::streamoff>(0, index.tellg()));
    std::vector<SampleData::TDictdIndexEntry> inPrefix;
    const std::size_t probes = 60 * count;
    for (std::size_t j = 0; j < probes; ++j) {
        const std::string text = ReadAt(index, j * indexSize / probes, 1024);
        std::size_t start = j == 0 ? 0 : text.find('\n');
        if (start == std::string::npos)
            continue;
        start += j == 0 ? 0 : 1;
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            continue;
        try {
            for (const SampleData::TDictdIndexEntry& e :
                 SampleData::ParseDictdIndex(std::string_view(text).substr(start, end - start + 1)))
                if (e.Offset + e.Length <= data.size() && e.Key.rfind("00database", 0) != 0
                    && (inPrefix.empty() || inPrefix.back().Offset != e.Offset))
                    inPrefix.push_back(e);
        } catch (const SampleData::EDictdError&) {
        }
    }
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
