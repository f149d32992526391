// The operations behind the library's exported C functions (Exports.cpp), on the one player
// object of the process. None of them lets an exception escape: failures become a false (or
// -1) result and the last-error code.
#pragma once

#include <cstdint>

#include "decoder/StreamCallbacks.h"

namespace sonarel::api {

bool Init();
bool Deinit();
bool Open(const char* fileName, int32_t useCallbacks, SonarelOpenProc openProc, SonarelCloseProc closeProc,
          SonarelRewindProc rewindProc, SonarelReadProc readProc, SonarelSeekProc seekProc, SonarelSizeProc sizeProc,
          void* user);
bool Close();
// 0 when playback started (or the call was refused for its mode), 1 when setting up failed.
int32_t Play(uint32_t fromMs, uint32_t toMs, uint8_t* done);
bool Pause(int32_t resume);
bool Restart();
bool Stop();
bool Seek(uint32_t ms);
bool Seekable();
int32_t GetLength();
int32_t GetCurrentPos();
int32_t GetBitrate();
int32_t GetFrequency();
int32_t GetLayer();
int32_t GetPlayerMode();
void ResetPlayerMode();
bool SetOutputDevice(int32_t deviceType, const char* fileName);
bool SetPriority(int32_t priority);
bool UseScaleFactor(int32_t use, float factor);
int32_t LastError();

}  // namespace sonarel::api
