#include "Layer3Harness.h"
#include "MemorySource.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "decoder/AudioOutput.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/Layer3Decoder.h"
#include "decoder/SynthesisFilter.h"

using namespace sonarel;

namespace l3test {

namespace {

class CaptureOutput : public AudioOutput {
public:
    CaptureOutput(uint32_t channels, uint32_t samplesPerFrame, std::vector<int16_t>& sink)
        : AudioOutput(channels),
          frame_(samplesPerFrame * channels_),
          sink_(sink)
    {
        Attach(frame_.data(), frame_.size());
    }
    void EndFrame() override
    {
        sink_.insert(sink_.end(), frame_.begin(), frame_.end());
        std::fill(frame_.begin(), frame_.end(), 0);
        ResetPositions();
    }
    void DropQueued() override {}
    void MarkStopped() override {}

private:
    std::vector<int16_t> frame_;
    std::vector<int16_t>& sink_;
};

DecodedStream Decode(std::unique_ptr<FrameReader> reader)
{
    DecodedStream result;
    Header header;
    Crc16* crc = nullptr;
    if (!header.ReadNext(*reader, crc))
        return result;
    result.Opened = true;
    result.Channels = header.Mode() == Header::SingleChannel ? 1 : 2;
    result.SampleRate = header.SampleRate();
    SynthesisFilter filter1(0, 32768.0f), filter2(1, 32768.0f);
    CaptureOutput output(static_cast<uint32_t>(result.Channels), AudioOutput::SamplesPerFrame(3, header.Version()),
                         result.Pcm);
    std::unique_ptr<Layer3Decoder> decoder;
    do {
        if (header.Layer() != 3) {
            decoder.reset();
            continue;
        }
        if (!decoder)
            decoder = Layer3Decoder::Create(*reader, header, &filter1, result.Channels == 2 ? &filter2 : nullptr,
                                            output, result.Channels == 1 ? kFirstChannel : kBothChannels);
        decoder->DecodeFrame();
        ++result.Frames;
    } while (header.ReadNext(*reader, crc));
    return result;
}

}  // namespace

DecodedStream DecodeLayer3(const std::string& path)
{
    return Decode(FrameReader::OpenFile(path.c_str()));
}

DecodedStream DecodeLayer3Bytes(const std::vector<uint8_t>& bytes)
{
    decoder_test::MemorySource source;
    source.bytes = bytes;
    return Decode(source.Open());
}

namespace {

Comparison Compare(const std::vector<int16_t>& pcm, const std::vector<int32_t>& expected)
{
    Comparison c;
    c.Samples = pcm.size();
    c.ReferenceSamples = expected.size();
    const size_t n = std::min(pcm.size(), expected.size());
    for (size_t i = 0; i < n; ++i) {
        const int d = std::abs(static_cast<int>(pcm[i]) - expected[i]);
        if (d == 0)
            ++c.Exact;
        c.MaxDifference = std::max(c.MaxDifference, d);
    }
    return c;
}

int32_t Clip16(double v)
{
    if (v > 32767.0)
        return 32767;
    if (v < -32768.0)
        return -32768;
    return static_cast<int32_t>(std::trunc(v));
}

}  // namespace

Comparison CompareWithFloat(const std::vector<int16_t>& pcm, const std::string& f32Path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(f32Path);
    std::vector<int32_t> expected(bytes.size() / 4);
    for (size_t i = 0; i < expected.size(); ++i) {
        float f;
        std::memcpy(&f, bytes.data() + 4 * i, 4);
        expected[i] = Clip16(static_cast<double>(f) * 32768.0);
    }
    return Compare(pcm, expected);
}

Comparison CompareWithS24(const std::vector<int16_t>& pcm, const std::string& s24Path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(s24Path);
    std::vector<int32_t> expected(bytes.size() / 3);
    for (size_t i = 0; i < expected.size(); ++i) {
        int32_t v = bytes[3 * i] | (bytes[3 * i + 1] << 8) | (bytes[3 * i + 2] << 16);
        if (v & 0x800000)
            v -= 1 << 24;
        expected[i] = Clip16(v / 256.0);
    }
    return Compare(pcm, expected);
}

}  // namespace l3test
