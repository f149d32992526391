// Decodes one Layer I or Layer II frame: builds the subband objects for the header's layer and
// channel mode, reads allocations, scale-factor selections and scale factors, checks the
// checksum, then reads and emits the sample sets through the synthesis filters.
#pragma once

#include "decoder/Subband.h"

#include <array>

namespace sonarel {

class AudioOutput;

class SubbandFrameDecoder {
public:
    // Decodes the frame whose body Stream holds (Header.ReadNext has loaded it) and ends it on
    // the output (EndFrame; its TMPEGError passes to the caller). Filter2 is the second
    // channel's filter, nullptr when one channel is decoded. Returns false, with no audio and
    // no EndFrame, when the checksum differs or the frame holds a forbidden allocation, a group
    // code beyond its table, or more data than its body; Crc (when given) is reset to 0xFFFF.
    bool DecodeFrame(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                     SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output);

private:
    bool DecodeLayer1(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                      SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output);
    bool DecodeLayer2(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                      SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output);

    // One object per subband and class, reused from frame to frame.
    std::array<Layer1Subband, 32> layer1_;
    std::array<Layer1IntensitySubband, 32> layer1Intensity_;
    std::array<Layer1StereoSubband, 32> layer1Stereo_;
    std::array<Layer2Subband, 32> layer2_;
    std::array<Layer2IntensitySubband, 32> layer2Intensity_;
    std::array<Layer2StereoSubband, 32> layer2Stereo_;
    SampleSets sets_;
};

}  // namespace sonarel
