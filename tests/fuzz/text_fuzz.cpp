// Arbitrary bytes through the wide-string list reader, the compressed-record reader and the
// UTF-8 decoder: each must fail cleanly or succeed, never read outside its input.
#include "engine/CompressedText.h"
#include "engine/WideStringList.h"
#include "engine/WideText.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    TWideStringList list;
    if (size > 0 && data[0] % 3 == 0) {
        list.SetSorted(true);
        list.Duplicates = static_cast<TDuplicates>(data[size - 1] % 3);
    }
    std::istringstream in(bytes);
    try {
        list.LoadFromStream(in);
    } catch (const EStringListError&) {
        // a duplicate under RejectDuplicates
    }
    if (list.UpdateCount() != 0)
        __builtin_trap();
    for (int i = 0; i < list.Count(); ++i)
        (void)WideTrim(list.Get(i));
    std::ostringstream out;
    list.SaveToStream(out);

    try {
        (void)DecompressText(bytes);
    } catch (const ECompressionError&) {
    }

    const std::u16string wide = UTF8ToWideString(bytes);
    if (wide.size() > size)
        __builtin_trap();
    for (char16_t c : wide)
        (void)WideUpperChar(WideLowerChar(c));
    return 0;
}
