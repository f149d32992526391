// Frame reader and header: the header search, frame geometry, the padding table and jumps, the
// checksum register, and bit reading at the buffer's edges.
#include "Layer12Harness.h"
#include "layer1gen/Layer1Writer.h"

#include "decoder/Crc16.h"
#include "decoder/LastError.h"
#include "decoder/MPEGError.h"
#include "decoder/SubbandTables.h"

#include <gtest/gtest.h>

#include <random>

using namespace sonarel;
using namespace layer12test;

namespace {

constexpr int kRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};
constexpr int kLayer2Rates[2][15] = {{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
                                     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384}};
constexpr int kLayer3Rates[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

struct FrameFields {
    int version = 1;
    int layer = 2;
    int bitrateIndex = 8;
    int rateIndex = 0;
    int padding = 0;
    int mode = 0;
    int modeExtension = 0;
    bool protect = false;
    uint8_t fill = 0;  // body bytes (after a checksum)
};

uint32_t HeaderWord(const FrameFields& f)
{
    return 0xFFF00000u | (uint32_t(f.version) << 19) | (uint32_t(4 - f.layer) << 17) | (f.protect ? 0u : 1u << 16)
        | (uint32_t(f.bitrateIndex) << 12) | (uint32_t(f.rateIndex) << 10) | (uint32_t(f.padding) << 9)
        | (uint32_t(f.mode) << 6) | (uint32_t(f.modeExtension) << 4);
}

// A Layer II or III frame (MPEG-1 or the lower sampling frequencies) whose body is Fill bytes.
std::vector<uint8_t> MakeFrame(const FrameFields& f)
{
    const int kbps =
        f.layer == 3 && f.version == 1 ? kLayer3Rates[f.bitrateIndex] : kLayer2Rates[f.version][f.bitrateIndex];
    int size = 144 * kbps * 1000 / kRates[f.version][f.rateIndex];
    if (f.layer == 3 && f.version == 0)
        size /= 2;
    size += f.padding;
    const uint32_t h = HeaderWord(f);
    std::vector<uint8_t> frame(static_cast<size_t>(size), f.fill);
    for (int i = 0; i < 4; ++i)
        frame[static_cast<size_t>(i)] = static_cast<uint8_t>(h >> (24 - 8 * i));
    if (f.protect)
        frame[4] = frame[5] = 0;
    return frame;
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

TEST(Crc16, MatchesThePublishedCheckValue)
{
    Crc16 crc;
    for (char c : std::string("123456789"))
        crc.AddBits(static_cast<uint8_t>(c), 8);
    EXPECT_EQ(crc.Register, 0xAEE7);  // CRC-16 x^16+x^15+x^2+1, register from 0xFFFF
    crc.Reset();
    crc.AddBits(0x3, 2);  // only the low n bits count
    Crc16 same;
    same.AddBits(0xFF3, 2);
    EXPECT_EQ(crc.Register, same.Register);
}

TEST(HeaderSearch, SkipsJunkAndNeverMatchesRunsOfFF)
{
    MemorySource source;
    source.bytes = {0x12, 0xFF, 0xF0, 0x00, 0x00};  // sync but bit-rate index 0: refused
    source.bytes.insert(source.bytes.end(), 300, 0xFF);
    Append(source.bytes, MakeFrame({}));
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    ASSERT_TRUE(header.ReadNext(*reader, crc));
    EXPECT_EQ(header.Layer(), 2);
    EXPECT_EQ(reader->FrameIndex(), 0);
    EXPECT_EQ(header.FrameSize(), 417 - 4);
    EXPECT_EQ(crc, nullptr);

    MemorySource ones;
    ones.bytes.assign(5000, 0xFF);
    auto onesReader = ones.Open();
    Header none;
    ClearLastError();
    EXPECT_FALSE(none.ReadNext(*onesReader, crc));
    EXPECT_EQ(TakeLastError(), ErrorStream);
}

TEST(HeaderSearch, RefusesHeadersWithoutAFrameSize)
{
    for (uint32_t bad : {0xFFFB0044u /* free format */, 0xFFFBF044u /* index 15 */, 0xFFF99044u /* reserved layer */,
                         0xFFFB9C44u /* reserved rate */}) {
        MemorySource source;
        for (int i = 0; i < 4; ++i)
            source.bytes.push_back(static_cast<uint8_t>(bad >> (24 - 8 * i)));
        source.bytes.resize(40, 0);
        FrameFields fields;
        fields.rateIndex = 1;
        Append(source.bytes, MakeFrame(fields));
        auto reader = source.Open();
        Header header;
        Crc16* crc = nullptr;
        ASSERT_TRUE(header.ReadNext(*reader, crc)) << std::hex << bad;
        EXPECT_EQ(header.SampleRate(), 48000) << std::hex << bad;
        EXPECT_GT(header.FrameSize(), 0);
    }
}

TEST(HeaderSearch, FindsLayerOneFramesWithoutChecksum)
{
    // MPEG-1 Layer I without checksum: the header starts FF FF.
    layer1gen::Layer1Options options;
    std::mt19937 rng(5);
    MemorySource source;
    for (int i = 0; i < 3; ++i)
        Append(source.bytes, layer1gen::MakeLayer1Frame(options, rng));
    ASSERT_EQ(source.bytes[1], 0xFF);
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    int frames = 0;
    while (header.ReadNext(*reader, crc)) {
        EXPECT_EQ(header.Layer(), 1);
        EXPECT_EQ(header.ProtectionBit(), 1);
        ++frames;
    }
    EXPECT_EQ(frames, 3);
}

TEST(HeaderSearch, LaterHeadersKeepVersionRateAndChannelCount)
{
    FrameFields stereo;
    FrameFields otherRate = stereo;
    otherRate.rateIndex = 1;
    FrameFields mono = stereo;
    mono.mode = 3;
    FrameFields lsf = stereo;
    lsf.version = 0;
    FrameFields layer3 = stereo;
    layer3.layer = 3;
    layer3.bitrateIndex = 9;
    MemorySource source;
    // The first header is confirmed by the next one of the same kind.
    for (const FrameFields& f : {stereo, stereo, otherRate, mono, lsf, layer3, stereo})
        Append(source.bytes, MakeFrame(f));
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    std::vector<int> layers;
    while (header.ReadNext(*reader, crc))
        layers.push_back(header.Layer());
    EXPECT_EQ(layers, (std::vector<int>{2, 2, 3, 2}));
    EXPECT_EQ(reader->FrameIndex(), 3);
}

TEST(HeaderGeometry, SizesSubbandsAndDurations)
{
    auto decode = [](const FrameFields& f) {
        auto source = std::make_shared<MemorySource>();
        source->bytes = MakeFrame(f);
        Append(source->bytes, MakeFrame(f));  // confirms the first header
        auto reader = source->Open();
        Header header;
        Crc16* crc = nullptr;
        EXPECT_TRUE(header.ReadNext(*reader, crc));
        return header;
    };
    FrameFields f;        // MPEG-1 Layer II 44.1 kHz stereo
    f.bitrateIndex = 10;  // 192 kbit/s: 96 per channel
    Header h = decode(f);
    EXPECT_EQ(h.SubbandCount(), 30);
    EXPECT_EQ(Layer2AllocationWidth(h, 10), 4);
    EXPECT_EQ(Layer2AllocationWidth(h, 11), 3);
    EXPECT_EQ(Layer2AllocationWidth(h, 22), 3);
    EXPECT_EQ(Layer2AllocationWidth(h, 23), 2);
    f.rateIndex = 1;
    EXPECT_EQ(decode(f).SubbandCount(), 27);
    f.rateIndex = 0;
    f.mode = 1;
    f.modeExtension = 3;
    EXPECT_EQ(decode(f).IntensityBound(), 16);

    FrameFields mono;  // 32 kbit/s single channel
    mono.mode = 3;
    mono.bitrateIndex = 1;
    h = decode(mono);
    EXPECT_EQ(h.SubbandCount(), 8);
    EXPECT_EQ(Layer2AllocationWidth(h, 1), 4);
    EXPECT_EQ(Layer2AllocationWidth(h, 2), 3);
    mono.rateIndex = 2;
    EXPECT_EQ(decode(mono).SubbandCount(), 12);

    FrameFields big;  // 48 kHz, 192 kbit/s: body 572
    big.rateIndex = 1;
    big.bitrateIndex = 10;
    EXPECT_EQ(decode(big).FrameSize(), 572);

    FrameFields layer3;  // MPEG-1 Layer III stereo 128 kbit/s 44.1 kHz
    layer3.layer = 3;
    layer3.bitrateIndex = 9;
    h = decode(layer3);
    EXPECT_EQ(h.FrameSize(), 413);
    EXPECT_EQ(h.MainDataSlots(), 381);
    EXPECT_FLOAT_EQ(h.FrameDuration(), 26.12245f);

    // Lower sampling frequencies: Layer II keeps 1152 samples per frame (size 144 b / f, 30
    // subbands, Table B.1 widths); Layer III has 576 (size 72 b / f).
    FrameFields lsf;
    lsf.version = 0;
    lsf.bitrateIndex = 8;  // 64 kbit/s at 22.05 kHz
    h = decode(lsf);
    EXPECT_EQ(h.FrameSize(), 417 - 4);
    EXPECT_EQ(h.SubbandCount(), 30);
    EXPECT_NEAR(h.FrameDuration(), 1152.0 * 1000 / 22050, 1e-3);
    EXPECT_EQ(Layer2AllocationWidth(h, 3), 4);
    EXPECT_EQ(Layer2AllocationWidth(h, 4), 3);
    EXPECT_EQ(Layer2AllocationWidth(h, 11), 2);
    lsf.layer = 3;
    lsf.bitrateIndex = 4;  // 32 kbit/s
    h = decode(lsf);
    EXPECT_EQ(h.FrameSize(), 104 - 4);
    EXPECT_FLOAT_EQ(h.FrameDuration(), 26.12245f);
}

TEST(HeaderGeometry, LengthEstimateFromTheStreamSize)
{
    FrameFields f;  // 48 kHz 128 kbit/s Layer III: 384-byte frames
    f.layer = 3;
    f.rateIndex = 1;
    f.bitrateIndex = 9;
    MemorySource source;
    source.bytes = MakeFrame(f);
    source.reportedSize = 1000000;
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    ASSERT_TRUE(header.ReadNext(*reader, crc));
    EXPECT_EQ(header.FrameCountEstimate(*reader), 2604u);
    EXPECT_FLOAT_EQ(header.TotalDuration(*reader), 62496.0f);
}

// 44.1 kHz Layer II at 128 kbit/s: frames of 417 bytes, 418 when padded.
TEST(Positioning, PaddingTableLandsJumpsOnFrames)
{
    const int pads[] = {1, 0, 1, 0, 0, 1, 1, 0};
    MemorySource source;
    for (int i = 0; i < 8; ++i) {
        FrameFields f;
        f.padding = pads[i];
        f.fill = static_cast<uint8_t>(i + 1);  // tells the frames apart
        Append(source.bytes, MakeFrame(f));
    }
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(header.ReadNext(*reader, crc));
    ASSERT_GE(header.PaddingTable().size(), 3u);
    EXPECT_EQ(header.PaddingTable()[0], 1);
    EXPECT_EQ(header.PaddingTable()[1], 1);
    EXPECT_EQ(header.PaddingTable()[2], 2);

    auto bodyTag = [&] { return reader->ReadBits(8); };
    source.seeks.clear();
    ASSERT_TRUE(header.SeekToFrame(*reader, 1));  // back: 1 + 417
    EXPECT_EQ(source.seeks.back(), 418);
    EXPECT_EQ(reader->FrameIndex(), 1);
    EXPECT_EQ(bodyTag(), 2u);

    ASSERT_TRUE(header.SeekToFrame(*reader, 6));  // forward: reads 3, 4, 5 and 6 once
    EXPECT_EQ(source.seeks.back(), 3 * 417 + 2);
    EXPECT_EQ(reader->FrameIndex(), 6);
    EXPECT_EQ(reader->HighestFrameIndex(), 6);
    EXPECT_EQ(bodyTag(), 7u);

    ASSERT_TRUE(header.SeekToFrame(*reader, 3));
    EXPECT_EQ(source.seeks.back(), 1253);
    EXPECT_EQ(bodyTag(), 4u);

    EXPECT_FALSE(header.SeekToFrame(*reader, 20));  // beyond the end
}

TEST(Positioning, PaddedLayerOneFramesCountFourBytes)
{
    layer1gen::Layer1Options options;  // 44.1 kHz, random padding
    options.randomPadding = true;
    std::mt19937 rng(9);
    MemorySource source;
    std::vector<uint32_t> firstWords;
    std::vector<int64_t> offsets;
    for (int i = 0; i < 12; ++i) {
        const auto frame = layer1gen::MakeLayer1Frame(options, rng);
        offsets.push_back(static_cast<int64_t>(source.bytes.size()));
        firstWords.push_back(uint32_t(frame[4]) << 8 | frame[5]);
        Append(source.bytes, frame);
    }
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    while (header.ReadNext(*reader, crc)) {}
    ASSERT_EQ(reader->HighestFrameIndex(), 11);
    ASSERT_GT(header.PaddingTable()[10], 0);  // padded frames before the targets, 4 bytes each
    EXPECT_EQ(header.PaddingTable()[10] % 4, 0);
    for (int n : {11, 0, 7, 3, 10}) {
        ASSERT_TRUE(header.SeekToFrame(*reader, n)) << n;
        EXPECT_EQ(source.seeks.back(), offsets[static_cast<size_t>(n)]) << n;  // on the frame
        EXPECT_EQ(reader->FrameIndex(), n);
        EXPECT_EQ(reader->ReadBits(16), firstWords[static_cast<size_t>(n)]) << n;
    }
}

TEST(Positioning, StreamLongerThanItsSizeEstimate)
{
    MemorySource source;
    for (int i = 0; i < 10; ++i) {
        FrameFields f;
        f.padding = i % 3 == 0;
        f.fill = static_cast<uint8_t>(i + 1);
        Append(source.bytes, MakeFrame(f));
    }
    for (int32_t size : {1000, -1}) {  // two frames' worth, and unknown
        source.reportedSize = size;
        source.position = 0;
        auto reader = source.Open();
        Header header;
        Crc16* crc = nullptr;
        int frames = 0;
        while (header.ReadNext(*reader, crc))
            ++frames;
        EXPECT_EQ(frames, 10);
        EXPECT_GE(header.PaddingTable().size(), 10u);
        ASSERT_TRUE(header.SeekToFrame(*reader, 8));
        EXPECT_EQ(reader->ReadBits(8), 9u);
    }
}

TEST(Positioning, UnpaddedRatesAndStreamsThatCannotSeek)
{
    MemorySource source;
    FrameFields f;  // 48 kHz 192 kbit/s: frame n at n x 576
    f.rateIndex = 1;
    f.bitrateIndex = 10;
    for (int i = 0; i < 6; ++i) {
        f.fill = static_cast<uint8_t>(i + 1);
        Append(source.bytes, MakeFrame(f));
    }
    {
        auto reader = source.Open();
        Header header;
        Crc16* crc = nullptr;
        ASSERT_TRUE(header.ReadNext(*reader, crc));
        ASSERT_TRUE(header.SeekToFrame(*reader, 5));
        EXPECT_EQ(source.seeks.back(), 5 * 576);
        ASSERT_TRUE(header.ReadNext(*reader, crc));
        EXPECT_EQ(reader->FrameIndex(), 5);
        EXPECT_EQ(reader->ReadBits(8), 6u);

        ASSERT_TRUE(reader->Rewind());
        EXPECT_EQ(reader->FrameIndex(), -1);
        EXPECT_EQ(reader->HighestFrameIndex(), -1);
    }
    source.notSeekable = true;
    source.position = 0;
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    ASSERT_TRUE(header.ReadNext(*reader, crc));
    ClearLastError();
    EXPECT_FALSE(header.SeekToFrame(*reader, 2));
    EXPECT_EQ(TakeLastError(), ErrorNotSeekable);
}

TEST(FrameReaderSource, OpenFailuresRaiseStreamError)
{
    ClearLastError();
    EXPECT_THROW(FrameReader::OpenFile("/nonexistent/x.mp2"), TMPEGError);
    EXPECT_EQ(TakeLastError(), ErrorStream);
    StreamCallbacks callbacks;
    callbacks.open = [](void*, uint8_t*, uint32_t* handle) { *handle = 0; };
    try {
        FrameReader::OpenCallbacks(callbacks);
        FAIL() << "no exception";
    } catch (const TMPEGError& e) {
        EXPECT_STREQ(e.what(), "Stream error");
    }
    EXPECT_EQ(TakeLastError(), ErrorStream);
}

TEST(FrameReaderSource, BitsAcrossWordsAndPastTheBuffer)
{
    MemorySource source;
    for (int i = 0; i < 2000; ++i)
        source.bytes.push_back(static_cast<uint8_t>(i * 37 + 11));
    auto reader = source.Open();
    ASSERT_TRUE(reader->LoadFrame(9));
    // Reference: the bits of the first 9 bytes, then zeros.
    auto bit = [&](size_t i) { return i < 72 ? (source.bytes[i / 8] >> (7 - i % 8)) & 1 : 0; };
    size_t at = 0;
    std::mt19937 rng(3);
    for (int i = 0; i < 40; ++i) {
        const int n = 1 + static_cast<int>(rng() % 16);
        uint32_t expected = 0;
        for (int k = 0; k < n; ++k)
            expected = expected << 1 | static_cast<uint32_t>(bit(at + static_cast<size_t>(k)));
        EXPECT_EQ(reader->ReadBits(n), expected) << "at bit " << at;
        at += static_cast<size_t>(n);
    }
    EXPECT_LT(reader->BitsLeft(), 0);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(reader->ReadBits(16), 0u);  // past the buffer

    EXPECT_FALSE(reader->LoadFrame(FrameReader::kFrameBytes + 1));
    EXPECT_FALSE(reader->LoadFrame(-4));
    EXPECT_TRUE(reader->LoadFrame(FrameReader::kFrameBytes));
}

TEST(FrameReaderSource, WholeBytesFromAnyPosition)
{
    // From every bit offset 0..11 (whole bytes at every offset within a word, and off a byte
    // boundary), runs of 0..13 bytes give what ReadBits(8) gives and end at the same place.
    MemorySource forBytes, forBits;  // each reader its own source: a source keeps one position
    for (int i = 0; i < 12 * 14 * 40; ++i)
        forBytes.bytes.push_back(static_cast<uint8_t>(i * 53 + 7));
    forBits.bytes = forBytes.bytes;
    auto bytesReader = forBytes.Open();
    auto bitsReader = forBits.Open();
    for (int start = 0; start < 12; ++start) {
        for (int n = 0; n < 14; ++n) {
            ASSERT_TRUE(bytesReader->LoadFrame(40));
            ASSERT_TRUE(bitsReader->LoadFrame(40));
            bytesReader->SkipBits(start);
            bitsReader->SkipBits(start);
            uint8_t got[16];
            bytesReader->ReadBytes(got, n);
            for (int k = 0; k < n; ++k)
                ASSERT_EQ(got[k], bitsReader->ReadBits(8)) << start << " " << n << " " << k;
            ASSERT_EQ(bytesReader->BitsLeft(), bitsReader->BitsLeft());
            ASSERT_EQ(bytesReader->ReadBits(5), bitsReader->ReadBits(5));
        }
    }
}

}  // namespace
