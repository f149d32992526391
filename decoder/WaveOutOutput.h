// Output to the sound device through a ring of three buffers of 32 frames each. The first full
// buffer is held back; when the second is full both go to the device (warm-up), then every full
// buffer is handed on. A jump drops everything queued and warms up again; a stop discards the
// queue; a normal end pads the partial buffer with silence and waits until all has been played.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "decoder/AudioOutput.h"
#include "decoder/PcmDevice.h"

namespace sonarel {

class WaveOutOutput final : public AudioOutput {
public:
    static constexpr int kFramesPerBuffer = 32;

    // Opens the default device (OpenAlsaDevice). Throws TMPEGError("Output device failure").
    WaveOutOutput(uint32_t channels, uint32_t sampleRate, uint32_t samplesPerFrame);
    // Plays into the given device (tests).
    WaveOutOutput(std::unique_ptr<PcmDevice> device, uint32_t channels, uint32_t samplesPerFrame);
    ~WaveOutOutput() override;

    void EndFrame() override;
    void DropQueued() override;
    void MarkStopped() override { stopped_ = true; }
    void Finish() override;

private:
    struct Buffer {
        std::vector<int16_t> data;
        std::size_t length = 0;  // interleaved samples to hand to the device
        bool handed = false;     // written to the device since the last drop
    };
    void Init(uint32_t samplesPerFrame);
    void Hand(Buffer& buffer);
    void Rotate();  // slot 2 -> 0, 0 -> 1, 1 -> 2
    void AttachFilling();

    std::unique_ptr<PcmDevice> device_;
    std::array<std::unique_ptr<Buffer>, 3> ring_;
    std::size_t bufferSamples_ = 0;  // 32 frames, interleaved
    int frames_ = 0;                 // frames in the filling buffer
    int warmedUp_ = 0;               // 0, 1, then 2 for good
    bool stopped_ = false;
    bool finished_ = false;
};

}  // namespace sonarel
