#include "data/sample/BinaryWriter.h"

#include <stdexcept>

namespace SampleData {

void PutShortString(std::string& out, std::string_view text, std::size_t maxLength)
{
    if (text.size() > maxLength || maxLength > 255)
        throw std::length_error("short string longer than " + std::to_string(maxLength) + ": " + std::string(text));
    PutU8(out, static_cast<std::uint8_t>(text.size()));
    out.append(text);
    out.append(maxLength - text.size(), '\0');
}

}  // namespace SampleData
