// The six stream callbacks through which the caller of Open serves the input. Every one takes the
// caller's user value first and (except OpenProc, which produces it) the stream handle second.
// Byte flags are 0 or 1; widths are those of the exported interface.
#pragma once

#include <cstdint>

extern "C" {

// Sets *handle to a non-zero handle (0 = failure) and *notSeekable to 1 when the stream cannot seek.
typedef void (*SonarelOpenProc)(void* user, uint8_t* notSeekable, uint32_t* handle);
// Releases the stream; called once.
typedef void (*SonarelCloseProc)(void* user, uint32_t handle);
// Positions the stream at its beginning; *ok = 0 means failure.
typedef void (*SonarelRewindProc)(void* user, uint32_t handle, uint8_t* ok);
// Reads up to count bytes; a read is good only when *ok != 0 and *read == count.
typedef void (*SonarelReadProc)(void* user, uint32_t handle, void* buffer, int32_t count, int32_t* read, uint8_t* ok);
// origin 0: from the beginning, 1: from the current position; *result = new position or -1.
typedef void (*SonarelSeekProc)(void* user, uint32_t handle, int32_t distance, int32_t origin, int32_t* result);
// *size = stream size in bytes, -1 on failure.
typedef void (*SonarelSizeProc)(void* user, uint32_t handle, int32_t* size);

}  // extern "C"

namespace sonarel {

struct StreamCallbacks {
    SonarelOpenProc open = nullptr;
    SonarelCloseProc close = nullptr;
    SonarelRewindProc rewind = nullptr;
    SonarelReadProc read = nullptr;
    SonarelSeekProc seek = nullptr;
    SonarelSizeProc size = nullptr;
    void* user = nullptr;
};

}  // namespace sonarel
