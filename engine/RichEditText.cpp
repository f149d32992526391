#include "engine/RichEditText.h"

#include <algorithm>

std::u16string WideCopyRange(std::u16string_view s, int start, int stop)
{
    const long first = std::max<long>(start, 1);
    const long last = std::min<long>(stop, static_cast<long>(s.size()));
    if (last < first)
        return {};
    return std::u16string(s.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1)));
}
