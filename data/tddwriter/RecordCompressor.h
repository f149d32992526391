// Compressed text records for the maker's files, never larger than CompressText makes them
// and mostly smaller: the same payload in one standard zlib stream, from deflaters reused for
// every record (hundreds of thousands of articles).
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
