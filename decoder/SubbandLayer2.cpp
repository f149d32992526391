// Layer II subbands: allocations of table-dependent width, scale-factor selection, up to three
// scale factors, 12 groups of three samples (grouped codes for 3, 5 and 9 steps).
#include "decoder/Subband.h"
#include "decoder/SubbandTables.h"

namespace sonarel {

void Layer2Subband::ReadSelection(FrameReader& stream, Crc16* crc, Channel& ch) {
  if (ch.allocation > 0) {
    ch.selection = static_cast<int32_t>(stream.ReadBits(2));
    if (crc != nullptr)
      crc->AddBits(static_cast<uint32_t>(ch.selection), 2);
  }
}

void Layer2Subband::ReadFactors(FrameReader& stream, Channel& ch) {
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

void Layer2Subband::ReadGroup(FrameReader& stream, Channel& ch) {
  const QuantClass& q = *ch.quant;
  if (q.grouping != nullptr) {
    uint32_t code = stream.ReadBits(q.codeLength);
    if (code >= static_cast<uint32_t>(q.groupCodes))
      code = 0;  // refused earlier by SkipCodes
    const float* triple = q.grouping + 3 * code;
    ch.samples[0] = triple[0];
    ch.samples[1] = triple[1];
    ch.samples[2] = triple[2];
  } else {
    for (float& s : ch.samples)
      s = static_cast<float>(stream.ReadBits(q.codeLength)) * q.factor - 1.0f;
  }
}

bool Layer2Subband::SkipCodes(FrameReader& stream, const Channel& ch) {
  if (ch.allocation == 0 || ch.quant == nullptr)
    return true;
  const QuantClass& q = *ch.quant;
  if (q.grouping == nullptr) {
    stream.SkipBits(3 * q.codeLength);
    return true;
  }
  return stream.ReadBits(q.codeLength) < static_cast<uint32_t>(q.groupCodes);
}

float Layer2Subband::Requantised(const Channel& ch) const {
  float value = ch.samples[sampleNumber_];
  if (ch.quant->grouping == nullptr)
    value = (value + ch.quant->d) * ch.quant->c;
  return value;
}

float Layer2Subband::Scale(const Channel& ch) const {
  return ch.scaleFactors[groupNumber_ <= 4 ? 0 : groupNumber_ <= 8 ? 1 : 2];
}

bool Layer2Subband::ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) {
  const int32_t width = Layer2AllocationWidth(header, subbandNumber_);
  ch1_.allocation = static_cast<int32_t>(stream.ReadBits(width));
  if (crc != nullptr)
    crc->AddBits(static_cast<uint32_t>(ch1_.allocation), width);
  ch1_.quant = Layer2Class(header, subbandNumber_, ch1_.allocation);
  if (ch1_.quant == nullptr)
    ch1_.allocation = 0;
  return true;
}

void Layer2Subband::ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) {
  ReadSelection(stream, crc, ch1_);
}

void Layer2Subband::ReadScaleFactors(FrameReader& stream, const Header&) {
  if (ch1_.allocation > 0)
    ReadFactors(stream, ch1_);
}

bool Layer2Subband::ReadSamples(FrameReader& stream) {
  if (ch1_.allocation > 0)
    ReadGroup(stream, ch1_);
  sampleNumber_ = 0;
  return ++groupNumber_ == 12;
}

bool Layer2Subband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1,
                               SynthesisFilter*) {
  if (ch1_.allocation > 0 && (channels == kBothChannels || channels == kFirstChannel))
    filter1.SetInput(subbandNumber_, Requantised(ch1_) * Scale(ch1_));
  return ++sampleNumber_ == 3;
}

bool Layer2Subband::SkipGroup(FrameReader& stream) {
  return SkipCodes(stream, ch1_);
}

void Layer2IntensitySubband::ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) {
  if (ch1_.allocation > 0) {
    ReadSelection(stream, crc, ch1_);
    ch2_.allocation = ch1_.allocation;
    ReadSelection(stream, crc, ch2_);
  }
}

void Layer2IntensitySubband::ReadScaleFactors(FrameReader& stream, const Header&) {
  if (ch1_.allocation > 0) {
    ReadFactors(stream, ch1_);
    ReadFactors(stream, ch2_);
  }
}

bool Layer2IntensitySubband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1,
                                        SynthesisFilter* filter2) {
  if (ch1_.allocation > 0) {
    const float value = Requantised(ch1_);
    if (channels == kBothChannels) {
      filter1.SetInput(subbandNumber_, value * Scale(ch1_));
      if (filter2 != nullptr)
        filter2->SetInput(subbandNumber_, value * Scale(ch2_));
    } else if (channels == kFirstChannel) {
      filter1.SetInput(subbandNumber_, value * Scale(ch1_));
    } else {
      filter1.SetInput(subbandNumber_, value * Scale(ch2_));
    }
  }
  return ++sampleNumber_ == 3;
}

bool Layer2StereoSubband::ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) {
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

void Layer2StereoSubband::ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) {
  ReadSelection(stream, crc, ch1_);
  ReadSelection(stream, crc, ch2_);
}

void Layer2StereoSubband::ReadScaleFactors(FrameReader& stream, const Header&) {
  if (ch1_.allocation > 0)
    ReadFactors(stream, ch1_);
  if (ch2_.allocation > 0)
    ReadFactors(stream, ch2_);
}

bool Layer2StereoSubband::ReadSamples(FrameReader& stream) {
  if (ch1_.allocation > 0)
    ReadGroup(stream, ch1_);
  if (ch2_.allocation > 0)
    ReadGroup(stream, ch2_);
  sampleNumber_ = 0;
  return ++groupNumber_ == 12;
}

bool Layer2StereoSubband::EmitSample(ChannelSelection channels, SynthesisFilter& filter1,
                                     SynthesisFilter* filter2) {
  if (ch1_.allocation > 0 && (channels == kBothChannels || channels == kFirstChannel))
    filter1.SetInput(subbandNumber_, Requantised(ch1_) * Scale(ch1_));
  if (ch2_.allocation > 0 && channels != kFirstChannel) {
    const float value = Requantised(ch2_) * Scale(ch2_);
    if (channels == kBothChannels) {
      if (filter2 != nullptr)
        filter2->SetInput(subbandNumber_, value);
    } else {
      filter1.SetInput(subbandNumber_, value);
    }
  }
  return ++sampleNumber_ == 3;
}

bool Layer2StereoSubband::SkipGroup(FrameReader& stream) {
  return SkipCodes(stream, ch1_) && SkipCodes(stream, ch2_);
}

}  // namespace sonarel
