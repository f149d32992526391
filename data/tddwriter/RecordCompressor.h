// Compressed text records made with one reused zlib deflater: the same bytes as CompressText,
// without setting up a new deflater for every record (hundreds of thousands of articles).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace TddWriter {

class TRecordCompressor {
public:
    TRecordCompressor();
    ~TRecordCompressor();
    TRecordCompressor(const TRecordCompressor&) = delete;
    TRecordCompressor& operator=(const TRecordCompressor&) = delete;

    // Appends the record of Text to Out and returns its byte length.
    std::size_t AppendRecord(std::string_view text, std::string& out);
    std::string Compress(std::string_view text);

private:
    struct TState;
    std::unique_ptr<TState> state_;
};

}  // namespace TddWriter
