// Layer III decoder of one stream: reads each frame's side information and main data (through
// the bit reservoir), decodes the spectral values and reconstructs the subband samples that it
// hands to the synthesis filters, one frame per DecodeFrame.
#pragma once

#include <cstdint>
#include <memory>

#include "decoder/BitReservoir.h"
#include "decoder/Layer3MainData.h"
#include "decoder/Layer3Reconstruct.h"
#include "decoder/Layer3SideInfo.h"
#include "decoder/SynthesisFilter.h"

namespace sonarel {

class AudioOutput;
class FrameReader;
class Header;

class Layer3Decoder {
public:
    // Filter2 may be null when only one channel is output.
    Layer3Decoder(FrameReader& stream, Header& header, SynthesisFilter* filter1, SynthesisFilter* filter2,
                  AudioOutput& output, ChannelSelection channels);
    static std::unique_ptr<Layer3Decoder> Create(FrameReader& stream, Header& header, SynthesisFilter* filter1,
                                                 SynthesisFilter* filter2, AudioOutput& output,
                                                 ChannelSelection channels)
    {
        return std::make_unique<Layer3Decoder>(stream, header, filter1, filter2, output, channels);
    }

    Layer3Decoder(const Layer3Decoder&) = delete;
    Layer3Decoder& operator=(const Layer3Decoder&) = delete;

    // Decodes the frame whose body the stream holds and ends it on the output. A frame whose
    // main data lies (partly) before the data held produces nothing, not even EndFrame.
    // Returns whether the frame produced output.
    bool DecodeFrame();
    // After a jump: forgets the reservoir and the overlap.
    void SeekNotify();

private:
    void DecodeGranule(int gr);
    // Reorders, reduces aliases and runs the hybrid synthesis of one channel into work_[ch].
    void ReconstructChannel(int ch, int gr);
    // The 18 sets of subband samples of the wanted channels through their filters.
    void OutputGranule();

    alignas(16) int32_t is_[576];
    alignas(16) float ro_[2][576];
    alignas(16) float lr_[2][576];
    alignas(16) float work_[2][576];
    alignas(16) float prevblock_[2][576];

    FrameReader& stream_;
    Header& header_;
    SynthesisFilter* filter1_;
    SynthesisFilter* filter2_;
    AudioOutput& output_;
    ChannelSelection selection_;
    std::unique_ptr<BitReservoir> reservoir_;
    Layer3SideInfo sideInfo_;
    Layer3ScaleFactors scaleFactors_[2];

    int granules_;
    int channelCount_;
    int firstChannel_;
    int lastChannel_;
    int version_;
    int sampleRateTable_;
    int limit_[2] = {0, 0};      // lines of each channel that may be non-zero
    int prevLimit_[2] = {0, 0};  // subbands of each channel whose overlap may be non-zero
};

}  // namespace sonarel
