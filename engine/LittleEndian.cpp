#include "engine/LittleEndian.h"

#include <bit>

namespace {

template <typename T> T Get(const char* p)
{
    std::uint64_t v = 0;
    for (int i = static_cast<int>(sizeof(T)) - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(p[i]);
    return static_cast<T>(v);
}

template <typename T> void Set(char* p, T v)
{
    const auto u = static_cast<std::uint64_t>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

template <typename T> void Put(std::string& out, T v)
{
    char b[sizeof(T)];
    Set(b, v);
    out.append(b, sizeof(T));
}

}  // namespace

std::uint16_t GetUInt16(const char* p)
{
    return Get<std::uint16_t>(p);
}
std::int32_t GetInt32(const char* p)
{
    return Get<std::int32_t>(p);
}
std::int64_t GetInt64(const char* p)
{
    return Get<std::int64_t>(p);
}
void SetUInt16(char* p, std::uint16_t v)
{
    Set(p, v);
}
void SetInt32(char* p, std::int32_t v)
{
    Set(p, v);
}
void SetInt64(char* p, std::int64_t v)
{
    Set(p, v);
}
void PutInt16(std::string& out, std::int16_t v)
{
    Put(out, v);
}
void PutInt32(std::string& out, std::int32_t v)
{
    Put(out, v);
}
void PutInt64(std::string& out, std::int64_t v)
{
    Put(out, v);
}

std::u16string BytesToWide(std::string_view bytes)
{
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(GetUInt16(bytes.data() + 2 * i));
    return text;
}

void WideFromLittleEndian(char16_t* text, std::size_t count)
{
    if constexpr (std::endian::native != std::endian::little)
        for (std::size_t i = 0; i < count; ++i)
            text[i] = static_cast<char16_t>(GetUInt16(reinterpret_cast<const char*>(text + i)));
}

std::string WideToBytes(std::u16string_view text)
{
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        SetUInt16(bytes.data() + 2 * i, text[i]);
    return bytes;
}
