#include <alsa/asoundlib.h>

#include <cstdlib>

#include "decoder/MPEGError.h"
#include "decoder/PcmDevice.h"

namespace sonarel {

namespace {

[[noreturn]] void Fail()
{
    throw TMPEGError("Output device failure");
}

class AlsaDevice final : public PcmDevice {
public:
    AlsaDevice(uint32_t channels, uint32_t sampleRate, std::size_t queueFrames)
        : channels_(channels)
    {
        const char* name = std::getenv("SONAREL_ALSA_DEVICE");
        if (name == nullptr || *name == '\0')
            name = "default";
        if (snd_pcm_open(&pcm_, name, SND_PCM_STREAM_PLAYBACK, 0) < 0)
            Fail();
        unsigned latencyUs = static_cast<unsigned>(
            std::min<uint64_t>(queueFrames * 1000000ull / (sampleRate ? sampleRate : 1), 4000000));
        if (snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, channels, sampleRate, 1,
                               latencyUs)
            < 0) {
            snd_pcm_close(pcm_);
            Fail();
        }
    }
    ~AlsaDevice() override { snd_pcm_close(pcm_); }

    void Write(const int16_t* samples, std::size_t frames) override
    {
        while (frames > 0) {
            snd_pcm_sframes_t n = snd_pcm_writei(pcm_, samples, frames);
            if (n < 0) {
                // An underrun or a suspend is recovered; anything else is a failure.
                if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0)
                    Fail();
                continue;
            }
            samples += static_cast<std::size_t>(n) * channels_;
            frames -= static_cast<std::size_t>(n);
        }
    }
    void Drop() override
    {
        snd_pcm_drop(pcm_);
        snd_pcm_prepare(pcm_);
    }
    void Drain() override { snd_pcm_drain(pcm_); }

private:
    snd_pcm_t* pcm_ = nullptr;
    uint32_t channels_;
};

}  // namespace

std::unique_ptr<PcmDevice> OpenAlsaDevice(uint32_t channels, uint32_t sampleRate, std::size_t queueFrames)
{
    return std::make_unique<AlsaDevice>(channels, sampleRate, queueFrames);
}

}  // namespace sonarel
