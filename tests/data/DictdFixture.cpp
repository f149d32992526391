#include "DictdFixture.h"

#include "data/sample/BinaryWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace DataTest {
namespace {

std::string Base64Number(std::uint64_t v)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string s;
    do {
        s.insert(s.begin(), digits[v % 64]);
        v /= 64;
    } while (v);
    return s;
}

void Put16(std::string& out, unsigned v)
{
    PutInt16(out, static_cast<std::int16_t>(v));
}

}  // namespace

std::string MakeDictzip(const std::string& data, std::size_t chunkSize)
{
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string body;
    std::vector<unsigned> chunkLengths;
    for (std::size_t pos = 0; pos < data.size() || (pos == 0 && data.empty()); pos += chunkSize) {
        const std::size_t n = std::min(chunkSize, data.size() - pos);
        const bool last = pos + n >= data.size();
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + pos));
        zs.avail_in = static_cast<uInt>(n);
        const std::size_t before = body.size();
        int rc;
        do {
            char buf[4096];
            zs.next_out = reinterpret_cast<Bytef*>(buf);
            zs.avail_out = sizeof buf;
            rc = deflate(&zs, last ? Z_FINISH : Z_FULL_FLUSH);
            body.append(buf, sizeof buf - zs.avail_out);
        } while (zs.avail_out == 0 || (last && rc != Z_STREAM_END));
        chunkLengths.push_back(static_cast<unsigned>(body.size() - before));
        if (last)
            break;
    }
    deflateEnd(&zs);

    std::string out = "\x1f\x8b\x08\x04";
    out += std::string(4, '\0');  // mtime
    out += "\x02\x03";            // best compression, Unix
    std::string field = "RA";
    Put16(field, static_cast<unsigned>(6 + 2 * chunkLengths.size()));
    Put16(field, 1);
    Put16(field, static_cast<unsigned>(chunkSize));
    Put16(field, static_cast<unsigned>(chunkLengths.size()));
    for (unsigned len : chunkLengths)
        Put16(field, len);
    Put16(out, static_cast<unsigned>(field.size()));
    out += field + body;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    PutInt32(out, static_cast<std::int32_t>(crc));
    PutInt32(out, static_cast<std::int32_t>(data.size()));
    return out;
}

void WriteDictd(const std::string& base, const std::vector<TTestEntry>& entries,
                const std::vector<std::pair<std::string, std::size_t>>& aliases)
{
    std::string data;
    std::vector<std::pair<std::string, std::string>> lines;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const TTestEntry& e : entries) {
        ranges.emplace_back(data.size(), e.Text.size());
        data += e.Text;
    }
    auto line = [&](const std::string& key, std::size_t i) {
        return key + "\t" + Base64Number(ranges[i].first) + "\t" + Base64Number(ranges[i].second) + "\n";
    };
    for (std::size_t i = 0; i < entries.size(); ++i)
        lines.emplace_back(entries[i].Key, line(entries[i].Key, i));
    for (const auto& [key, i] : aliases)
        lines.emplace_back(key, line(key, i));
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string index;
    for (const auto& l : lines)
        index += l.second;
    Platform::WriteFileAtomically(base + ".index", index);
    Platform::WriteFileAtomically(base + ".dict.dz", MakeDictzip(data));
}

std::string FreshFolder(const std::string& name)
{
    const char* root = std::getenv("LEXORA_TEST_DATA");
    const std::filesystem::path folder =
        std::filesystem::path(root ? root : std::filesystem::temp_directory_path().string()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

}  // namespace DataTest
