#include "DictdFixture.h"

#include "data/sample/BinaryWriter.h"
#include "data/sample/SoundPlan.h"
#include "data/sample/SoundSynth.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace SampleData;

namespace {

std::int64_t I64(const std::string& bytes, std::size_t at)
{
    return GetInt64(bytes.data() + at);
}

// Length of the MPEG-2 Layer III frame whose header starts at p; 0 when it is no such header.
std::size_t Mpeg2Layer3FrameLength(const unsigned char* p)
{
    static const int kbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static const int rates[3] = {22050, 24000, 16000};
    if (p[0] != 0xFF || (p[1] & 0xFE) != 0xF2)  // sync, MPEG-2, Layer III
        return 0;
    const int bitrate = kbps[p[2] >> 4];
    const int rateIndex = (p[2] >> 2) & 3;
    if (bitrate == 0 || rateIndex == 3)
        return 0;
    return static_cast<std::size_t>(72000 * bitrate / rates[rateIndex] + ((p[2] >> 1) & 1));
}

}  // namespace

TEST(SoundFiles, ChoiceIsShortestSingleWordsWithPronunciation)
{
    EXPECT_TRUE(IsSoundCandidate(u"Haus", u"haʊs"));
    EXPECT_FALSE(IsSoundCandidate(u"Haus", u""));
    EXPECT_FALSE(IsSoundCandidate(u"a", u"ə"));
    EXPECT_FALSE(IsSoundCandidate(u"ice cream", u"aɪs"));
    EXPECT_FALSE(IsSoundCandidate(u"U-Bahn", u"uː"));
    EXPECT_FALSE(IsSoundCandidate(u"NATO", u"neɪtəʊ"));

    TSoundPlan plan;
    plan.WordCounts = {3, 2};
    plan.Candidates = {{0, 0, u"tree"}, {0, 2, u"ox"}, {1, 0, u"cat"}, {1, 1, u"go"}};
    const auto chosen = ChooseSounds(plan, 3);
    ASSERT_EQ(chosen.size(), 3u);
    EXPECT_EQ(chosen[0].Word, u"ox");
    EXPECT_EQ(chosen[1].Word, u"go");
    EXPECT_EQ(chosen[2].Word, u"cat");
    EXPECT_EQ(ChooseSounds(plan, 10).size(), 4u);
}

TEST(SoundFiles, PlanRoundTripAndDamage)
{
    TConvertedDictionary d;
    d.Sections.resize(2);
    d.Sections[0].Words = {u"Ähre", u"ice cream"};
    d.Sections[0].Pronunciations = {u"ɛːrə", u"aɪs kriːm"};
    d.Sections[1].Words = {u"Bus"};
    d.Sections[1].Pronunciations = {u"bʊs"};
    const std::string folder = DataTest::FreshFolder("sound-plan");
    WriteSoundPlan(d, folder + "/p.plan");
    const TSoundPlan plan = ReadSoundPlan(folder + "/p.plan");
    EXPECT_EQ(plan.WordCounts, (std::vector<int>{2, 1}));
    ASSERT_EQ(plan.Candidates.size(), 2u);
    EXPECT_EQ(plan.Candidates[0].Word, u"Ähre");
    EXPECT_EQ(plan.Candidates[1].Section, 1);

    Platform::WriteFileAtomically(folder + "/bad.plan", "S\t1\nW\t0\t1\tx\n");  // index beyond the section
    EXPECT_THROW(ReadSoundPlan(folder + "/bad.plan"), std::runtime_error);
    Platform::WriteFileAtomically(folder + "/bad.plan", "S\tmany\n");
    EXPECT_THROW(ReadSoundPlan(folder + "/bad.plan"), std::runtime_error);
}

TEST(SoundFiles, RecordsPointAtMpegFramesInsideTheDataFile)
{
    const std::string folder = DataTest::FreshFolder("sound-section");
    TSynthOptions options{"en", folder + "/cache", 3};
    const std::vector<std::u16string> words = {u"house", u"tree", u"cat"};
    const std::vector<std::string> spoken = SpeakWords(words, options);

    // Section 0: five words, the 1st, 3rd and 4th spoken; section 1: no sound at all.
    TSoundPlan plan;
    plan.WordCounts = {5, 2};
    std::map<std::pair<int, int>, std::string> sounds = {{{0, 0}, spoken[0]}, {{0, 2}, spoken[1]}, {{0, 3}, spoken[2]}};
    WriteSoundFolder(folder + "/DICT", plan, sounds);

    const std::string idx = Platform::ReadWholeFile(folder + "/DICT/1.idx");
    const std::string snd = Platform::ReadWholeFile(folder + "/DICT/1.snd");
    ASSERT_EQ(idx.size(), 5u * 24u);
    int withSound = 0;
    for (int k = 0; k < 5; ++k) {
        const std::size_t at = static_cast<std::size_t>(k) * 24;
        EXPECT_EQ(I64(idx, at), k);
        const std::int64_t offset = I64(idx, at + 8), length = I64(idx, at + 16);
        if (length == 0)
            continue;
        ++withSound;
        ASSERT_GE(offset, 0);
        ASSERT_LE(offset + length, static_cast<std::int64_t>(snd.size()));
        // The slice is a whole chain of frames, starting on a frame header.
        const auto* p = reinterpret_cast<const unsigned char*>(snd.data()) + offset;
        std::size_t pos = 0;
        int frames = 0;
        while (pos + 4 <= static_cast<std::size_t>(length)) {
            const std::size_t frame = Mpeg2Layer3FrameLength(p + pos);
            ASSERT_GT(frame, 0u) << "word " << k << " frame " << frames;
            pos += frame;
            ++frames;
        }
        EXPECT_EQ(pos, static_cast<std::size_t>(length));
        EXPECT_GT(frames, 5);
    }
    EXPECT_EQ(withSound, 3);
    EXPECT_EQ(snd.size(), spoken[0].size() + spoken[1].size() + spoken[2].size());

    const std::string idx2 = Platform::ReadWholeFile(folder + "/DICT/2.idx");
    ASSERT_EQ(idx2.size(), 48u);
    EXPECT_EQ(I64(idx2, 0), 5);  // absolute word index
    EXPECT_EQ(I64(idx2, 16), 0);
    EXPECT_TRUE(Platform::ReadWholeFile(folder + "/DICT/2.snd").empty());

    // A rebuild with fewer sections leaves no files of the old ones.
    plan.WordCounts = {5};
    WriteSoundFolder(folder + "/DICT", plan, sounds);
    EXPECT_TRUE(std::filesystem::exists(folder + "/DICT/1.idx"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/DICT/2.idx"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/DICT/2.snd"));
}
