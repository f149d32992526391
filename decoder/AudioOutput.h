// Abstract PCM sink of the decoder. The synthesis filters append signed 16-bit samples channel by
// channel (PutSample); the frame loop ends every decoded frame (EndFrame). Samples are kept
// interleaved, channel 0 first: each channel has its own write position that advances by the
// channel count. The concrete outputs play the audio (WaveOutOutput) or write a RIFF WAVE file
// (WaveFileOutput).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace sonarel {

class AudioOutput {
public:
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;
    // Without MarkStopped the destructor plays out or writes what it holds; it must not throw,
    // so outputs that can fail while finishing do that in Finish() first.
    virtual ~AudioOutput() = default;

    // Stores one sample of channel 0 or 1. Samples beyond the current buffer are dropped, so a
    // stream that changes its layer mid-way can never write outside the buffer.
    void PutSample(int channel, int16_t sample) noexcept
    {
        int16_t*& p = write_[channel & 1];
        if (p < limit_) {
            *p = sample;
            p += channels_;
        }
    }

    // Ends one decoded frame. Throws TMPEGError("Output device failure") when the output fails.
    virtual void EndFrame() = 0;
    // Drops all queued audio (before a jump).
    virtual void DropQueued() = 0;
    // Marks the output stopped: the destructor then discards instead of playing out.
    virtual void MarkStopped() = 0;
    // Finishes the output as the destructor would (plays out what it holds or, after MarkStopped,
    // discards it; completes the file) and reports a failure by throwing TMPEGError. The playback
    // thread calls it once before destroying the output; a destructor alone never throws.
    virtual void Finish() {}

    uint32_t Channels() const noexcept { return channels_; }

    // Samples per frame of the stream's first header: 384 for Layer I, 1152 for Layer II and
    // MPEG-1 Layer III, 576 for the lower-sampling-frequency Layer III.
    static uint32_t SamplesPerFrame(int layer, int version) noexcept
    {
        if (layer == 1)
            return 384;
        if (layer == 3 && version == 0)
            return 576;
        return 1152;
    }
    // Most samples a single frame of any layer can produce per channel.
    static constexpr uint32_t kMaxSamplesPerFrame = 1152;

protected:
    explicit AudioOutput(uint32_t channels) noexcept
        : channels_(channels == 1 ? 1 : 2)
    {
    }

    // Points the write positions at a buffer of `capacity` interleaved samples.
    void Attach(int16_t* start, std::size_t capacity) noexcept
    {
        start_ = start;
        limit_ = start + capacity;
        ResetPositions();
    }
    void ResetPositions() noexcept
    {
        write_[0] = start_;
        write_[1] = start_ + (channels_ > 1 ? 1 : 0);
    }
    // Interleaved samples stored since the last reset (the longest channel decides).
    std::size_t WrittenSamples() const noexcept
    {
        std::size_t frames = 0;
        for (uint32_t c = 0; c < channels_; ++c)
            frames = std::max(frames, static_cast<std::size_t>(write_[c] - (start_ + c)) / channels_);
        return frames * channels_;
    }

    uint32_t channels_;

private:
    int16_t* write_[2] = {nullptr, nullptr};
    int16_t* start_ = nullptr;
    int16_t* limit_ = nullptr;
};

}  // namespace sonarel
