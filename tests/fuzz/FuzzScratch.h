// A scratch folder of the fuzzing process (in /dev/shm where there is one), made on first use
// and removed at exit. The name lives in static storage that outlives the exit handlers.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace FuzzSupport {

// Target names the folder ("lexora-<target>-fuzz-XXXXXX"); only the first call's counts.
inline const std::string& Scratch(const char* target)
{
    static char name[128];
    static const std::string folder = [target] {
        std::snprintf(name, sizeof name, "%s/lexora-%s-fuzz-XXXXXX",
                      std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp", target);
        if (::mkdtemp(name) == nullptr)
            std::abort();
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(name, ec);
        });
        return std::string(name);
    }();
    return folder;
}

}  // namespace FuzzSupport
