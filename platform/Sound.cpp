#include "platform/Sound.h"

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Platform {

namespace {

struct SndFileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
struct PcmCloser {
    void operator()(snd_pcm_t* p) const { snd_pcm_close(p); }
};

struct TDecodedSound {
    std::vector<short> Samples;  // interleaved
    int Channels = 0;
    int Rate = 0;
};

// Reads the whole file; sounds of the program are short. Refuses absurd sizes.
bool ReadSound(const std::string& fileName, TDecodedSound& sound)
{
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open(fileName.c_str(), SFM_READ, &info));
    if (!file || info.channels < 1 || info.channels > 8 || info.samplerate < 1000 || info.samplerate > 384000
        || info.frames < 0 || info.frames > sf_count_t{info.samplerate} * 600)
        return false;
    sound.Channels = info.channels;
    sound.Rate = info.samplerate;
    sound.Samples.resize(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t got = sf_readf_short(file.get(), sound.Samples.data(), info.frames);
    sound.Samples.resize(static_cast<std::size_t>(got < 0 ? 0 : got) * static_cast<std::size_t>(info.channels));
    return true;
}

class TSoundPlayer {
public:
    ~TSoundPlayer() { Stop(); }

    bool Play(const std::string& fileName)
    {
        {
            std::lock_guard lock(recorderMutex_);
            if (recorder_)
                recorder_(fileName);
        }
        Stop();
        if (fileName.empty())
            return true;
        auto sound = std::make_shared<TDecodedSound>();
        if (!ReadSound(fileName, *sound))
            return false;
        std::lock_guard lock(threadMutex_);
        stop_ = false;
        thread_ = std::thread([this, sound] { Run(*sound); });
        return true;
    }

    void Stop()
    {
        std::lock_guard lock(threadMutex_);
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    void SetRecorder(std::function<void(const std::string&)> recorder)
    {
        std::lock_guard lock(recorderMutex_);
        recorder_ = std::move(recorder);
    }

private:
    void Run(const TDecodedSound& sound)
    {
        const char* name = std::getenv("LEXORA_ALSA_DEVICE");
        snd_pcm_t* raw = nullptr;
        if (snd_pcm_open(&raw, name && *name ? name : "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
            return;
        std::unique_ptr<snd_pcm_t, PcmCloser> pcm(raw);
        if (snd_pcm_set_params(raw, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                               static_cast<unsigned>(sound.Channels), static_cast<unsigned>(sound.Rate), 1, 200000)
            < 0)
            return;
        const std::size_t frames = sound.Samples.size() / static_cast<std::size_t>(sound.Channels);
        const std::size_t chunk = static_cast<std::size_t>(sound.Rate) / 50;  // 20 ms: stop answers quickly
        std::size_t done = 0;
        while (done < frames && !stop_) {
            const std::size_t n = std::min(chunk, frames - done);
            snd_pcm_sframes_t w = snd_pcm_writei(raw, sound.Samples.data() + done * sound.Channels, n);
            if (w < 0)
                w = snd_pcm_recover(raw, static_cast<int>(w), 1);
            if (w < 0)
                return;
            done += static_cast<std::size_t>(w);
        }
        if (stop_)
            snd_pcm_drop(raw);
        else
            snd_pcm_drain(raw);
    }

    std::mutex threadMutex_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex recorderMutex_;
    std::function<void(const std::string&)> recorder_;
};

TSoundPlayer& Player()
{
    static TSoundPlayer player;
    return player;
}

}  // namespace

bool PlaySoundAsync(const std::string& fileName)
{
    return Player().Play(fileName);
}

void StopSound()
{
    Player().Stop();
}

void SetSoundRecorder(std::function<void(const std::string& fileName)> recorder)
{
    Player().SetRecorder(std::move(recorder));
}

}  // namespace Platform
