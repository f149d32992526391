#include "data/tddwriter/RecordCompressor.h"

#include "engine/CompressedText.h"
#include "engine/LittleEndian.h"

#include <zlib.h>

#include <cstdint>
#include <limits>

namespace TddWriter {

struct TRecordCompressor::TState {
    z_stream Stream{};
    std::string Payload;  // N then the text, fed to the deflater in one piece
};

TRecordCompressor::TRecordCompressor()
    : state_(std::make_unique<TState>())
{
    if (deflateInit(&state_->Stream, Z_BEST_COMPRESSION) != Z_OK)
        throw ECompressionError("cannot start deflater");
}

TRecordCompressor::~TRecordCompressor()
{
    deflateEnd(&state_->Stream);
}

std::size_t TRecordCompressor::AppendRecord(std::string_view text, std::string& out)
{
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 4))
        throw ECompressionError("text too long for a compressed record");
    z_stream& zs = state_->Stream;
    if (deflateReset(&zs) != Z_OK)
        throw ECompressionError("cannot reset deflater");
    std::string& payload = state_->Payload;
    payload.clear();
    PutInt32(payload, static_cast<std::int32_t>(text.size()));
    payload.append(text);

    const std::size_t start = out.size();
    const uLong bound = deflateBound(&zs, static_cast<uLong>(payload.size()));
    out.resize(start + bound);
    zs.next_out = reinterpret_cast<Bytef*>(out.data() + start);
    zs.avail_out = static_cast<uInt>(bound);

    zs.next_in = reinterpret_cast<Bytef*>(payload.data());
    zs.avail_in = static_cast<uInt>(payload.size());
    if (deflate(&zs, Z_FINISH) != Z_STREAM_END)
        throw ECompressionError("compression failed");
    const std::size_t length = bound - zs.avail_out;
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
