// Conversions between the engine's wide strings and Qt's; both are UTF-16.
#pragma once

#include <QString>

#include <string>
#include <string_view>

inline QString ToQString(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::u16string ToU16(const QString& s)
{
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
}
