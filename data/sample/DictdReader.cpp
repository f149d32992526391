#include "data/sample/DictdReader.h"

#include "data/sample/BinaryWriter.h"

#include <zlib.h>

namespace SampleData {

std::uint64_t DecodeDictdNumber(std::string_view text)
{
    if (text.empty() || text.size() > 10)
        throw EDictdError("bad dictd number '" + std::string(text) + "'");
    std::uint64_t v = 0;
    for (char c : text) {
        int d;
        if (c >= 'A' && c <= 'Z')
            d = c - 'A';
        else if (c >= 'a' && c <= 'z')
            d = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            d = c - '0' + 52;
        else if (c == '+')
            d = 62;
        else if (c == '/')
            d = 63;
        else
            throw EDictdError("bad dictd number '" + std::string(text) + "'");
        v = v * 64 + static_cast<std::uint64_t>(d);
    }
    return v;
}

std::vector<TDictdIndexEntry> ParseDictdIndex(std::string_view text)
{
    std::vector<TDictdIndexEntry> entries;
    std::size_t pos = 0;
    std::size_t lineNo = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        const std::size_t t2 = line.rfind('\t');
        const std::size_t t1 =
            t2 == std::string_view::npos || t2 == 0 ? std::string_view::npos : line.rfind('\t', t2 - 1);
        if (t1 == std::string_view::npos)
            throw EDictdError("index line " + std::to_string(lineNo) + ": expected three fields");
        try {
            entries.push_back({std::string(line.substr(0, t1)), DecodeDictdNumber(line.substr(t1 + 1, t2 - t1 - 1)),
                               DecodeDictdNumber(line.substr(t2 + 1))});
        } catch (const EDictdError& e) {
            throw EDictdError("index line " + std::to_string(lineNo) + ": " + e.what());
        }
    }
    return entries;
}

std::string InflateGzip(std::string_view data, std::size_t maxSize)
{
    z_stream zs{};
    if (inflateInit2(&zs, 16 + MAX_WBITS) != Z_OK)
        throw EDictdError("zlib initialisation failed");
    std::string out;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    if (data.size() > 0xFFFFFFFFu) {
        inflateEnd(&zs);
        throw EDictdError("dictzip file too large");
    }
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (out.size() >= maxSize) {
            inflateEnd(&zs);
            throw EDictdError("dictzip data larger than " + std::to_string(maxSize) + " bytes");
        }
        const std::size_t have = out.size();
        const std::size_t chunk = std::min<std::size_t>(std::max<std::size_t>(have, 1 << 16), maxSize - have);
        out.resize(have + chunk);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + have);
        zs.avail_out = static_cast<uInt>(chunk);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(have + chunk - zs.avail_out);
        if (rc == Z_BUF_ERROR && zs.avail_in == 0) {
            inflateEnd(&zs);
            throw EDictdError("dictzip data truncated");
        }
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            const std::string msg = zs.msg ? zs.msg : "corrupt data";
            inflateEnd(&zs);
            throw EDictdError("dictzip data: " + msg);
        }
    }
    inflateEnd(&zs);
    return out;
}

TDictdDatabase::TDictdDatabase(const std::string& indexFile, const std::string& dataFile)
    : Entries(ParseDictdIndex(Platform::ReadWholeFile(indexFile)))
{
    const std::string raw = Platform::ReadWholeFile(dataFile);
    if (dataFile.size() >= 3 && dataFile.compare(dataFile.size() - 3, 3, ".dz") == 0)
        Data = InflateGzip(raw);
    else
        Data = raw;
}

std::string_view TDictdDatabase::EntryText(const TDictdIndexEntry& entry) const
{
    if (entry.Offset > Data.size() || entry.Length > Data.size() - entry.Offset)
        throw EDictdError("entry '" + entry.Key + "' lies outside the data");
    return std::string_view(Data).substr(entry.Offset, entry.Length);
}

}  // namespace SampleData
