// Arbitrary bytes straight into the frame reader and the Layer I/II decoders (no playback
// thread, so many more inputs per second), with jumps back and forth between frames.
#include <cstdint>
#include <vector>

#include "decoder/AudioOutput.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SynthesisFilter.h"
#include "tests/decoder/MemorySource.h"

using namespace sonarel;

namespace {

class DiscardOutput : public AudioOutput {
public:
    explicit DiscardOutput(uint32_t channels)
        : AudioOutput(channels),
          frame_(2 * kMaxSamplesPerFrame)
    {
        Attach(frame_.data(), frame_.size());
    }
    void EndFrame() override { ResetPositions(); }
    void DropQueued() override {}
    void MarkStopped() override {}

private:
    std::vector<int16_t> frame_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    decoder_test::MemorySource input;
    input.bytes.assign(data, data + size);
    auto reader = input.Open();
    Header header;
    Crc16* crc = nullptr;
    if (!header.ReadNext(*reader, crc))
        return 0;
    const bool stereo = header.Mode() != Header::SingleChannel;
    SynthesisFilter filter1(0, 32768.0f), filter2(1, 32768.0f);
    DiscardOutput output(stereo ? 2 : 1);
    SubbandFrameDecoder decoder;
    const ChannelSelection channels = stereo ? static_cast<ChannelSelection>(size % 3) : kFirstChannel;
    for (int pass = 1; pass < 200; ++pass) {
        decoder.DecodeFrame(*reader, header, crc, channels, filter1,
                            stereo && channels == kBothChannels ? &filter2 : nullptr, output);
        if (pass % 16 == 0 && header.SeekToFrame(*reader, (pass * 7) % (reader->HighestFrame() + 2))) {
            filter1.Reset();
            filter2.Reset();
            continue;
        }
        if (!header.ReadNext(*reader, crc))
            break;
    }
    return 0;
}
