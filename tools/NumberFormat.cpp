#include "tools/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::string FormatFixed(int width, int decimals, double value)
{
    // to_chars ignores LC_NUMERIC, unlike printf: the separator is always ".".
    // Room for the largest double (309 digits), a sign, the point and 255 decimals.
    char buf[640];
    decimals = std::clamp(decimals, 0, 255);
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string digits = ec == std::errc() ? std::string(buf, end) : std::string();
    return PadLeft(digits, static_cast<std::size_t>(std::max(width, 0)), ' ');
}

std::string RemoveChar(std::string_view text, char ch)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ch && c != '\0')
            out.push_back(c);
    return out;
}

std::string PadLeft(std::string_view text, std::size_t length, char ch)
{
    std::string out;
    if (text.size() < length)
        out.assign(length - text.size(), ch);
    out.append(text);
    return out;
}

TFixedDigits SplitFixedDigits(int decimals, double value, std::size_t maxDigits)
{
    TFixedDigits result;
    if (!std::isfinite(value) || value < 0)
        return result;
    value += 0.0;  // -0.0 would print a minus sign
    std::string s = RemoveChar(FormatFixed(15, decimals, value), ' ');
    if (s.size() > 20)
        s.resize(20);
    if (auto dot = s.find('.'); dot != std::string::npos) {
        result.Fraction = s.substr(dot + 1, 5);
        s.resize(dot);
    }
    if (s.empty() || s.size() > maxDigits
        || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return result;
    result.Integer = PadLeft(s, maxDigits, '0');
    result.Valid = true;
    return result;
}
