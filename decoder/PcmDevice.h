// A sound device that plays interleaved signed 16-bit PCM. Write blocks until the device has
// taken the samples (so the device's own buffer paces the decoder); failures throw TMPEGError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace sonarel {

class PcmDevice {
public:
    virtual ~PcmDevice() = default;
    virtual void Write(const int16_t* samples, std::size_t frames) = 0;
    // Discards everything queued; the device stays ready for new writes.
    virtual void Drop() = 0;
    // Waits until everything written has been played.
    virtual void Drain() = 0;
};

// Opens the ALSA playback device named by SONAREL_ALSA_DEVICE, else "default", for the format,
// with room for about `queueFrames` frames. Throws TMPEGError("Output device failure").
std::unique_ptr<PcmDevice> OpenAlsaDevice(uint32_t channels, uint32_t sampleRate, std::size_t queueFrames);

}  // namespace sonarel
