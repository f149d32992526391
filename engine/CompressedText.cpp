#include "engine/CompressedText.h"

#include "engine/LittleEndian.h"

#include <zlib.h>

#include <cstdint>
#include <limits>

namespace {

constexpr uInt kChunk = 1u << 16;

// Inflates from the record into out until out holds `want` bytes or the stream ends.
// Returns whether the stream ended.
bool InflateInto(z_stream& zs, std::string& out, size_t want)
{
    while (out.size() < want) {
        size_t old = out.size();
        size_t step = std::min<size_t>(want - old, kChunk);
        out.resize(old + step);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + old);
        zs.avail_out = static_cast<uInt>(step);
        int rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(old + (step - zs.avail_out));
        if (rc == Z_STREAM_END)
            return true;
        if (rc != Z_OK)
            throw ECompressionError(zs.msg ? zs.msg : "corrupt compressed record");
        if (zs.avail_in == 0 && out.size() < want)
            throw ECompressionError("truncated compressed record");
    }
    return false;
}

}  // namespace

std::string CompressText(std::string_view text)
{
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() - 4))
        throw ECompressionError("text too long for a compressed record");
    std::string payload;
    payload.reserve(4 + text.size());
    PutInt32(payload, static_cast<std::int32_t>(text.size()));
    payload.append(text);

    uLongf bound = compressBound(static_cast<uLong>(payload.size()));
    std::string out(bound, '\0');
    int rc = compress2(reinterpret_cast<Bytef*>(out.data()), &bound, reinterpret_cast<const Bytef*>(payload.data()),
                       static_cast<uLong>(payload.size()), Z_BEST_COMPRESSION);
    if (rc != Z_OK)
        throw ECompressionError("compression failed");
    out.resize(bound);
    return out;
}

std::string DecompressText(std::string_view record)
{
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        throw ECompressionError("cannot start inflater");
    struct Guard {
        z_stream& z;
        ~Guard() { inflateEnd(&z); }
    } guard{zs};
    if (record.size() > std::numeric_limits<uInt>::max())
        throw ECompressionError("compressed record too long");
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(record.data()));
    zs.avail_in = static_cast<uInt>(record.size());

    std::string head;
    bool ended = InflateInto(zs, head, 4);
    if (head.size() < 4)
        throw ECompressionError("compressed record holds no length");
    const std::int32_t n = GetInt32(head.data());
    if (n < 0)
        throw ECompressionError("compressed record has a negative length");
    std::string text;
    // Grow with the data actually inflated, so a huge N in a tiny record allocates nothing large.
    if (!ended)
        InflateInto(zs, text, static_cast<size_t>(n));
    if (text.size() < static_cast<size_t>(n))
        throw ECompressionError("compressed record shorter than its length");
    return text;
}
