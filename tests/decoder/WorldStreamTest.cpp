// Streams as encoders hand them out: ID3v2 tags in front (with and without padding), ID3v1 and
// APE tags at the end, Info and Xing frames, junk with false sync words before the first frame,
// MPEG 2.5. Each is decoded through the exports into a WAVE file and compared with mpg123.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "Layer3Harness.h"
#include "MemorySource.h"
#include "PlayerTestSupport.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"

using namespace player_test;

namespace {

std::string World(const std::string& name)
{
    return decoder_test::DataDir() + "/world/" + name;
}

// mpg123's float output as 16-bit samples, as the reference harnesses convert it.
std::vector<int16_t> Reference(const std::string& f32)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(f32);
    std::vector<int16_t> out(bytes.size() / 4);
    for (size_t i = 0; i < out.size(); ++i) {
        float f;
        std::memcpy(&f, bytes.data() + 4 * i, 4);
        const double v = std::trunc(static_cast<double>(f) * 32768.0);
        out[i] = static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
    }
    return out;
}

// Samples of `pcm` from `from` on that differ from `ref` at `offset` on by at most 1 LSB, and
// how many differ at all; false when the lengths differ.
bool MatchesFrom(const std::vector<int16_t>& pcm, size_t from, const std::vector<int16_t>& ref, size_t offset,
                 size_t& inexact)
{
    if (pcm.size() < from || ref.size() < offset || pcm.size() - from != ref.size() - offset)
        return false;
    inexact = 0;
    for (size_t i = from; i < pcm.size(); ++i) {
        const int d = std::abs(pcm[i] - ref[offset + i - from]);
        if (d > 1)
            return false;
        inexact += d != 0;
    }
    return true;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace

class WorldStream : public ExportsFixture<> {
protected:
    int32_t length = -1;
    int32_t layer = 0;

    // Opens and plays the whole file (from `fromMs`) into the test's WAVE file; the samples.
    std::vector<int16_t> Decode(const std::string& path, uint32_t fromMs = 0)
    {
        if (!api.Open(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            return {};
        length = api.GetLength();
        layer = api.GetLayer();
        EXPECT_EQ(api.Play(fromMs, fromMs != 0 ? static_cast<uint32_t>(length) : 0, &done), 0);
        EXPECT_TRUE(WaitDone());
        EXPECT_EQ(api.LastError(), 0);
        api.Close();
        return ReadWave(wav).samples;
    }
    void ExpectAsMpg123(const std::string& name, const std::vector<int16_t>& pcm, const std::string& reference)
    {
        const l3test::Comparison c = l3test::CompareWithFloat(pcm, World(reference));
        std::printf("[world] %-14s %8zu samples: %.3f%% exact, max %d LSB\n", name.c_str(), c.Samples,
                    100.0 * c.ExactShare(), c.MaxDifference);
        EXPECT_EQ(c.Samples, c.ReferenceSamples) << name;
        EXPECT_GE(c.ExactShare(), 0.995) << name;
        EXPECT_LE(c.MaxDifference, 1) << name;
    }
    // Frames of mpg123's output: the true length in ms of a 44.1 kHz stream.
    static double TrueMs(const std::string& reference, int channels, int samplesPerFrame = 1152)
    {
        const double frames =
            static_cast<double>(ReadFileBytes(World(reference)).size()) / 4 / channels / samplesPerFrame;
        return frames * samplesPerFrame * 1000.0 / 44100.0;
    }
};

// lame's ID3v2 tag with UTF-16 text (FF FE looks like a Layer I header), with and without
// padding, is passed over; the Info frame after it is not played; the length counts the frames.
TEST_F(WorldStream, TagsInFrontAndInfoFrame)
{
    for (const char* name : {"tag_utf16", "tag_padded"}) {
        const std::vector<int16_t> pcm = Decode(World(std::string(name) + ".mp3"));
        EXPECT_EQ(layer, 3) << name;
        ExpectAsMpg123(name, pcm, std::string(name) + ".f32");
        EXPECT_NEAR(length, TrueMs(std::string(name) + ".f32", 2), 27.0) << name;
    }
}

// An ID3v1 tag (whose text holds FF FB sync words) and an APE tag at the end are not audio.
TEST_F(WorldStream, TagsAtTheEnd)
{
    std::vector<int16_t> pcm = Decode(World("tag_v1.mp3"));
    ExpectAsMpg123("tag_v1", pcm, "tag_v1.f32");
    const int32_t lengthWithTag = length;

    // An APE tag (header, one item with sync words in its value, footer) before the ID3v1 tag.
    std::vector<uint8_t> bytes = ReadFileBytes(World("tag_v1.mp3"));
    ASSERT_GT(bytes.size(), 1000u);
    std::vector<uint8_t> id3v1(bytes.end() - 128, bytes.end());
    bytes.erase(bytes.end() - 128, bytes.end());
    std::vector<uint8_t> item = {16, 0, 0, 0, 0, 0, 0, 0, 'T', 'i', 't', 'l', 'e', 0};
    for (int i = 0; i < 4; ++i)
        Append(item, {0xFF, 0xFB, 0x50, 0xC4});
    auto apeBlock = [&](bool header) {
        std::vector<uint8_t> b = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0, 0};
        const uint32_t size = static_cast<uint32_t>(item.size() + 32);
        Append(b, {uint8_t(size), uint8_t(size >> 8), 0, 0, 1, 0, 0, 0, 0, 0, 0, uint8_t(header ? 0xA0 : 0x80)});
        b.resize(32, 0);
        return b;
    };
    Append(bytes, apeBlock(true));
    Append(bytes, item);
    Append(bytes, apeBlock(false));
    const std::string apeOnly = wav + ".ape.mp3";
    WriteFile(apeOnly, bytes);
    pcm = Decode(apeOnly);
    ExpectAsMpg123("ape", pcm, "tag_v1.f32");
    EXPECT_EQ(length, lengthWithTag);
    Append(bytes, id3v1);
    WriteFile(apeOnly, bytes);
    pcm = Decode(apeOnly);
    ExpectAsMpg123("ape+id3v1", pcm, "tag_v1.f32");
    EXPECT_EQ(length, lengthWithTag);
    std::filesystem::remove(apeOnly);
}

// A stream that cannot seek: the ID3v1 tag where the next header is due ends the stream.
TEST(WorldStreamReader, TagAtTheEndOfAStreamThatCannotSeek)
{
    decoder_test::MemorySource source;
    source.bytes = ReadFileBytes(World("tag_v1.mp3"));
    source.notSeekable = true;
    auto reader = source.Open();
    sonarel::Header header;
    sonarel::Crc16* crc = nullptr;
    int frames = 0;
    while (header.ReadNext(*reader, crc))
        ++frames;
    EXPECT_EQ(header.Vbr().kind, sonarel::VbrHeader::Info);
    EXPECT_EQ(static_cast<size_t>(frames) * 1152 * 2, Reference(World("tag_v1.f32")).size());
}

// Junk with false sync words before the first frame: bytes that look like headers whose next
// frame does not follow, a byte-order mark, runs of FF.
TEST_F(WorldStream, JunkWithFalseSyncWordsInFront)
{
    std::mt19937 rng(7);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 40; ++i) {
        Append(bytes, {0xFF, 0xFB, 0x90, 0x64});  // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz
        Append(bytes, {0xFF, 0xFE, 0x54, 0x00});  // a UTF-16 byte-order mark: "Layer I"
        Append(bytes, {0xFF, 0xE3, 0x28, 0xC4});  // MPEG 2.5
        for (int k = 0; k < 50; ++k)
            bytes.push_back(static_cast<uint8_t>(rng() | ((k & 7) == 0 ? 0xE0 : 0)));
    }
    bytes.insert(bytes.end(), 300, 0xFF);
    Append(bytes, ReadFileBytes(World("vbr_v2_bare.mp3")));
    const std::string path = wav + ".junk.mp3";
    WriteFile(path, bytes);
    const std::vector<int16_t> pcm = Decode(path);
    std::filesystem::remove(path);
    EXPECT_EQ(layer, 3);
    ExpectAsMpg123("junk", pcm, "vbr_v2_bare.f32");
}

// MPEG 2.5 (8 kHz) is refused with error 3, also after an ID3v2 tag; nothing plays.
TEST_F(WorldStream, Mpeg25IsRefused)
{
    const std::string path = World("mpeg25.mp3");
    EXPECT_FALSE(api.Open(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.LastError(), 3);
    EXPECT_EQ(api.GetPlayerMode(), 0);
    EXPECT_EQ(api.Play(0, 0, &done), 0);
    EXPECT_EQ(api.LastError(), 2);  // nothing is open

    std::vector<uint8_t> bytes = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 8, 0xFF, 0xFE, 0x54, 0, 0xFF, 0xFB, 0x90, 0x64};
    Append(bytes, ReadFileBytes(path));
    decoder_test::MemorySource source;
    source.bytes = bytes;
    auto reader = source.Open();
    sonarel::Header header;
    sonarel::Crc16* crc = nullptr;
    EXPECT_FALSE(header.ReadNext(*reader, crc));
    EXPECT_TRUE(reader->Mpeg25());
}

// Variable bit rate: the Xing frame is not played, its frame count gives the length.
TEST_F(WorldStream, XingFrameGivesTheLength)
{
    const double trueMs = TrueMs("vbr_v2.f32", 2);
    const std::vector<int16_t> pcm = Decode(World("vbr_v2.mp3"));
    ExpectAsMpg123("vbr_v2", pcm, "vbr_v2.f32");
    EXPECT_NEAR(length, trueMs, trueMs * 0.01);
}

// Jumps in a stream of variable bit rate go through the Xing frame's table of contents: they
// land near the frame asked for, and from there on the output is mpg123's.
TEST_F(WorldStream, VbrJumpsThroughTheTableOfContents)
{
    const std::vector<int16_t> ref = Reference(World("vbr_v2.f32"));
    const size_t frameSamples = 1152 * 2;
    const size_t frames = ref.size() / frameSamples;
    for (uint32_t ms : {1000u, 4321u, 8500u}) {
        const std::vector<int16_t> pcm = Decode(World("vbr_v2.mp3"), ms);
        ASSERT_GT(pcm.size(), 3 * frameSamples) << ms;
        const size_t target = static_cast<size_t>(ms / 26.12245f);
        // The first frames after the jump lack their reservoir and overlap; from the third on
        // the output must be mpg123's at some frame near the target.
        const size_t outFrames = pcm.size() / frameSamples;
        const size_t landed = frames - outFrames;  // first output frame, counting from 0
        size_t inexact = 0;
        EXPECT_TRUE(MatchesFrom(pcm, 2 * frameSamples, ref, (landed + 2) * frameSamples, inexact)) << ms;
        EXPECT_LE(inexact, pcm.size() / 200) << ms;
        EXPECT_NEAR(static_cast<double>(landed), static_cast<double>(target), frames / 100.0 + 3) << ms;
        std::printf("[world] jump to %u ms: frame %zu asked, output from frame %zu\n", ms, target, landed);
    }
}

// Layer I and II streams with an ID3v2 tag in front whose text holds a byte-order mark and sync
// words, without padding: the frames after it decode as without the tag.
TEST_F(WorldStream, TagInFrontOfLayerOneAndTwo)
{
    for (const char* name : {"l2_44k_j192_p", "l2_16k_m8", "l1_48k_j448"}) {
        const std::string base = decoder_test::DataDir() + "/" + name;
        const bool layer1 = name[1] == '1';
        std::vector<uint8_t> bytes = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0,    16,   'T',  'I',  'T',
                                      '2', 0,   0,   0, 6, 0,    0, 1, 0xFF, 0xFE, 0xFF, 0xFB, 0x90};
        Append(bytes, {'3', 'D', 'I', 4, 0, 0x10, 0, 0, 0, 16});  // footer
        Append(bytes, ReadFileBytes(base + (layer1 ? ".mp1" : ".mp2")));
        const std::string path = wav + ".tagged";
        WriteFile(path, bytes);
        const std::vector<int16_t> pcm = Decode(path);
        std::filesystem::remove(path);
        EXPECT_EQ(layer, layer1 ? 1 : 2) << name;
        const l3test::Comparison c = l3test::CompareWithFloat(pcm, base + ".f32");
        EXPECT_EQ(c.Samples, c.ReferenceSamples) << name;
        EXPECT_GE(c.ExactShare(), 0.99) << name;
        EXPECT_LE(c.MaxDifference, 1) << name;
    }
}

