// Little-endian integers and UTF-16LE text, as every binary file of the program stores them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

std::uint16_t GetUInt16(const char* p);
std::int32_t GetInt32(const char* p);
std::int64_t GetInt64(const char* p);
void SetUInt16(char* p, std::uint16_t v);
void SetInt32(char* p, std::int32_t v);
void SetInt64(char* p, std::int64_t v);
// Append the value's bytes to Out.
void PutInt16(std::string& out, std::int16_t v);
void PutInt32(std::string& out, std::int32_t v);
void PutInt64(std::string& out, std::int64_t v);

// Bytes to UTF-16 code units; an odd last byte is not part of the text.
std::u16string BytesToWide(std::string_view bytes);
// UTF-16LE units that were read into place byte for byte, put into the host's order (nothing
// to do on a little-endian host).
void WideFromLittleEndian(char16_t* text, std::size_t count);
// UTF-16LE bytes of the text, without byte-order mark or terminator.
std::string WideToBytes(std::u16string_view text);
