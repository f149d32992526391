// Feeds arbitrary bytes to the interface-language file reader: every language id the file
// names and the three shipped ones are loaded, and the list of languages is read.
#include "app/InterfaceLanguage.h"
#include "engine/WideStringList.h"

#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& Scratch()
{
    return FuzzSupport::Scratch("langfile");
}

void Load(const std::string& file, std::int16_t id)
{
    TWideStringList strings;
    try {
        if (LoadInterfaceLanguage(file, id, strings))
            strings.GetValue(u"Name");
    } catch (const EReadError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file = Scratch() + "/LangItf.lng";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    for (const TInterfaceLanguage& language : ListInterfaceLanguages(file))
        Load(file, language.Id);
    for (std::int16_t id : {100, 101, 102, -1})
        Load(file, id);
    return 0;
}