// Jumps in constant bit-rate streams after a tag and an Info frame land on the frame asked for:
// positions count from the first audio frame (at 44.1 kHz through the padding table, at 32 kHz
// by the frame size).
TEST_F(WorldStream, JumpsAfterATagLandOnTheFrame)
{
    for (const char* name : {"tag_utf16", "tag_v1"}) {
        const std::vector<int16_t> ref = Reference(World(std::string(name) + ".f32"));
        const size_t frameSamples = 1152 * 2;
        const size_t frames = ref.size() / frameSamples;
        const std::vector<int16_t> pcm = Decode(World(std::string(name) + ".mp3"), 1000);
        ASSERT_GT(pcm.size(), 3 * frameSamples) << name;
        const size_t target = static_cast<size_t>(1000 / (name[4] == 'u' ? 26.12245f : 36.0f));
        // Frames whose main data lies before the jump give no output.
        const size_t landed = frames - pcm.size() / frameSamples;
        EXPECT_GE(landed, target) << name;
        EXPECT_LE(landed, target + 2) << name;
        size_t inexact = 0;
        EXPECT_TRUE(MatchesFrom(pcm, 2 * frameSamples, ref, (landed + 2) * frameSamples, inexact)) << name;
        EXPECT_LE(inexact, pcm.size() / 200) << name;
    }
}

