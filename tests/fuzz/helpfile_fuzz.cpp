// Reads the input as a compiled help file: every stored name, then each object.
#include "platform/HtmlHelp.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/lexora-helpfile-fuzz-" + std::to_string(::getpid()) + ".chm";
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
    std::remove(path.c_str());
    return 0;
}
