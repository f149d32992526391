#include "data/tddwriter/RecordCompressor.h"

#include "engine/CompressedText.h"
#include "engine/LittleEndian.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>

namespace TddWriter {

struct TRecordCompressor::TState {
    // libdeflate's strongest level parses each record optimally, which zlib's level 9 does
    // not try; on the tiniest texts zlib still wins by a few bytes, so each record gets the
    // smaller of the two standard zlib streams.
    struct TFreeCompressor {
        void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
    };
    std::unique_ptr<libdeflate_compressor, TFreeCompressor> Optimal{libdeflate_alloc_compressor(12)};
    z_stream Zlib{};
    std::string Payload;  // N then the text, compressed in one piece
    std::string Other;    // the zlib stream, while the two are compared

    TState()
    {
        if (!Optimal || deflateInit(&Zlib, Z_BEST_COMPRESSION) != Z_OK)
            throw ECompressionError("cannot start deflater");
    }
    ~TState() { deflateEnd(&Zlib); }
    TState(const TState&) = delete;
    TState& operator=(const TState&) = delete;
};

TRecordCompressor::TRecordCompressor()
    : state_(std::make_unique<TState>())
{
}

TRecordCompressor::~TRecordCompressor() = default;

std::size_t TRecordCompressor::AppendRecord(std::string_view text, std::string& out)
{
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 4))
        throw ECompressionError("text too long for a compressed record");
    TState& st = *state_;
    st.Payload.clear();
    PutInt32(st.Payload, static_cast<std::int32_t>(text.size()));
    st.Payload.append(text);

    z_stream& zs = st.Zlib;
    if (deflateReset(&zs) != Z_OK)
        throw ECompressionError("cannot reset deflater");
    const uLong zbound = deflateBound(&zs, static_cast<uLong>(st.Payload.size()));
    st.Other.resize(zbound);
    zs.next_out = reinterpret_cast<Bytef*>(st.Other.data());
    zs.avail_out = static_cast<uInt>(zbound);
    zs.next_in = reinterpret_cast<Bytef*>(st.Payload.data());
    zs.avail_in = static_cast<uInt>(st.Payload.size());
    if (deflate(&zs, Z_FINISH) != Z_STREAM_END)
        throw ECompressionError("compression failed");
    st.Other.resize(zbound - zs.avail_out);

    const std::size_t start = out.size();
    const std::size_t bound = libdeflate_zlib_compress_bound(st.Optimal.get(), st.Payload.size());
    out.resize(start + bound);
    std::size_t length =
        libdeflate_zlib_compress(st.Optimal.get(), st.Payload.data(), st.Payload.size(), out.data() + start, bound);
    if (length == 0)
        throw ECompressionError("compression failed");
    if (st.Other.size() < length) {
        std::copy(st.Other.begin(), st.Other.end(), out.begin() + static_cast<std::ptrdiff_t>(start));
        length = st.Other.size();
    }
    out.resize(start + length);
    return length;
}

std::string TRecordCompressor::Compress(std::string_view text)
{
    std::string out;
    AppendRecord(text, out);
    return out;
}

}  // namespace TddWriter