// The frame reached by a jump is the audio frame asked for: its header lies where walking the
// frames from the first audio frame (after the tag and the Info frame) puts it.
TEST(WorldStreamReader, JumpsCountFromTheFirstAudioFrame)
{
    for (const char* name : {"tag_utf16", "tag_padded", "tag_v1"}) {
        decoder_test::MemorySource source;
        source.bytes = ReadFileBytes(World(std::string(name) + ".mp3"));
        ASSERT_GT(source.bytes.size(), 1000u);
        const auto& b = source.bytes;
        // Tag size, then the Info frame, then the audio frames.
        size_t pos = b[0] == 'I' ? 10 + ((b[6] << 21) | (b[7] << 14) | (b[8] << 7) | b[9]) : 0;
        while (pos + 1 < b.size() && !(b[pos] == 0xFF && (b[pos + 1] & 0xE0) == 0xE0))
            ++pos;  // lame's tag padding
        auto word = [&](size_t at) {
            return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
        };
        std::vector<size_t> starts;
        pos += static_cast<size_t>(sonarel::Header::FrameLengthOf(word(pos)));  // the Info frame
        while (pos + 4 <= b.size() && b[pos] == 0xFF) {
            starts.push_back(pos);
            pos += static_cast<size_t>(sonarel::Header::FrameLengthOf(word(pos)));
        }
        ASSERT_GT(starts.size(), 60u) << name;

        auto reader = source.Open();
        sonarel::Header header;
        sonarel::Crc16* crc = nullptr;
        ASSERT_TRUE(header.ReadNext(*reader, crc)) << name;
        EXPECT_EQ(reader->HeaderPosition(), static_cast<int64_t>(starts[0])) << name;
        for (int32_t n : {40, 7, 0, 55, 54}) {
            ASSERT_TRUE(header.SeekToFrame(*reader, n)) << name << " " << n;
            if (reader->FrameIndex() == n - 1) {
                ASSERT_TRUE(header.ReadNext(*reader, crc)) << name << " " << n;
            }
            EXPECT_EQ(reader->FrameIndex(), n) << name;
            EXPECT_EQ(reader->HeaderPosition(), static_cast<int64_t>(starts[static_cast<size_t>(n)]))
                << name << " " << n;
        }
    }
}
