// Layer I and Layer II subband decoders: one object per subband that carries data reads that
// subband's allocation and scale factors of one frame and describes its samples as slots for the
// frame's sample loop (SubbandFrameLoop.h).
#pragma once

#include "decoder/Crc16.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/SynthesisFilter.h"

#include <cstdint>

namespace sonarel {

// One coded channel of one subband as the sample loop of a frame reads it: the codes of each
// group (one sample in Layer I, three in Layer II) are requantised and scaled into the sample
// sets at First (and, above the intensity bound, at Second with the second channel's scale).
struct SampleSlot {
    int32_t bits;           // per code
    int32_t groupBits;      // per group: one code, or three without grouping in Layer II
    const float* grouping;  // Layer II triples by group code (3, 5 and 9 steps), else nullptr
    uint32_t limit;         // number of valid group codes, 0 without grouping
    float factor;           // Layer I: 2 / (2^n - 1); Layer II: 2^-(bits-1)
    float offset;           // Layer I: (2 - 2^n) / (2^n - 1); Layer II: D
    float c;                // Layer II: C
    float scales[3];        // by part of the frame (Layer I: all three alike)
    float scales2[3];
    float* first;   // sample set 0 of the subband in the first channel's sets
    float* second;  // the same in the second channel's sets; nullptr below the intensity bound
};

// The sample sets of one frame: the first channel's, the second channel's, and a set for a
// channel that is not wanted (read, never played).
struct SampleSets {
    static constexpr int kMaxSets = 36;
    alignas(32) float values[3][kMaxSets][32];
};

class Subband {
public:
    virtual ~Subband() = default;
    // False when the allocation is one the standard forbids (the frame is skipped).
    virtual bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) = 0;
    virtual void ReadScaleFactors(FrameReader& stream, const Header& header) = 0;
    // Layer II only.
    virtual void ReadScaleFactorSelection(FrameReader& /*stream*/, Crc16* /*crc*/) {}
    // Appends a slot per coded channel, in stream order, and returns the new count. First and
    // Second are the sample sets that the first and the second channel's samples go to.
    virtual int AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const = 0;
};

class Layer1Subband : public Subband {
public:
    explicit Layer1Subband(int32_t subbandNumber = 0)
        : subbandNumber_(subbandNumber)
    {
    }
    bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    int AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const override;

protected:
    static bool SetAllocation(int32_t allocation, int32_t& sampleLength, float& factor, float& offset);
    static SampleSlot Slot(int32_t sampleLength, float factor, float offset, float scale, float* first);

    int32_t subbandNumber_;
    int32_t allocation_ = 0;
    float scaleFactor_ = 0.0f;
    int32_t sampleLength_ = 0;
    float factor_ = 0.0f;
    float offset_ = 0.0f;
};

// Joint stereo above the intensity bound: one allocation and one sample for both channels.
class Layer1IntensitySubband : public Layer1Subband {
public:
    using Layer1Subband::Layer1Subband;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    int AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const override;

private:
    float scaleFactor2_ = 0.0f;
};

class Layer1StereoSubband : public Layer1Subband {
public:
    using Layer1Subband::Layer1Subband;
    bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    int AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const override;

private:
    int32_t allocation2_ = 0;
    float scaleFactor2_ = 0.0f;
    int32_t sampleLength2_ = 0;
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
    void ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) override;
    int AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const override;

protected:
    struct Channel {
        int32_t allocation = 0;
        int32_t selection = 0;
        float scaleFactors[3] = {0.0f, 0.0f, 0.0f};  // of groups 1-4, 5-8, 9-12
        const QuantClass* quant = nullptr;
    };
    static void ReadSelection(FrameReader& stream, Crc16* crc, Channel& ch);
    static void ReadFactors(FrameReader& stream, Channel& ch);
    // The slot of a channel with an allocation (count unchanged without one).
    static int AppendSlot(const Channel& ch, float* first, SampleSlot* slots, int count);

    int32_t subbandNumber_;
    Channel ch1_;
};

// Joint stereo above the intensity bound: one allocation and one set of samples, separate
// scale-factor selections and scale factors per channel.
class Layer2IntensitySubband : public Layer2Subband {
public:
    using Layer2Subband::Layer2Subband;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    void ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) override;
    int AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const override;

private:
    Channel ch2_;  // selection and scale factors only
};

class Layer2StereoSubband : public Layer2Subband {
public:
    using Layer2Subband::Layer2Subband;
    bool ReadAllocation(FrameReader& stream, const Header& header, Crc16* crc) override;
    void ReadScaleFactors(FrameReader& stream, const Header& header) override;
    void ReadScaleFactorSelection(FrameReader& stream, Crc16* crc) override;
    int AppendSampleSlots(SampleSlot* slots, int count, float* first, float* second) const override;

private:
    Channel ch2_;
};

}  // namespace sonarel
