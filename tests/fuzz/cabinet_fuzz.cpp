// Reads arbitrary bytes as a cabinet through platform/Cabinet into a scratch folder, and checks
// that nothing appears outside the target folder.
#include "platform/Cabinet.h"

#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string& Scratch()
{
    return FuzzSupport::Scratch("cabinet");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::unique_ptr<Platform::TCabinetDecompressor> decompressor =
        Platform::TCabinetDecompressor::Create();
    if (!decompressor)
        std::abort();
    const std::string cabinet = Scratch() + "/in.cab";
    const std::string target = Scratch() + "/box/out";
    {
        std::ofstream out(cabinet, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    fs::create_directories(target);
    decompressor->IsCabinet(cabinet);
    Platform::TCabinetNotify notify;
    notify.SizeLimit = 64u << 20;
    notify.OverwriteFile = [](const Platform::TCabinetEntry& entry, const std::string&) { return entry.Size % 2 == 0; };
    const Platform::TCabinetResult result = decompressor->Copy(cabinet, target, notify);
    if (!result.Ok() && result.Message.empty())
        std::abort();
    // Only the cabinet and the target folder may be in the scratch folder.
    for (const auto& item : fs::directory_iterator(Scratch()))
        if (item.path().filename() != "in.cab" && item.path().filename() != "box")
            std::abort();
    for (const auto& item : fs::directory_iterator(Scratch() + "/box"))
        if (item.path().filename() != "out")
            std::abort();
    fs::remove_all(target);
    return 0;
}
