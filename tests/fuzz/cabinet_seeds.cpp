// Writes a few cabinets made with gcab (stored and MSZIP, with sub-folders) into the folder given
// as argument.
#include "tests/platform/CabinetTestSupport.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    using namespace CabinetTest;
    const std::string corpus = fs::absolute(argv[1]).string();
    TScratch scratch;
    WriteFile(scratch / "a.txt", "alpha\n");
    WriteFile(scratch / "sub/b.txt", SomeText(40000));
    WriteFile(scratch / "sub/c.bin", std::string(3000, '\x7f'));
    MakeCabinet(corpus + "/seed-zip.cab", scratch.Path(), {"a.txt", "sub/b.txt", "sub/c.bin"}, true);
    MakeCabinet(corpus + "/seed-stored.cab", scratch.Path(), {"a.txt", "sub/c.bin"}, false);
    MakeCabinet(corpus + "/seed-one.cab", scratch.Path(), {"a.txt"}, true);
    return 0;
}
