#include "decoder/SubbandFrameDecoder.h"

#include "decoder/AudioOutput.h"

namespace sonarel {

void SubbandFrameDecoder::Build(const Header& header) {
  const int32_t count = header.SubbandCount();
  const int32_t bound = header.Mode() == Header::JointStereo ? header.IntensityBound() : count;
  const bool single = header.Mode() == Header::SingleChannel;
  const bool layer1 = header.Layer() == 1;
  count_ = count < 0 ? 0 : count > 32 ? 32 : count;
  for (int sb = 0; sb < count_; ++sb) {
    if (layer1) {
      if (single) {
        layer1_[sb] = Layer1Subband(sb);
        subbands_[sb] = &layer1_[sb];
      } else if (sb < bound) {
        layer1Stereo_[sb] = Layer1StereoSubband(sb);
        subbands_[sb] = &layer1Stereo_[sb];
      } else {
        layer1Intensity_[sb] = Layer1IntensitySubband(sb);
        subbands_[sb] = &layer1Intensity_[sb];
      }
    } else {
      if (single) {
        layer2_[sb] = Layer2Subband(sb);
        subbands_[sb] = &layer2_[sb];
      } else if (sb < bound) {
        layer2Stereo_[sb] = Layer2StereoSubband(sb);
        subbands_[sb] = &layer2Stereo_[sb];
      } else {
        layer2Intensity_[sb] = Layer2IntensitySubband(sb);
        subbands_[sb] = &layer2Intensity_[sb];
      }
    }
  }
}

bool SubbandFrameDecoder::DecodeFrame(FrameReader& stream, const Header& header, Crc16* crc,
                                      ChannelSelection channels, SynthesisFilter& filter1,
                                      SynthesisFilter* filter2, AudioOutput& output) {
  if (header.Layer() != 1 && header.Layer() != 2)
    return false;
  Build(header);
  if (count_ == 0)
    return false;
  Subband* const* bands = subbands_.data();
  const int n = count_;

  bool allowed = true;
  for (int i = 0; i < n; ++i) allowed &= bands[i]->ReadAllocation(stream, header, crc);
  if (header.Layer() == 2)
    for (int i = 0; i < n; ++i) bands[i]->ReadScaleFactorSelection(stream, crc);
  if (crc != nullptr) {
    const bool match = crc->Register == header.Checksum();
    crc->Reset();
    if (!match)
      return false;
  }
  if (!allowed)
    return false;
  for (int i = 0; i < n; ++i) bands[i]->ReadScaleFactors(stream, header);

  // Check the sample codes before any audio leaves: a group code beyond its table or samples
  // running past the body drop the whole frame.
  const FrameReader::BitPosition samplesStart = stream.Position();
  for (int group = 0; group < 12; ++group)
    for (int i = 0; i < n; ++i)
      if (!bands[i]->SkipGroup(stream))
        return false;
  if (stream.BitsLeft() < 0)
    return false;
  stream.SetPosition(samplesStart);

  const bool second = filter2 != nullptr && channels == kBothChannels;
  Subband* const last = bands[n - 1];
  bool lastRead;
  do {
    for (int i = 0; i < n - 1; ++i) bands[i]->ReadSamples(stream);
    lastRead = last->ReadSamples(stream);
    bool emitted;
    do {
      for (int i = 0; i < n - 1; ++i) bands[i]->EmitSample(channels, filter1, filter2);
      emitted = last->EmitSample(channels, filter1, filter2);
      filter1.ProduceSamples(output);
      if (second)
        filter2->ProduceSamples(output);
    } while (!emitted);
  } while (!lastRead);
  output.EndFrame();
  return true;
}

}  // namespace sonarel
