#include "decoder/PlayerApi.h"

#include <sched.h>

#include <algorithm>
#include <climits>
#include <string>

#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/LastError.h"
#include "decoder/MPEGError.h"
#include "decoder/PlayThread.h"
#include "decoder/Player.h"

namespace sonarel::api {

namespace {

// Process-wide state of the library.
struct TLibrary {
    std::unique_ptr<TPlayerObject> player;
    int32_t length = -1;      // of the open stream in ms
    uint8_t* done = nullptr;  // the caller's done byte given to the last Play
    std::unique_ptr<TPlayThread> thread;
    std::string fileName;  // private copy of the name given to Open

    // A host that unloads the library without deinit still gets its thread stopped first.
    ~TLibrary()
    {
        try {
            Deinit();
        } catch (...) {
        }
    }
};

TLibrary& Lib()
{
    static TLibrary library;
    return library;
}

void WriteDone(uint8_t value)
{
    if (Lib().done != nullptr)
        std::atomic_ref<uint8_t>(*Lib().done).store(value, std::memory_order_release);
}

// Runs an export's body: exceptions become error 1 unless a code was set already.
template <typename T, typename F> T Guard(T failed, F body)
{
    try {
        return body();
    } catch (...) {
        if (PeekLastError() == ErrorNone)
            SetLastError(ErrorInternal);
    }
    return failed;
}

// Refuses a call with error 2 (no player, or a mode that does not allow the call).
bool Refuse()
{
    SetLastError(ErrorMode);
    return false;
}

// Runs an export's body on the player object: the code is cleared first, the call is refused
// with error 2 (result `noPlayer`) when there is none, exceptions are handled as in Guard.
template <typename T, typename F> T OnPlayer(T failed, T noPlayer, F body)
{
    ClearLastError();
    return Guard(failed, [&]() -> T {
        TPlayerObject* player = Lib().player.get();
        if (player == nullptr) {
            Refuse();
            return noPlayer;
        }
        return body(*player);
    });
}
template <typename F> bool OnPlayer(F body)
{
    return OnPlayer(false, false, body);
}

int32_t Mode(const TPlayerObject& player)
{
    return player.mode.load();
}

// From the published values: the playback thread may be rewriting the header meanwhile.
float MsPerFrame(const TPlayerObject& player)
{
    return player.shown.msPerFrame.load();
}

int32_t MsToFrame(const TPlayerObject& player, uint32_t ms)
{
    return static_cast<int32_t>(static_cast<float>(ms) / MsPerFrame(player));
}

// Releases the open stream and its header (the stream's close callback is called here).
void ReleaseStream(TPlayerObject& player)
{
    Lib().thread.reset();  // any previous thread has ended; make sure it is gone
    player.crc = nullptr;
    player.header.reset();
    player.stream.reset();
    Lib().length = -1;
    player.currentFrame.store(-1);
}

// Starts playback of the player's range on a new thread: 0 started, 1 setup failed.
int32_t StartPlayback(TPlayerObject& player)
{
    std::unique_ptr<TPlayThread> thread;
    try {
        thread = std::make_unique<TPlayThread>(player, Lib().done);
    } catch (const TMPEGError&) {
        player.mode.store(ModeStopped);
        SetLastError(ErrorOutput);
        return 1;
    } catch (...) {
        player.mode.store(ModeStopped);
        SetLastError(ErrorInternal);
        return 1;
    }
    Lib().thread = std::move(thread);  // waits for the previous one, which has ended
    player.mode.store(ModePlaying);
    try {
        Lib().thread->Start();
    } catch (...) {
        Lib().thread.reset();
        player.mode.store(ModeStopped);
        SetLastError(ErrorInternal);
        return 1;
    }
    return 0;
}

// Play with the range given in frames (Restart keeps its frames exactly).
int32_t PlayFrames(TPlayerObject& player, int32_t startFrame, int32_t endFrame, uint8_t* done)
{
    Lib().done = done;
    player.stopRequest.store(0);
    WriteDone(0);
    player.startFrame = startFrame;
    player.endFrame = endFrame;
    return StartPlayback(player);
}

}  // namespace

bool Init()
{
    ClearLastError();
    return Guard(false, [] {
        if (Lib().player)
            return Refuse();
        Lib().player = std::make_unique<TPlayerObject>();
        Lib().length = -1;
        return true;
    });
}

bool Deinit()
{
    ClearLastError();
    Guard(false, [] {
        if (Lib().player) {
            if (Mode(*Lib().player) != ModeClosed)
                Close();
            Lib().thread.reset();
            Lib().player.reset();
            Lib().length = -1;
            Lib().done = nullptr;
        }
        return true;
    });
    return true;
}

bool Open(const char* fileName, int32_t useCallbacks, SonarelOpenProc openProc, SonarelCloseProc closeProc,
          SonarelRewindProc rewindProc, SonarelReadProc readProc, SonarelSeekProc seekProc, SonarelSizeProc sizeProc,
          void* user)
{
    return OnPlayer([&](TPlayerObject& player) {
        const int32_t mode = Mode(player);
        if (mode != ModeClosed && mode != ModeStopped)
            return Refuse();
        // A stream still attached (mode 1, or a failed Open) is closed before the new one opens.
        ReleaseStream(player);
        player.mode.store(ModeClosed);

        if (useCallbacks != 0) {
            if (!openProc || !closeProc || !rewindProc || !readProc || !seekProc || !sizeProc) {
                SetLastError(ErrorStream);
                return false;
            }
            StreamCallbacks callbacks{openProc, closeProc, rewindProc, readProc, seekProc, sizeProc, user};
            player.stream = FrameReader::OpenCallbacks(callbacks);
        } else {
            if (fileName == nullptr) {
                SetLastError(ErrorStream);
                return false;
            }
            Lib().fileName = fileName;
            player.stream = FrameReader::OpenFile(Lib().fileName.c_str());
        }
        player.header = std::make_unique<Header>();
        player.notSeekable.store(player.stream->NotSeekable() ? 1 : 0);

        if (!player.header->ReadNext(*player.stream, player.crc)) {
            // No valid first frame: nothing stays open.
            ReleaseStream(player);
            SetLastError(ErrorStream);
            return false;
        }
        player.PublishHeader();
        const float total = player.header->TotalDuration(*player.stream);
        Lib().length = total >= static_cast<float>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(total);
        player.endFrame = Lib().length;
        player.startFrame = 0;
        player.mode.store(ModeStopped);
        return true;
    });
}

bool Close()
{
    return OnPlayer([](TPlayerObject& player) {
        const int32_t mode = Mode(player);
        if (mode == ModeClosed)
            return Refuse();
        if (mode == ModePlaying || mode == ModePaused)
            Stop();
        ReleaseStream(player);
        player.mode.store(ModeClosed);
        return true;
    });
}

int32_t Play(uint32_t fromMs, uint32_t toMs, uint8_t* done)
{
    return OnPlayer(int32_t{1}, int32_t{0}, [&](TPlayerObject& player) -> int32_t {
        const int32_t mode = Mode(player);
        // Without an open stream there is nothing to play (mode 0, or no header).
        if (mode >= ModePlaying || mode == ModeClosed || !player.header) {
            Refuse();
            return 0;
        }
        const uint32_t length = static_cast<uint32_t>(std::max(Lib().length, 0));
        int32_t startFrame = player.startFrame;
        if (fromMs != 0 && fromMs < toMs && fromMs < length)
            startFrame = MsToFrame(player, fromMs);
        // The length is estimated from the first frame; a range that reaches it plays to the end
        // of the stream, so that a stream whose later frames are shorter is not cut off.
        const bool toEnd = toMs == 0 || toMs >= length;
        const int32_t endFrame = toEnd ? INT32_MAX : MsToFrame(player, toMs);
        return PlayFrames(player, startFrame, endFrame, done);
    });
}

bool Pause(int32_t resume)
{
    return OnPlayer([&](TPlayerObject& player) {
        if (!Lib().thread)
            return Refuse();
        const int32_t mode = Mode(player);
        if ((mode == ModePaused && resume != 0) || (mode == ModePlaying && resume == 0))
            player.pauseToggle.store(1, std::memory_order_release);
        return true;
    });
}

// Unlike the other exports Restart does not clear the code on entry.
bool Restart()
{
    return Guard(false, [] {
        TPlayerObject* player = Lib().player.get();
        if (player == nullptr)
            return Refuse();
        const int32_t mode = Mode(*player);
        if ((mode != ModeStopped && mode != ModeFinished) || !player->stream)
            return Refuse();
        WriteDone(0);
        Lib().thread.reset();
        // The new header replaces the old one only once it holds the first frame, so the player
        // never keeps a header that was not read.
        auto header = std::make_unique<Header>();
        if (!player->stream->Rewind()) {
            SetLastError(ErrorStream);
            return false;
        }
        Crc16* crc = nullptr;
        if (!header->ReadNext(*player->stream, crc)) {
            SetLastError(ErrorStream);
            return false;
        }
        player->header = std::move(header);
        player->crc = crc;
        player->PublishHeader();
        player->mode.store(ModeStopped);
        ClearLastError();
        // The same range again, in frames: a round trip through milliseconds could lose a frame.
        return PlayFrames(*player, player->startFrame, player->endFrame, Lib().done) == 0;
    });
}

bool Stop()
{
    return OnPlayer([](TPlayerObject& player) {
        const int32_t mode = Mode(player);
        if (mode == ModeFinished) {
            player.mode.store(ModeStopped);
            return true;
        }
        if (mode != ModePlaying && mode != ModePaused)
            return Refuse();
        player.stopRequest.store(1, std::memory_order_release);
        if (mode == ModePaused) {
            Pause(1);
            while (Mode(player) == ModePaused) {
                sched_yield();
                player.pauseToggle.store(0);
            }
        }
        if (Lib().thread)
            Lib().thread->Wait();
        player.mode.store(ModeStopped);
        WriteDone(0);
        return true;
    });
}

bool Seek(uint32_t ms)
{
    return OnPlayer([&](TPlayerObject& player) {
        if (player.notSeekable.load()) {
            SetLastError(ErrorNotSeekable);
            return false;
        }
        const int32_t mode = Mode(player);
        if ((mode != ModePlaying && mode != ModePaused) || !player.header)
            return Refuse();
        if (Lib().length < 0 || ms > static_cast<uint32_t>(Lib().length))
            return false;
        player.seekTarget.store(MsToFrame(player, ms));
        player.seekPending.store(1, std::memory_order_release);
        return true;
    });
}

bool Seekable()
{
    return OnPlayer([](TPlayerObject& player) { return player.notSeekable.load() == 0; });
}

int32_t GetLength()
{
    return Lib().length;
}

int32_t GetCurrentPos()
{
    return OnPlayer(int32_t{-1}, int32_t{-1}, [](TPlayerObject& player) -> int32_t {
        if (!player.header)
            return -1;
        // The frame index is taken as unsigned: before the first frame (-1) this is far beyond the
        // length, which the caller treats as no position.
        const double pos = static_cast<double>(MsPerFrame(player)) * static_cast<uint32_t>(player.currentFrame.load());
        return pos >= static_cast<double>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(pos);
    });
}

namespace {
int32_t HeaderValue(std::atomic<int32_t> THeaderValues::*value)
{
    return OnPlayer(int32_t{-1}, int32_t{-1}, [&](TPlayerObject& player) -> int32_t {
        if (!player.header) {
            Refuse();
            return -1;
        }
        return (player.shown.*value).load();
    });
}
}  // namespace

int32_t GetBitrate()
{
    return HeaderValue(&THeaderValues::bitrate);
}
int32_t GetFrequency()
{
    return HeaderValue(&THeaderValues::sampleRate);
}
int32_t GetLayer()
{
    return HeaderValue(&THeaderValues::layer);
}

int32_t GetPlayerMode()
{
    return OnPlayer(int32_t{-1}, int32_t{-1}, [](TPlayerObject& player) { return Mode(player); });
}

void ResetPlayerMode()
{
    OnPlayer([](TPlayerObject& player) {
        int32_t finished = ModeFinished;
        if (player.mode.compare_exchange_strong(finished, ModeStopped))
            WriteDone(0);
        return true;
    });
}

bool SetOutputDevice(int32_t deviceType, const char* fileName)
{
    return OnPlayer([&](TPlayerObject& player) {
        if (deviceType == OutputWaveOut || deviceType == OutputWaveOutMapper) {
            player.outputType = deviceType;
        } else if (deviceType == OutputWaveFile) {
            player.outputType = OutputWaveFile;
            player.outputFileName = fileName != nullptr ? fileName : "";
        }
        return true;
    });
}

bool SetPriority(int32_t priority)
{
    return OnPlayer([&](TPlayerObject& player) {
        player.priority.store(priority);
        player.priorityGiven.store(true);
        const int32_t mode = Mode(player);
        if ((mode == ModePlaying || mode == ModePaused) && Lib().thread)
            Lib().thread->ApplyPriority(priority);
        return true;
    });
}

bool UseScaleFactor(int32_t use, float factor)
{
    return OnPlayer([&](TPlayerObject& player) {
        player.useScaleFactor = use != 0;
        if (use != 0)
            player.scaleFactor = factor;
        return true;
    });
}

int32_t LastError()
{
    return TakeLastError();
}

}  // namespace sonarel::api
