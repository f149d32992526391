// Layer II subbands: allocations of table-dependent width, scale-factor selection, up to three
// scale factors, 12 groups of three samples (grouped codes for 3, 5 and 9 steps).
#include "decoder/Subband.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SubbandFrameLoop.h"
#include "decoder/SubbandTables.h"

#include <algorithm>

namespace sonarel {
namespace {

// The 12 groups of three samples of every slot into sets 0..35: grouped codes are final
// values, the others are requantised; each part of four groups has its own scale factor.
bool ReadLayer2Samples(FrameReader& stream, const SampleSlot* slots, int count)
{
    FrameReader::BitCursor cursor = stream.Cursor();
    for (int group = 0; group < 12; ++group) {
        const int part = group / 4;
        const int offset = 3 * 32 * group;
        for (int i = 0; i < count; ++i) {
            const SampleSlot& slot = slots[i];
            float s[3];
            if (slot.grouping != nullptr) {
                const uint32_t code = cursor.Read(slot.bits);
                if (code >= slot.limit)
                    return false;
                const float* triple = slot.grouping + 3 * code;
                s[0] = triple[0];
                s[1] = triple[1];
                s[2] = triple[2];
            } else {
#pragma GCC unroll 3
                for (float& v : s) {
                    const float value = static_cast<float>(cursor.Read(slot.bits)) * slot.factor - 1.0f;
                    v = (value + slot.offset) * slot.c;
                }
            }
            float* out = slot.first + offset;
            const float scale = slot.scales[part];
            out[0] = s[0] * scale;
            out[32] = s[1] * scale;
            out[64] = s[2] * scale;
            if (slot.second != nullptr) {
                float* out2 = slot.second + offset;
                const float scale2 = slot.scales2[part];
                out2[0] = s[0] * scale2;
                out2[32] = s[1] * scale2;
                out2[64] = s[2] * scale2;
            }
        }
    }
    stream.SetPosition(cursor);
    return true;
}

}  // namespace

void Layer2Subband::ReadSelection(FrameReader& stream, Crc16* crc, Channel& ch)
{
    if (ch.allocation > 0) {
        ch.selection = static_cast<int32_t>(stream.ReadBits(2));
        if (crc != nullptr)
            crc->AddBits(static_cast<uint32_t>(ch.selection), 2);
    }
}

void Layer2Subband::ReadFactors(FrameReader& stream, Channel& ch)
{
    const float* table = SubbandTables::Get().scaleFactors;
    float* sf = ch.scaleFactors;
    switch (ch.selection) {
    case 0:
        sf[0] = table[stream.ReadBits(6)];
        sf[1] = table[stream.ReadBits(6)];
        sf[2] = table[stream.ReadBits(6)];
        break;
    case 1:
        sf[0] = sf[1] = table[stream.ReadBits(6)];
        sf[2] = table[stream.ReadBits(6)];
        break;
    case 2:
        sf[0] = sf[1] = sf[2] = table[stream.ReadBits(6)];
        break;
    default:
        sf[0] = table[stream.ReadBits(6)];
        sf[1] = sf[2] = table[stream.ReadBits(6)];
        break;
    }
}

int Layer2Subband::AppendSlot(const Channel& ch, float* first, SampleSlot* slots, int count)
{
    if (ch.allocation == 0 || ch.quant == nullptr)
        return count;
    const QuantClass& q = *ch.quant;
    SampleSlot& slot = slots[count];
    slot.bits = q.codeLength;
    slot.groupBits = q.grouping != nullptr ? q.codeLength : 3 * q.codeLength;
    slot.grouping = q.grouping;
    slot.limit = q.grouping != nullptr ? static_cast<uint32_t>(q.groupCodes) : 0;
    slot.factor = q.factor;
    slot.offset = q.d;
    slot.c = q.c;
    for (int part = 0; part < 3; ++part)
        slot.scales[part] = slot.scales2[part] = ch.scaleFactors[part];
    slot.first = first;
    slot.second = nullptr;
    return count + 1;
}

bool Layer2Subband::ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc)
{
    const int32_t width = Layer2AllocationWidth(header, subbandNumber_);
    ch1_.allocation = static_cast<int32_t>(stream.ReadBits(width));
    if (crc != nullptr)
        crc->AddBits(static_cast<uint32_t>(ch1_.allocation), width);
    ch1_.quant = Layer2Class(header, subbandNumber_, ch1_.allocation);
    if (ch1_.quant == nullptr)
        ch1_.allocation = 0;
    return true;
}

