// Layer I subbands: 4-bit allocations, 6-bit scale factors, 12 samples per subband and channel.
#include "decoder/Subband.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SubbandFrameLoop.h"
#include "decoder/SubbandTables.h"

#include <algorithm>

namespace sonarel {

bool Layer1Subband::SetAllocation(int32_t allocation, int32_t& sampleLength, float& factor, float& offset)
{
    if (allocation == 15)
        return false;  // forbidden: the frame is skipped
    const SubbandTables& t = SubbandTables::Get();
    sampleLength = allocation > 0 ? allocation + 1 : 0;
    factor = t.layer1Factor[allocation];
    offset = t.layer1Offset[allocation];
    return true;
}

bool Layer1Subband::ReadAllocation(FrameReader& stream, const Header&, Crc16* crc)
{
    allocation_ = static_cast<int32_t>(stream.ReadBits(4));
    if (crc != nullptr)
        crc->AddBits(static_cast<uint32_t>(allocation_), 4);
    if (!SetAllocation(allocation_, sampleLength_, factor_, offset_)) {
        allocation_ = 0;
        return false;
    }
    return true;
}

void Layer1Subband::ReadScaleFactors(FrameReader& stream, const Header&)
{
    if (allocation_ > 0)
        scaleFactor_ = SubbandTables::Get().scaleFactors[stream.ReadBits(6)];
}

bool Layer1Subband::ReadSamples(FrameReader& stream)
{
    if (allocation_ > 0)
        sample_ = static_cast<float>(stream.ReadBits(sampleLength_));
    return CountSample();
}

bool Layer1Subband::CountSample()
{
    if (++sampleCounter_ == 12) {
        sampleCounter_ = 0;
        return true;
    }
    return false;
}

bool Layer1Subband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter*)
{
    if (allocation_ > 0)
        EmitFirst(subbandNumber_, channels, filter1, (sample_ * factor_ + offset_) * scaleFactor_);
    return true;
}

int Layer1Subband::AppendCodeSlots(CodeSlot* slots, int count) const
{
    if (sampleLength_ > 0)
        slots[count++] = {sampleLength_, 0};
    return count;
}

void Layer1IntensitySubband::ReadScaleFactors(FrameReader& stream, const Header&)
{
    if (allocation_ > 0) {
        const float* table = SubbandTables::Get().scaleFactors;
        scaleFactor_ = table[stream.ReadBits(6)];
        scaleFactor2_ = table[stream.ReadBits(6)];
    }
}

bool Layer1IntensitySubband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2)
{
    if (allocation_ > 0) {
        const float value = sample_ * factor_ + offset_;
        EmitFirst(subbandNumber_, channels, filter1, value * scaleFactor_);
        EmitSecond(subbandNumber_, channels, filter1, filter2, value * scaleFactor2_);
    }
    return true;
}

bool Layer1StereoSubband::ReadAllocation(FrameReader& stream, const Header&, Crc16* crc)
{
    allocation_ = static_cast<int32_t>(stream.ReadBits(4));
    allocation2_ = static_cast<int32_t>(stream.ReadBits(4));
    if (crc != nullptr) {
        crc->AddBits(static_cast<uint32_t>(allocation_), 4);
        crc->AddBits(static_cast<uint32_t>(allocation2_), 4);
    }
    const bool ok1 = SetAllocation(allocation_, sampleLength_, factor_, offset_);
    const bool ok2 = SetAllocation(allocation2_, sampleLength2_, factor2_, offset2_);
    if (!ok1 || !ok2) {
        allocation_ = allocation2_ = 0;
        sampleLength_ = sampleLength2_ = 0;
        return false;
    }
    return true;
}

void Layer1StereoSubband::ReadScaleFactors(FrameReader& stream, const Header&)
{
    const float* table = SubbandTables::Get().scaleFactors;
    if (allocation_ > 0)
        scaleFactor_ = table[stream.ReadBits(6)];
    if (allocation2_ > 0)
        scaleFactor2_ = table[stream.ReadBits(6)];
}

bool Layer1StereoSubband::ReadSamples(FrameReader& stream)
{
    if (allocation_ > 0)
        sample_ = static_cast<float>(stream.ReadBits(sampleLength_));
    if (allocation2_ > 0)
        sample2_ = static_cast<float>(stream.ReadBits(sampleLength2_));
    return CountSample();
}

bool Layer1StereoSubband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2)
{
    Layer1Subband::EmitSample(channels, filter1, filter2);
    if (allocation2_ > 0)
        EmitSecond(subbandNumber_, channels, filter1, filter2, (sample2_ * factor2_ + offset2_) * scaleFactor2_);
    return true;
}

int Layer1StereoSubband::AppendCodeSlots(CodeSlot* slots, int count) const
{
    if (sampleLength_ + sampleLength2_ > 0)
        slots[count++] = {sampleLength_ + sampleLength2_, 0};
    return count;
}

bool SubbandFrameDecoder::DecodeLayer1(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                                       SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output)
{
    return RunSubbandLayer(layer1_, layer1Stereo_, layer1Intensity_, stream, header, crc, channels, filter1, filter2,
                           output);
}

}  // namespace sonarel
