// The one player object of the library: the requests that the exports leave for the playback
// thread (TPlayerRequests) and the stream and playback settings (TPlayerObject). The exports
// and the thread share it without locks; every field either side writes while the other runs
// is atomic.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace sonarel {

class Crc16;
class FrameReader;
class Header;

enum PlayerMode : int32_t {
    ModeClosed = 0,
    ModeStopped = 1,   // opened or stopped
    ModeFinished = 2,  // the range or the stream ended, or a jump failed
    ModePlaying = 3,
    ModePaused = 4,
};

// Output types of SetOutputDevice.
enum OutputType : int32_t { OutputWaveOut = 0, OutputWaveOutMapper = 1, OutputWaveFile = 2 };

class TPlayerRequests {
public:
    virtual ~TPlayerRequests() = default;

    std::atomic<uint8_t> stopRequest{0};
    std::atomic<uint8_t> pauseToggle{0};
    std::atomic<uint8_t> notSeekable{0};
    std::atomic<int32_t> seekTarget{0};  // stored before seekPending is raised
    std::atomic<uint8_t> seekPending{0};
};

// The current frame header's values as the exports report them. The playback thread rewrites
// the header while it plays, so it publishes these after every header it reads.
struct THeaderValues {
    std::atomic<int32_t> layer{0};
    std::atomic<int32_t> bitrate{0};     // bit/s
    std::atomic<int32_t> sampleRate{0};  // Hz
    std::atomic<float> msPerFrame{0.0f};
};

class TPlayerObject : public TPlayerRequests {
public:
    TPlayerObject();
    ~TPlayerObject() override;

    // Copies the values of `header` into `shown`; called by whichever thread reads headers.
    void PublishHeader();

    std::unique_ptr<FrameReader> stream;
    std::unique_ptr<Header> header;
    Crc16* crc = nullptr;  // the header's checksum register as the first ReadNext left it
    THeaderValues shown;   // published from `header` by PublishHeader
    bool useScaleFactor = false;
    float scaleFactor = 32768.0f;
    int32_t startFrame = 0;
    int32_t endFrame = 0;  // inclusive
    std::atomic<int32_t> currentFrame{-1};
    std::atomic<bool> priorityGiven{false};  // SetPriority was called
    std::atomic<int32_t> priority{0};        // a Windows thread priority value
    std::atomic<int32_t> mode{ModeClosed};
    int32_t outputType = OutputWaveOut;
    std::string outputFileName;
};

}  // namespace sonarel
