// The decoder library as the program uses it: loaded with dlopen, its 21 exports bound by name.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "decoder/StreamCallbacks.h"

struct SonarelApi {
    bool (*init)();
    bool (*deinit)();
    bool (*Open)(const char*, int32_t, SonarelOpenProc, SonarelCloseProc, SonarelRewindProc, SonarelReadProc,
                 SonarelSeekProc, SonarelSizeProc, void*);
    bool (*Close)();
    int32_t (*Play)(uint32_t, uint32_t, uint8_t*);
    bool (*Pause)(int32_t);
    bool (*Restart)();
    bool (*Stop)();
    bool (*Seek)(uint32_t);
    bool (*Seekable)();
    int32_t (*GetLength)();
    int32_t (*GetCurrentPos)();
    int32_t (*GetBitrate)();
    int32_t (*GetFrequency)();
    int32_t (*GetLayer)();
    int32_t (*GetPlayerMode)();
    void (*ResetPlayerMode)();
    bool (*SetOutputDevice)(int32_t, const char*);
    bool (*SetPriority)(int32_t);
    bool (*UseScaleFactor)(int32_t, float);
    int32_t (*LastError)();

    // Loads the library once per process; every export must be found.
    static const SonarelApi& Get()
    {
        static SonarelApi api = Load();
        return api;
    }

private:
    template <typename F> static void Bind(void* lib, F& f, const char* name)
    {
        f = reinterpret_cast<F>(dlsym(lib, name));
        if (f == nullptr)
            throw std::runtime_error(std::string("missing export ") + name);
    }
    static SonarelApi Load()
    {
        void* lib = dlopen(SONAREL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (lib == nullptr)
            throw std::runtime_error(dlerror());
        SonarelApi a{};
        Bind(lib, a.init, "init");
        Bind(lib, a.deinit, "deinit");
        Bind(lib, a.Open, "Open");
        Bind(lib, a.Close, "Close");
        Bind(lib, a.Play, "Play");
        Bind(lib, a.Pause, "Pause");
        Bind(lib, a.Restart, "Restart");
        Bind(lib, a.Stop, "Stop");
        Bind(lib, a.Seek, "Seek");
        Bind(lib, a.Seekable, "Seekable");
        Bind(lib, a.GetLength, "GetLength");
        Bind(lib, a.GetCurrentPos, "GetCurrentPos");
        Bind(lib, a.GetBitrate, "GetBitrate");
        Bind(lib, a.GetFrequency, "GetFrequency");
        Bind(lib, a.GetLayer, "GetLayer");
        Bind(lib, a.GetPlayerMode, "GetPlayerMode");
        Bind(lib, a.ResetPlayerMode, "ResetPlayerMode");
        Bind(lib, a.SetOutputDevice, "SetOutputDevice");
        Bind(lib, a.SetPriority, "SetPriority");
        Bind(lib, a.UseScaleFactor, "UseScaleFactor");
        Bind(lib, a.LastError, "LastError");
        return a;
    }
};
