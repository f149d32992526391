// The library's last-error code: one process-wide value that the exports clear on entry and the
// frame reader, the outputs and the playback thread set when something fails.
#pragma once

#include <atomic>
#include <cstdint>

namespace sonarel {

enum DecoderError : int32_t {
  ErrorNone = 0,
  ErrorInternal = 1,     // unexpected failure caught inside an export or the playback thread
  ErrorMode = 2,         // no player object, or the player mode does not allow the call
  ErrorStream = 3,       // opening, reading, rewinding or positioning the input failed
  ErrorNotSeekable = 4,  // a jump was asked of a stream that cannot seek
  ErrorOutput = 5,       // setting up or writing the output failed
};

// Written by the playback thread and read by the caller's thread, hence atomic.
extern std::atomic<int32_t> gLastError;

inline void SetLastError(int32_t code) noexcept { gLastError.store(code, std::memory_order_relaxed); }
inline int32_t PeekLastError() noexcept { return gLastError.load(std::memory_order_relaxed); }
inline void ClearLastError() noexcept { SetLastError(ErrorNone); }
// Returns the code and resets it to 0.
inline int32_t TakeLastError() noexcept { return gLastError.exchange(ErrorNone, std::memory_order_relaxed); }

}  // namespace sonarel
