// Little-endian building blocks of the program's binary files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace SampleData {

inline void PutU8(std::string& out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }

inline void PutLE(std::string& out, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void PutI16(std::string& out, std::int16_t v) { PutLE(out, static_cast<std::uint16_t>(v), 2); }
inline void PutI32(std::string& out, std::int32_t v) { PutLE(out, static_cast<std::uint32_t>(v), 4); }
inline void PutI64(std::string& out, std::int64_t v) { PutLE(out, static_cast<std::uint64_t>(v), 8); }

// A short string: a length byte, the characters, zero padding up to maxLength.
// Throws std::length_error when the text does not fit.
void PutShortString(std::string& out, std::string_view text, std::size_t maxLength);

// UTF-16LE bytes of a wide string (no byte-order mark, no terminator).
std::string Utf16LEBytes(std::u16string_view text);

// Writes a whole file: a temporary name in the same folder, fsync, rename over the old one.
// Throws std::runtime_error with the path and the reason on failure.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file; throws std::runtime_error when it cannot.
std::string ReadWholeFile(const std::string& path);

} // namespace SampleData
