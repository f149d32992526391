// The exports of the decoder library libSonarel.so that the player component binds by name,
// and the six stream callbacks it hands to Open. The library is reached only through dlopen.
#pragma once

#include <cstdint>

extern "C" {
// *handle: a non-zero 32-bit handle of the opened stream (0 = failure); *notSeekable: 1 or 0.
typedef void (*TSonarelOpenProc)(void* user, uint8_t* notSeekable, uint32_t* handle);
typedef void (*TSonarelCloseProc)(void* user, uint32_t handle);
typedef void (*TSonarelRewindProc)(void* user, uint32_t handle, uint8_t* ok);
typedef void (*TSonarelReadProc)(void* user, uint32_t handle, void* buffer, int32_t count, int32_t* read, uint8_t* ok);
typedef void (*TSonarelSeekProc)(void* user, uint32_t handle, int32_t distance, int32_t origin, int32_t* result);
typedef void (*TSonarelSizeProc)(void* user, uint32_t handle, int32_t* size);
}

// The 19 exports the component binds, in the order it looks them up.
struct TSonarelExports {
    bool (*init)() = nullptr;
    bool (*deinit)() = nullptr;
    bool (*Open)(const char* fileName, int32_t useCallbacks, TSonarelOpenProc, TSonarelCloseProc, TSonarelRewindProc,
                 TSonarelReadProc, TSonarelSeekProc, TSonarelSizeProc, void* user) = nullptr;
    bool (*Pause)(int32_t resume) = nullptr;
    bool (*Restart)() = nullptr;
    bool (*Stop)() = nullptr;
    bool (*SetPriority)(int32_t priority) = nullptr;
    bool (*SetOutputDevice)(int32_t deviceType, const char* fileName) = nullptr;
    int32_t (*Play)(uint32_t fromMs, uint32_t toMs, uint8_t* done) = nullptr;
    bool (*Close)() = nullptr;
    int32_t (*GetFrequency)() = nullptr;
    int32_t (*GetBitrate)() = nullptr;
    int32_t (*GetLayer)() = nullptr;
    int32_t (*GetPlayerMode)() = nullptr;
    int32_t (*GetCurrentPos)() = nullptr;
    int32_t (*GetLength)() = nullptr;
    void (*ResetPlayerMode)() = nullptr;
    bool (*Seek)(uint32_t ms) = nullptr;
    int32_t (*LastError)() = nullptr;
};
