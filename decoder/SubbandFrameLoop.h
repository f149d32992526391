// The frame loop of the Layer I and II subband decoders as a template over the two subband
// classes of a frame (the class below the intensity bound and the one from it on), so the calls
// are direct and inlined. Included by the files that define those classes.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "decoder/AudioOutput.h"
#include "decoder/Subband.h"

namespace sonarel {

// Subbands [0, bound) use Low, [bound, count) use High. Returns false, with no audio and no
// EndFrame, for a checksum mismatch, a forbidden allocation, a group code beyond its table or
// samples running past the body.
template <class Low, class High>
[[gnu::flatten]] bool RunSubbandFrame(Low* low, High* high, int bound, int count, FrameReader& stream,
                                      const Header& header, Crc16* crc, ChannelSelection channels,
                                      SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output)
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

    // Check every sample code before any audio leaves.
    Subband::CodeSlot slots[64];
    int slotCount = 0;
    for (int sb = 0; sb < bound; ++sb)
        slotCount = low[sb].Low::AppendCodeSlots(slots, slotCount);
    for (int sb = bound; sb < count; ++sb)
        slotCount = high[sb].High::AppendCodeSlots(slots, slotCount);
    const FrameReader::BitPosition samplesStart = stream.Position();
    for (int group = 0; group < 12; ++group) {
        for (int i = 0; i < slotCount; ++i) {
            if (slots[i].limit == 0)
                stream.SkipBits(slots[i].bits);
            else if (stream.ReadBits(slots[i].bits) >= slots[i].limit)
                return false;
        }
    }
    if (stream.BitsLeft() < 0)
        return false;
    stream.SetPosition(samplesStart);

    // Read a sample group of every subband, then emit its sets until the last subband says it has
    // emitted them all; until the last subband has read its last group.
    const bool second = filter2 != nullptr && channels == kBothChannels;
    bool lastRead = false;
    do {
        for (int sb = 0; sb < bound; ++sb)
            lastRead = low[sb].Low::ReadSamples(stream);
        for (int sb = bound; sb < count; ++sb)
            lastRead = high[sb].High::ReadSamples(stream);
        bool emitted = false;
        do {
            for (int sb = 0; sb < bound; ++sb)
                emitted = low[sb].Low::EmitSample(channels, filter1, filter2);
            for (int sb = bound; sb < count; ++sb)
                emitted = high[sb].High::EmitSample(channels, filter1, filter2);
            if (second)
                SynthesisFilter::ProduceSamples(filter1, *filter2, output);
            else
                filter1.ProduceSamples(output);
        } while (!emitted);
    } while (!lastRead);
    output.EndFrame();
    return true;
}

// One frame of a layer whose subband classes are Mono, Stereo and Intensity. Single channel:
// the one-channel class; joint stereo: the two-channel class below the intensity bound, the
// intensity class from it on; stereo and dual channel: the two-channel class.
template <class Mono, class Stereo, class Intensity, std::size_t N>
bool RunSubbandLayer(std::array<Mono, N>& mono, std::array<Stereo, N>& stereo, std::array<Intensity, N>& intensity,
                     FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                     SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output)
{
    const int count = std::min<int>(header.SubbandCount(), static_cast<int>(N));
    if (header.Mode() == Header::SingleChannel)
        return RunSubbandFrame(mono.data(), mono.data(), count, count, stream, header, crc, channels, filter1, filter2,
                               output);
    const int bound = header.Mode() == Header::JointStereo ? header.IntensityBound() : count;
    return RunSubbandFrame(stereo.data(), intensity.data(), bound, count, stream, header, crc, channels, filter1,
                           filter2, output);
}

}  // namespace sonarel
