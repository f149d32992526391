#include "tools/NumberWordTable.h"

#include "platform/Locale.h"

#include <stdexcept>

std::string NumberWordBytes(std::string_view utf8, int codePage)
{
    bool lossy = false;
    std::string bytes = Platform::WideToAnsi(Platform::Utf8ToWide(utf8), codePage, &lossy);
    if (lossy)
        throw std::logic_error("number word not in code page " + std::to_string(codePage));
    return bytes;
}

std::vector<std::string> NumberWordTable(std::initializer_list<std::string_view> utf8, int codePage)
{
    std::vector<std::string> words;
    words.reserve(utf8.size());
    for (std::string_view word : utf8)
        words.push_back(NumberWordBytes(word, codePage));
    return words;
}
