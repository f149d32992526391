// Layer I subbands: 4-bit allocations, 6-bit scale factors, 12 samples per subband and channel.
#include "decoder/Subband.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SubbandFrameLoop.h"
#include "decoder/SubbandTables.h"

#include <algorithm>

namespace sonarel {
namespace {

// The 12 samples of every slot into sets 0..11.
bool ReadLayer1Samples(FrameReader& stream, const SampleSlot* slots, int count)
{
    FrameReader::BitCursor cursor = stream.Cursor();
    for (int sample = 0; sample < 12; ++sample) {
        const int offset = 32 * sample;
        for (int i = 0; i < count; ++i) {
            const SampleSlot& slot = slots[i];
            const float value = static_cast<float>(cursor.Read(slot.bits)) * slot.factor + slot.offset;
            slot.first[offset] = value * slot.scales[0];
            if (slot.second != nullptr)
                slot.second[offset] = value * slot.scales2[0];
        }
    }
    stream.SetPosition(cursor);
    return true;
}

}  // namespace

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

SampleSlot Layer1Subband::Slot(int32_t sampleLength, float factor, float offset, float scale, float* first)
{
    SampleSlot slot{};
    slot.bits = slot.groupBits = sampleLength;
    slot.factor = factor;
    slot.offset = offset;
    slot.scales[0] = slot.scales[1] = slot.scales[2] = scale;
    slot.scales2[0] = slot.scales2[1] = slot.scales2[2] = scale;
    slot.first = first;
    return slot;
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

int Layer1Subband::AppendSampleSlots(SampleSlot* slots, int count, float* first, float*) const
{
    if (allocation_ > 0)
        slots[count++] = Slot(sampleLength_, factor_, offset_, scaleFactor_, first + subbandNumber_);
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

// One sample for both channels, scaled by each channel's own factor.
int Layer1IntensitySubband::AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const
{
    if (allocation_ > 0) {
        SampleSlot& slot = slots[count++];
        slot = Slot(sampleLength_, factor_, offset_, scaleFactor_, first + subbandNumber_);
        slot.scales2[0] = slot.scales2[1] = slot.scales2[2] = scaleFactor2_;
        slot.second = second + subbandNumber_;
    }
    return count;
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

int Layer1StereoSubband::AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const
{
    count = Layer1Subband::AppendSampleSlots(slots, count, first, second);
    if (allocation2_ > 0)
        slots[count++] = Slot(sampleLength2_, factor2_, offset2_, scaleFactor2_, second + subbandNumber_);
    return count;
}

bool SubbandFrameDecoder::DecodeLayer1(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                                       SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output)
{
    return RunSubbandLayer(layer1_, layer1Stereo_, layer1Intensity_, stream, header, crc, channels, filter1, filter2,
                           output, sets_, 12, ReadLayer1Samples);
}

}  // namespace sonarel
