#include "Layer12Harness.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace layer12test {

using namespace sonarel;

MemoryOutput::MemoryOutput(uint32_t channels)
    : AudioOutput(channels)
{
    frame_.resize(AudioOutput::kMaxSamplesPerFrame * 2);
    Attach(frame_.data(), frame_.size());
}

void MemoryOutput::EndFrame()
{
    samples.insert(samples.end(), frame_.begin(), frame_.begin() + WrittenSamples());
    ResetPositions();
}

Decoded DecodeReader(FrameReader& reader)
{
    Decoded result;
    Header header;
    Crc16* crc = nullptr;
    if (!header.ReadNext(reader, crc))
        return result;
    result.opened = true;
    result.channels = header.Mode() == Header::SingleChannel ? 1 : 2;
    result.sampleRate = header.SampleRate();
    result.layer = header.Layer();
    SynthesisFilter filter1(0, 32768.0f);
    SynthesisFilter filter2(1, 32768.0f);
    MemoryOutput output(static_cast<uint32_t>(result.channels));
    auto decoder = std::make_unique<SubbandFrameDecoder>();
    const ChannelSelection channels = result.channels == 1 ? kFirstChannel : kBothChannels;
    do {
        ++result.framesRead;
        if (decoder->DecodeFrame(reader, header, crc, channels, filter1, result.channels == 2 ? &filter2 : nullptr,
                                 output))
            ++result.framesDecoded;
    } while (header.ReadNext(reader, crc));
    result.samples = std::move(output.samples);
    return result;
}

Decoded DecodeFile(const std::string& path)
{
    auto reader = FrameReader::OpenFile(path.c_str());
    return DecodeReader(*reader);
}

Decoded DecodeBytes(const std::vector<uint8_t>& bytes)
{
    MemorySource source;
    source.bytes = bytes;
    auto reader = source.Open();
    return DecodeReader(*reader);
}

std::vector<int16_t> LoadFloatReference(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::vector<int16_t> out(bytes.size() / 4);
    for (size_t i = 0; i < out.size(); ++i) {
        float f;
        std::memcpy(&f, bytes.data() + 4 * i, 4);
        const float y = f * 32768.0f;
        out[i] = y >= 32767.0f ? 32767 : y <= -32768.0f ? -32768 : static_cast<int16_t>(y);
    }
    return out;
}

std::vector<int16_t> Load24BitReference(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::vector<int16_t> out(bytes.size() / 3);
    for (size_t i = 0; i < out.size(); ++i) {
        int32_t v = bytes[3 * i] | (bytes[3 * i + 1] << 8) | (bytes[3 * i + 2] << 16);
        if (v & 0x800000)
            v -= 0x1000000;
        out[i] = static_cast<int16_t>(v / 256);  // truncates toward zero
    }
    return out;
}

Comparison Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference)
{
    Comparison c;
    c.count = std::min(ours.size(), reference.size());
    for (size_t i = 0; i < c.count; ++i) {
        const int d = std::abs(ours[i] - reference[i]);
        if (d == 0)
            ++c.exact;
        c.maxDifference = std::max(c.maxDifference, d);
    }
    return c;
}

}  // namespace layer12test
