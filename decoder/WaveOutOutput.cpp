#include "decoder/WaveOutOutput.h"

#include <algorithm>

namespace sonarel {

WaveOutOutput::WaveOutOutput(uint32_t channels, uint32_t sampleRate, uint32_t samplesPerFrame)
    : AudioOutput(channels)
{
    // The device queue holds two buffers: with the one being filled that makes the ring of three.
    device_ = OpenAlsaDevice(channels_, sampleRate, 2 * static_cast<std::size_t>(kFramesPerBuffer) * samplesPerFrame);
    Init(samplesPerFrame);
}

WaveOutOutput::WaveOutOutput(std::unique_ptr<PcmDevice> device, uint32_t channels, uint32_t samplesPerFrame)
    : AudioOutput(channels),
      device_(std::move(device))
{
    Init(samplesPerFrame);
}

void WaveOutOutput::Init(uint32_t samplesPerFrame)
{
    bufferSamples_ = static_cast<std::size_t>(kFramesPerBuffer) * samplesPerFrame * channels_;
    // Room for one more frame of the longest layer, so that a stream whose layer changes later
    // never writes past a buffer.
    std::size_t capacity = bufferSamples_ + static_cast<std::size_t>(kMaxSamplesPerFrame) * channels_;
    for (auto& slot : ring_) {
        slot = std::make_unique<Buffer>();
        slot->data.assign(capacity, 0);
    }
    AttachFilling();
}

WaveOutOutput::~WaveOutOutput()
{
    if (!finished_) {
        try {
            Finish();
        } catch (...) {
        }
    }
}

void WaveOutOutput::AttachFilling()
{
    Attach(ring_[2]->data.data(), ring_[2]->data.size());
}

void WaveOutOutput::Rotate()
{
    std::unique_ptr<Buffer> filled = std::move(ring_[2]);
    ring_[2] = std::move(ring_[1]);
    ring_[1] = std::move(ring_[0]);
    ring_[0] = std::move(filled);
}

void WaveOutOutput::Hand(Buffer& buffer)
{
    device_->Write(buffer.data.data(), buffer.length / channels_);
    buffer.handed = true;
}

void WaveOutOutput::EndFrame()
{
    ++frames_;
    std::size_t filled = WrittenSamples();
    std::size_t roomLeft = ring_[2]->data.size() - filled;
    if (frames_ < kFramesPerBuffer && roomLeft >= static_cast<std::size_t>(kMaxSamplesPerFrame) * channels_)
        return;
    frames_ = 0;
    ring_[2]->length = filled;
    if (warmedUp_ == 0) {
        Rotate();  // the first buffer is held back
        warmedUp_ = 1;
    } else if (warmedUp_ == 1) {
        Hand(*ring_[0]);
        Rotate();
        Hand(*ring_[0]);
        warmedUp_ = 2;
    } else {
        Hand(*ring_[2]);
        Rotate();
    }
    AttachFilling();
}

void WaveOutOutput::DropQueued()
{
    device_->Drop();
    for (auto& slot : ring_) {
        slot->handed = false;
        slot->length = 0;
        std::fill(slot->data.begin(), slot->data.end(), int16_t{0});
    }
    frames_ = 0;
    warmedUp_ = 0;
    AttachFilling();
}

void WaveOutOutput::Finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (stopped_) {
        device_->Drop();
    } else {
        if (warmedUp_ == 1)
            Hand(*ring_[0]);
        std::size_t filled = WrittenSamples();
        if (frames_ != 0 && filled > 0) {
            Buffer& partial = *ring_[2];
            std::fill(partial.data.begin() + static_cast<std::ptrdiff_t>(filled), partial.data.end(), int16_t{0});
            partial.length = std::max(filled, bufferSamples_);
            Hand(partial);
            Rotate();
        }
        device_->Drain();
    }
    device_.reset();
}

}  // namespace sonarel
