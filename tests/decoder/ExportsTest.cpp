// The library's dynamic symbol table holds exactly the 21 exports, and all of them bind.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "SonarelApi.h"

namespace {

TEST(ExportsTest, DynamicSymbolTableHoldsExactlyTheExports)
{
    const std::string command = std::string("nm -D --defined-only ") + SONAREL_LIBRARY;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::set<std::string> symbols;
    char line[512];
    while (fgets(line, sizeof line, pipe.get()) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name)
            symbols.insert(name);
    }
    const std::set<std::string> expected = {"init",
                                            "deinit",
                                            "Open",
                                            "Close",
                                            "Play",
                                            "Pause",
                                            "Restart",
                                            "Stop",
                                            "Seek",
                                            "Seekable",
                                            "GetLength",
                                            "GetCurrentPos",
                                            "GetBitrate",
                                            "GetFrequency",
                                            "GetLayer",
                                            "GetPlayerMode",
                                            "ResetPlayerMode",
                                            "SetOutputDevice",
                                            "SetPriority",
                                            "UseScaleFactor",
                                            "LastError"};
    EXPECT_EQ(symbols, expected);
}

TEST(ExportsTest, EveryExportBinds)
{
    EXPECT_NO_THROW(SonarelApi::Get());
}

}  // namespace
