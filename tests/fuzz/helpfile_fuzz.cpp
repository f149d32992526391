// Reads the input as a compiled help file: every stored name, then each object.
#include "platform/HtmlHelp.h"

#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = FuzzSupport::Scratch("helpfile") + "/input.chm";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    try {
        Platform::THelpFile help(path);
        std::string bytes;
        int n = 0;
        for (const std::string& name : help.Names()) {
            help.Read(name, bytes);
            if (++n > 64)
                break;
        }
        help.Read("1.htm", bytes);
    } catch (const Platform::EHelpFileError&) {
    }
    return 0;
}
