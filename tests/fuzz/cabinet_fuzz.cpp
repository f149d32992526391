// Reads arbitrary bytes as a cabinet through platform/Cabinet into a scratch folder, and checks
// that nothing appears outside the target folder.
#include "platform/Cabinet.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The scratch folder of this process, removed at exit (the name lives in static storage that
// outlives the exit handlers).
char gScratch[64];

const std::string& Scratch()
{
    static const std::string folder = [] {
        std::snprintf(gScratch, sizeof gScratch, "%s/lexora-cabinet-fuzz-XXXXXX",
                      fs::exists("/dev/shm") ? "/dev/shm" : "/tmp");
        if (::mkdtemp(gScratch) == nullptr)
            std::abort();
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(gScratch, ec);
        });
        return std::string(gScratch);
    }();
    return folder;
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
