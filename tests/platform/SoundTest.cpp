// Short sounds play in the background on the null device; bad files play nothing.
#include "platform/Sound.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string WriteTone(const std::filesystem::path& path, int rate, int channels, double seconds)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(f, nullptr);
    std::vector<short> samples(static_cast<std::size_t>(rate * seconds) * channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(8000 * std::sin(i * 0.05));
    sf_writef_short(f, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(f);
    return path.string();
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("LEXORA_ALSA_DEVICE", "null", 1);
        dir = std::filesystem::temp_directory_path() / ("lexora-sound-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        Platform::SetSoundRecorder([this](const std::string& f) { asked.push_back(f); });
    }
    void TearDown() override
    {
        Platform::StopSound();
        Platform::SetSoundRecorder({});
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    std::vector<std::string> asked;
};

TEST_F(SoundTest, PlaysInTheBackgroundAndANewSoundReplacesTheOld)
{
    const std::string yes = WriteTone(dir / "Yes.wav", 22050, 1, 0.3);
    const std::string no = WriteTone(dir / "No.wav", 44100, 2, 0.3);
    EXPECT_TRUE(Platform::PlaySoundAsync(yes));
    EXPECT_TRUE(Platform::PlaySoundAsync(no));
    EXPECT_TRUE(Platform::PlaySoundAsync(""));  // stops
    EXPECT_EQ(asked, (std::vector<std::string>{yes, no, ""}));
}

TEST_F(SoundTest, MissingOrDamagedFilesPlayNothing)
{
    EXPECT_FALSE(Platform::PlaySoundAsync((dir / "missing.wav").string()));
    std::ofstream(dir / "junk.wav") << "RIFF\x10\0\0\0WAVEjunk";
    EXPECT_FALSE(Platform::PlaySoundAsync((dir / "junk.wav").string()));
    const std::string good = WriteTone(dir / "good.wav", 8000, 1, 0.1);
    std::filesystem::resize_file(good, 60);  // header cut short
    Platform::PlaySoundAsync(good);          // whatever it reads, it must not crash
    Platform::StopSound();
    EXPECT_EQ(asked.size(), 3u);
}

}  // namespace
