// The frame loop of the Layer I and II subband decoders as a template over the two subband
// classes of a frame (the class below the intensity bound and the one from it on), so the calls
// are direct and inlined. Included by the files that define those classes.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "decoder/AudioOutput.h"
#include "decoder/Subband.h"

namespace sonarel {

// Reads every slot's samples of one frame into the sets; false for a group code beyond its
// table. The samples lie within the body.
using SampleReader = bool (*)(FrameReader& stream, const SampleSlot* slots, int count);

// Subbands [0, bound) use Low, [bound, count) use High; readSamples fills setCount sets. Returns
// false, with no audio and no EndFrame, for a checksum mismatch, a forbidden allocation, a group
// code beyond its table or samples running past the body.
template <class Low, class High>
[[gnu::flatten]] bool RunSubbandFrame(Low* low, High* high, int bound, int count, FrameReader& stream,
                                      const Header& header, Crc16* crc, ChannelSelection channels,
                                      SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output,
                                      SampleSets& sets, int setCount, SampleReader readSamples)
{
    if (count <= 0)
        return false;
    for (int sb = 0; sb < bound; ++sb)
        low[sb] = Low(sb);
    for (int sb = bound; sb < count; ++sb)
        high[sb] = High(sb);

    bool allowed = true;
    for (int sb = 0; sb < bound; ++sb)
        allowed &= low[sb].Low::ReadAllocation(stream, header, crc);
    for (int sb = bound; sb < count; ++sb)
        allowed &= high[sb].High::ReadAllocation(stream, header, crc);
    if (header.Layer() == 2) {
        for (int sb = 0; sb < bound; ++sb)
            low[sb].Low::ReadScaleFactorSelection(stream, crc);
        for (int sb = bound; sb < count; ++sb)
            high[sb].High::ReadScaleFactorSelection(stream, crc);
    }
    if (crc != nullptr) {
        const bool match = crc->Register == header.Checksum();
        crc->Reset();
        if (!match)
            return false;
    }
    if (!allowed)
        return false;
    for (int sb = 0; sb < bound; ++sb)
        low[sb].Low::ReadScaleFactors(stream, header);
    for (int sb = bound; sb < count; ++sb)
        high[sb].High::ReadScaleFactors(stream, header);

    // The first channel goes to the first filter when it is wanted; the second to its own
    // filter when both are wanted, to the first filter when it is played alone.
    float* const unwanted = sets.values[2][0];
    float* const first = channels == kBothChannels || channels == kFirstChannel ? sets.values[0][0] : unwanted;
    float* second = unwanted;
    if (channels == kBothChannels)
        second = filter2 != nullptr ? sets.values[1][0] : unwanted;
    else if (channels != kFirstChannel)
        second = sets.values[0][0];
    SampleSlot slots[64];
    int slotCount = 0;
    for (int sb = 0; sb < bound; ++sb)
        slotCount = low[sb].Low::AppendSampleSlots(slots, slotCount, first, second);
    for (int sb = bound; sb < count; ++sb)
        slotCount = high[sb].High::AppendSampleSlots(slots, slotCount, first, second);

    // Every sample is read and checked before any audio leaves; samples running past the body
    // refuse the frame before they are read.
    int sampleBits = 0;
    for (int i = 0; i < slotCount; ++i)
        sampleBits += 12 * slots[i].groupBits;
    if (sampleBits > stream.BitsLeft())
        return false;
    const std::size_t setBytes = sizeof sets.values[0][0] * static_cast<std::size_t>(setCount);
    std::memset(sets.values[0], 0, setBytes);
    std::memset(sets.values[1], 0, setBytes);
    if (!readSamples(stream, slots, slotCount))
        return false;

    if (filter2 != nullptr && channels == kBothChannels) {
        for (int set = 0; set < setCount; ++set)
            SynthesisFilter::ProduceSamplesFrom(filter1, sets.values[0][set], *filter2, sets.values[1][set], output);
    } else {
        for (int set = 0; set < setCount; ++set)
            filter1.ProduceSamplesFrom(sets.values[0][set], output);
    }
    output.EndFrame();
    return true;
}

// One frame of a layer whose subband classes are Mono, Stereo and Intensity. Single channel:
// the one-channel class; joint stereo: the two-channel class below the intensity bound, the
// intensity class from it on; stereo and dual channel: the two-channel class.
template <class Mono, class Stereo, class Intensity, std::size_t N>
bool RunSubbandLayer(std::array<Mono, N>& mono, std::array<Stereo, N>& stereo, std::array<Intensity, N>& intensity,
                     FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                     SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output, SampleSets& sets,
                     int setCount, SampleReader readSamples)
{
    const int count = std::min<int>(header.SubbandCount(), static_cast<int>(N));
    if (header.Mode() == Header::SingleChannel)
        return RunSubbandFrame(mono.data(), mono.data(), count, count, stream, header, crc, channels, filter1, filter2,
                               output, sets, setCount, readSamples);
    const int bound = header.Mode() == Header::JointStereo ? header.IntensityBound() : count;
    return RunSubbandFrame(stereo.data(), intensity.data(), bound, count, stream, header, crc, channels, filter1,
                           filter2, output, sets, setCount, readSamples);
}

}  // namespace sonarel
