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

// A thread that installs a private slot (ScopedPrivateLastError) keeps the codes that the code
// it calls sets to itself: the playback thread's end of stream is a failed read, which must
// not show up as an error of whatever export the caller happens to be running.
inline thread_local int32_t* tPrivateLastError = nullptr;

inline void SetLastError(int32_t code) noexcept
{
    if (tPrivateLastError != nullptr)
        *tPrivateLastError = code;
    else
        gLastError.store(code, std::memory_order_relaxed);
}
// Sets the library's code even from a thread with a private slot.
inline void PublishLastError(int32_t code) noexcept
{
    gLastError.store(code, std::memory_order_relaxed);
}
inline int32_t PeekLastError() noexcept
{
    return gLastError.load(std::memory_order_relaxed);
}
inline void ClearLastError() noexcept
{
    SetLastError(ErrorNone);
}
// Returns the code and resets it to 0.
inline int32_t TakeLastError() noexcept
{
    return gLastError.exchange(ErrorNone, std::memory_order_relaxed);
}

class ScopedPrivateLastError {
public:
    ScopedPrivateLastError() noexcept
        : previous_(tPrivateLastError)
    {
        tPrivateLastError = &code_;
    }
    ~ScopedPrivateLastError() { tPrivateLastError = previous_; }
    ScopedPrivateLastError(const ScopedPrivateLastError&) = delete;
    ScopedPrivateLastError& operator=(const ScopedPrivateLastError&) = delete;
    int32_t Code() const noexcept { return code_; }

private:
    int32_t code_ = ErrorNone;
    int32_t* previous_;
};

}  // namespace sonarel