void Layer2Subband::ReadScaleFactorSelection(FrameReader& stream, Crc16* crc)
{
    ReadSelection(stream, crc, ch1_);
}

void Layer2Subband::ReadScaleFactors(FrameReader& stream, const Header&)
{
    if (ch1_.allocation > 0)
        ReadFactors(stream, ch1_);
}

int Layer2Subband::AppendSampleSlots(SampleSlot* slots, int count, float* first, float*) const
{
    return AppendSlot(ch1_, first + subbandNumber_, slots, count);
}

void Layer2IntensitySubband::ReadScaleFactorSelection(FrameReader& stream, Crc16* crc)
{
    if (ch1_.allocation > 0) {
        ReadSelection(stream, crc, ch1_);
        ch2_.allocation = ch1_.allocation;
        ReadSelection(stream, crc, ch2_);
    }
}

void Layer2IntensitySubband::ReadScaleFactors(FrameReader& stream, const Header&)
{
    if (ch1_.allocation > 0) {
        ReadFactors(stream, ch1_);
        ReadFactors(stream, ch2_);
    }
}

// One set of codes, scaled by each channel's own factors.
int Layer2IntensitySubband::AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const
{
    if (AppendSlot(ch1_, first + subbandNumber_, slots, count) == count)
        return count;
    SampleSlot& slot = slots[count];
    for (int part = 0; part < 3; ++part)
        slot.scales2[part] = ch2_.scaleFactors[part];
    slot.second = second + subbandNumber_;
    return count + 1;
}

bool Layer2StereoSubband::ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc)
{
    const int32_t width = Layer2AllocationWidth(header, subbandNumber_);
    ch1_.allocation = static_cast<int32_t>(stream.ReadBits(width));
    ch2_.allocation = static_cast<int32_t>(stream.ReadBits(width));
    if (crc != nullptr) {
        crc->AddBits(static_cast<uint32_t>(ch1_.allocation), width);
        crc->AddBits(static_cast<uint32_t>(ch2_.allocation), width);
    }
    ch1_.quant = Layer2Class(header, subbandNumber_, ch1_.allocation);
    ch2_.quant = Layer2Class(header, subbandNumber_, ch2_.allocation);
    if (ch1_.quant == nullptr)
        ch1_.allocation = 0;
    if (ch2_.quant == nullptr)
        ch2_.allocation = 0;
    return true;
}

void Layer2StereoSubband::ReadScaleFactorSelection(FrameReader& stream, Crc16* crc)
{
    ReadSelection(stream, crc, ch1_);
    ReadSelection(stream, crc, ch2_);
}

void Layer2StereoSubband::ReadScaleFactors(FrameReader& stream, const Header&)
{
    if (ch1_.allocation > 0)
        ReadFactors(stream, ch1_);
    if (ch2_.allocation > 0)
        ReadFactors(stream, ch2_);
}

int Layer2StereoSubband::AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const
{
    count = AppendSlot(ch1_, first + subbandNumber_, slots, count);
    return AppendSlot(ch2_, second + subbandNumber_, slots, count);
}

bool SubbandFrameDecoder::DecodeLayer2(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                                       SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output)
{
    return RunSubbandLayer(layer2_, layer2Stereo_, layer2Intensity_, stream, header, crc, channels, filter1, filter2,
                           output, sets_, 36, ReadLayer2Samples);
}

}  // namespace sonarel
