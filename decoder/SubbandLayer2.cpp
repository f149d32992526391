// Layer II subbands: allocations of table-dependent width, scale-factor selection, up to three
// scale factors, 12 groups of three samples (grouped codes for 3, 5 and 9 steps).
#include "decoder/Subband.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SubbandFrameLoop.h"
#include "decoder/SubbandTables.h"

#include <algorithm>

namespace sonarel {

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

// Reads one group of three samples and requantises them (grouped codes are final values).
void Layer2Subband::ReadGroup(FrameReader& stream, Channel& ch)
{
    const QuantClass& q = *ch.quant;
    if (q.grouping != nullptr) {
        uint32_t code = stream.ReadBits(q.codeLength);
        if (code >= static_cast<uint32_t>(q.groupCodes))
            code = 0;  // the frame check refused such codes
        const float* triple = q.grouping + 3 * code;
        ch.samples[0] = triple[0];
        ch.samples[1] = triple[1];
        ch.samples[2] = triple[2];
    } else {
        for (float& s : ch.samples) {
            const float value = static_cast<float>(stream.ReadBits(q.codeLength)) * q.factor - 1.0f;
            s = (value + q.d) * q.c;
        }
    }
}

int Layer2Subband::AppendSlot(const Channel& ch, CodeSlot* slots, int count)
{
    if (ch.allocation == 0 || ch.quant == nullptr)
        return count;
    const QuantClass& q = *ch.quant;
    if (q.grouping == nullptr)
        slots[count++] = {3 * q.codeLength, 0};
    else
        slots[count++] = {q.codeLength, static_cast<uint32_t>(q.groupCodes)};
    return count;
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

bool Layer2Subband::ReadSamples(FrameReader& stream)
{
    sampleNumber_ = 0;
    ++groupNumber_;
    if (ch1_.allocation > 0) {
        ReadGroup(stream, ch1_);
        ScaleGroup(ch1_, Scale(ch1_));
    }
    return groupNumber_ == 12;
}

bool Layer2Subband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter*)
{
    if (ch1_.allocation > 0)
        EmitFirst(subbandNumber_, channels, filter1, ch1_.values[sampleNumber_]);
    return ++sampleNumber_ == 3;
}

int Layer2Subband::AppendCodeSlots(CodeSlot* slots, int count) const
{
    return AppendSlot(ch1_, slots, count);
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

bool Layer2IntensitySubband::ReadSamples(FrameReader& stream)
{
    sampleNumber_ = 0;
    ++groupNumber_;
    if (ch1_.allocation > 0) {
        // One set of samples, scaled by each channel's own factors.
        ReadGroup(stream, ch1_);
        for (int k = 0; k < 3; ++k)
            ch2_.values[k] = ch1_.samples[k] * Scale(ch2_);
        ScaleGroup(ch1_, Scale(ch1_));
    }
    return groupNumber_ == 12;
}

bool Layer2IntensitySubband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2)
{
    if (ch1_.allocation > 0) {
        EmitFirst(subbandNumber_, channels, filter1, ch1_.values[sampleNumber_]);
        EmitSecond(subbandNumber_, channels, filter1, filter2, ch2_.values[sampleNumber_]);
    }
    return ++sampleNumber_ == 3;
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

bool Layer2StereoSubband::ReadSamples(FrameReader& stream)
{
    sampleNumber_ = 0;
    ++groupNumber_;
    if (ch1_.allocation > 0) {
        ReadGroup(stream, ch1_);
        ScaleGroup(ch1_, Scale(ch1_));
    }
    if (ch2_.allocation > 0) {
        ReadGroup(stream, ch2_);
        ScaleGroup(ch2_, Scale(ch2_));
    }
    return groupNumber_ == 12;
}

bool Layer2StereoSubband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2)
{
    if (ch1_.allocation > 0)
        EmitFirst(subbandNumber_, channels, filter1, ch1_.values[sampleNumber_]);
    if (ch2_.allocation > 0)
        EmitSecond(subbandNumber_, channels, filter1, filter2, ch2_.values[sampleNumber_]);
    return ++sampleNumber_ == 3;
}

int Layer2StereoSubband::AppendCodeSlots(CodeSlot* slots, int count) const
{
    return AppendSlot(ch2_, slots, AppendSlot(ch1_, slots, count));
}

bool SubbandFrameDecoder::DecodeLayer2(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                                       SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output)
{
    return RunSubbandLayer(layer2_, layer2Stereo_, layer2Intensity_, stream, header, crc, channels, filter1, filter2,
                           output);
}

}  // namespace sonarel
