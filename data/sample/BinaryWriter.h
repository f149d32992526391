// Building blocks of the program's binary files: the engine's little-endian integers and
// UTF-16LE text, short strings, and the platform's whole-file reads and all-or-nothing writes.
#pragma once

#include "engine/LittleEndian.h"
#include "platform/FileSystem.h"
#include "platform/SafeFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace SampleData {

inline void PutU8(std::string& out, std::uint8_t v)
{
    out.push_back(static_cast<char>(v));
}

// A short string: a length byte, the characters, zero padding up to maxLength.
// Throws std::length_error when the text does not fit.
void PutShortString(std::string& out, std::string_view text, std::size_t maxLength);

}  // namespace SampleData
