// Compressed text records: a zlib stream (level 9) whose inflated payload is a 32-bit
// little-endian length N followed by N bytes of 8-bit text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

class ECompressionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Returns the whole zlib stream for Text.
std::string CompressText(std::string_view text);

// Inflates a record and returns its text; bytes after the N text bytes are ignored.
// Throws ECompressionError for corrupt or truncated data, a negative N, or fewer than N bytes.
std::string DecompressText(std::string_view record);
