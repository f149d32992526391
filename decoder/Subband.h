// Layer I and Layer II subband decoders: one object per subband that carries data reads that
// subband's allocation, scale factors and samples of one frame and hands the requantised,
// scaled samples to the synthesis filters.
#pragma once

#include "decoder/Crc16.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/SynthesisFilter.h"

#include <cstdint>

namespace sonarel {

class Subband {
public:
    virtual ~Subband() = default;
    // False when the allocation is one the standard forbids (the frame is skipped).
    virtual bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) = 0;
    virtual void ReadScaleFactors(FrameReader& stream, const Header& header) = 0;
    // True when the frame's last sample group has been read.
    virtual bool ReadSamples(FrameReader& stream) = 0;
    // True when the samples read last have all been emitted.
    virtual bool EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2) = 0;
    // Layer II only.
    virtual void ReadScaleFactorSelection(FrameReader& /*stream*/, Crc16* /*crc*/) {}
    // The sample codes of one group, in stream order, for checking a frame before decoding it:
    // appends (bits, number of valid codes or 0 when every code is valid) per coded channel and
    // returns the new count.
    struct CodeSlot {
        int32_t bits;
        uint32_t limit;
    };
    virtual int AppendCodeSlots(CodeSlot* slots, int count) const = 0;

protected:
    // Hands a value of the first channel to the first filter when that channel is wanted.
    static void EmitFirst(int32_t subband, ChannelSelection channels, SynthesisFilter& filter1, float value)
    {
        if (channels == kBothChannels || channels == kFirstChannel)
            filter1.SetInput(subband, value);
    }
    // Hands a value of the second channel to its own filter when both channels are wanted, to
    // the first filter when the second channel is played alone.
    static void EmitSecond(int32_t subband, ChannelSelection channels, SynthesisFilter& filter1,
                           SynthesisFilter* filter2, float value)
    {
        if (channels == kBothChannels) {
            if (filter2 != nullptr)
                filter2->SetInput(subband, value);
        } else if (channels != kFirstChannel) {
            filter1.SetInput(subband, value);
        }
    }
};

class Layer1Subband : public Subband {
public:
    explicit Layer1Subband(int32_t subbandNumber = 0)
        : subbandNumber_(subbandNumber)
    {
    }
    bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    bool ReadSamples(FrameReader& stream) override;
    bool EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2) override;
    int AppendCodeSlots(CodeSlot* slots, int count) const override;

protected:
    static bool SetAllocation(int32_t allocation, int32_t& sampleLength, float& factor, float& offset);
    // Counts a sample read; true after the twelfth of the frame.
    bool CountSample();

    int32_t subbandNumber_;
    int32_t sampleCounter_ = 0;
    int32_t allocation_ = 0;
    float scaleFactor_ = 0.0f;
    int32_t sampleLength_ = 0;
    float sample_ = 0.0f;
    float factor_ = 0.0f;
    float offset_ = 0.0f;
};

// Joint stereo above the intensity bound: one allocation and one sample for both channels.
class Layer1IntensitySubband : public Layer1Subband {
public:
    using Layer1Subband::Layer1Subband;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    bool EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2) override;

private:
    float scaleFactor2_ = 0.0f;
};

class Layer1StereoSubband : public Layer1Subband {
public:
    using Layer1Subband::Layer1Subband;
    bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    bool ReadSamples(FrameReader& stream) override;
    bool EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2) override;
    int AppendCodeSlots(CodeSlot* slots, int count) const override;

private:
    int32_t allocation2_ = 0;
    float scaleFactor2_ = 0.0f;
    int32_t sampleLength2_ = 0;
    float sample2_ = 0.0f;
    float factor2_ = 0.0f;
    float offset2_ = 0.0f;
};

// One quantisation class of Layer II (ISO/IEC 11172-3 Table 3-B.4).
struct QuantClass {
    int32_t codeLength;     // bits per sample, or per group of three samples
    const float* grouping;  // triples by group code (3, 5 and 9 steps), else nullptr
    int32_t groupCodes;     // number of valid group codes (27, 125, 729), 0 without grouping
    float factor;           // 2^-(bits-1) without grouping
    float c;
    float d;
};

class Layer2Subband : public Subband {
public:
    explicit Layer2Subband(int32_t subbandNumber = 0)
        : subbandNumber_(subbandNumber)
    {
    }
    bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    bool ReadSamples(FrameReader& stream) override;
    bool EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2) override;
    void ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) override;
    int AppendCodeSlots(CodeSlot* slots, int count) const override;

protected:
    struct Channel {
        int32_t allocation = 0;
        int32_t selection = 0;
        float scaleFactors[3] = {0.0f, 0.0f, 0.0f};
        const QuantClass* quant = nullptr;
        float samples[3] = {0.0f, 0.0f, 0.0f};  // requantised, before scaling
        float values[3] = {0.0f, 0.0f, 0.0f};   // scaled: what EmitSample hands on
    };
    static void ReadSelection(FrameReader& stream, Crc16* crc, Channel& ch);
    static void ReadFactors(FrameReader& stream, Channel& ch);
    static void ReadGroup(FrameReader& stream, Channel& ch);
    static int AppendSlot(const Channel& ch, CodeSlot* slots, int count);
    // Scale factor of the current part (groups 1-4, 5-8, 9-12).
    float Scale(const Channel& ch) const { return ch.scaleFactors[groupNumber_ <= 4 ? 0 : groupNumber_ <= 8 ? 1 : 2]; }
    static void ScaleGroup(Channel& ch, float scale)
    {
        for (int k = 0; k < 3; ++k)
            ch.values[k] = ch.samples[k] * scale;
    }

    int32_t subbandNumber_;
    Channel ch1_;
    int32_t groupNumber_ = 0;
    int32_t sampleNumber_ = 0;
};

// Joint stereo above the intensity bound: one allocation and one set of samples, separate
// scale-factor selections and scale factors per channel.
class Layer2IntensitySubband : public Layer2Subband {
public:
    using Layer2Subband::Layer2Subband;
    bool ReadSamples(FrameReader& stream) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    bool EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2) override;
    void ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) override;

private:
    Channel ch2_;  // selection and scale factors only
};

class Layer2StereoSubband : public Layer2Subband {
public:
    using Layer2Subband::Layer2Subband;
    bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    bool ReadSamples(FrameReader& stream) override;
    bool EmitSample(ChannelSelection channels, SynthesisFilter& filter1, SynthesisFilter* filter2) override;
    void ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) override;
    int AppendCodeSlots(CodeSlot* slots, int count) const override;

private:
    Channel ch2_;
};

}  // namespace sonarel
