// Abstract PCM sink of the decoder. The synthesis filters append signed 16-bit samples channel by
// channel (PutSample); the frame loop ends every decoded frame (EndFrame). Samples are kept
// interleaved, channel 0 first: each channel has its own write position that advances by the
// channel count. The concrete outputs play the audio (WaveOutOutput) or write a RIFF WAVE file
// (WaveFileOutput).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

    // Stores a block of n samples of channel 0 or 1 (32 from a synthesis filter), as n calls of
    // PutSample would.
    void PutSamples(int channel, const int16_t* samples, int n) noexcept
    {
        int16_t*& p = write_[channel & 1];
        if (p >= limit_)
            return;
        const std::ptrdiff_t room = (limit_ - p + channels_ - 1) / channels_;
        const int count = static_cast<int>(std::min<std::ptrdiff_t>(n, room));
        if (channels_ == 1) {
            std::memcpy(p, samples, sizeof(int16_t) * static_cast<std::size_t>(count));
        } else {
            for (int i = 0; i < count; ++i)
                p[2 * i] = samples[i];
        }
        p += static_cast<std::ptrdiff_t>(count) * channels_;
    }
    // Two channels' blocks of n samples at once, interleaved.
    void PutSamplePairs(const int16_t* first, const int16_t* second, int n) noexcept
    {
        if (channels_ != 2 || write_[1] != write_[0] + 1) {
            PutSamples(0, first, n);
            PutSamples(1, second, n);
            return;
        }
        int16_t* p = write_[0];
        if (p >= limit_)
            return;
        const int count = static_cast<int>(std::min<std::ptrdiff_t>(n, (limit_ - p + 1) / 2));
        int i = 0;
        for (; i + 8 <= count; i += 8) {
            // Eight pairs at a time: the two blocks' samples interleaved by one shuffle each half.
            Short8 a, b;
            std::memcpy(&a, first + i, sizeof a);
            std::memcpy(&b, second + i, sizeof b);
            const Short8 low = __builtin_shufflevector(a, b, 0, 8, 1, 9, 2, 10, 3, 11);
            const Short8 high = __builtin_shufflevector(a, b, 4, 12, 5, 13, 6, 14, 7, 15);
            std::memcpy(p + 2 * i, &low, sizeof low);
            std::memcpy(p + 2 * i + 8, &high, sizeof high);
        }
        for (; i < count; ++i) {
            p[2 * i] = first[i];
            p[2 * i + 1] = second[i];
        }
        write_[0] += 2 * count;
        write_[1] += 2 * count;
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
    using Short8 = int16_t __attribute__((vector_size(16)));

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
