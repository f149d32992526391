// Polyphase synthesis filter bank: turns each set of 32 subband samples into 32 PCM samples,
// scaled, truncated toward zero and clipped to 16 bits, and hands them to the output.
#pragma once

#include <cstdint>

namespace sonarel {

class AudioOutput;

// One set of inputs through one filter: where its new column goes and where its output goes.
struct SetJob {
    const float* inputs;
    float (*active)[32];
    float (*other)[32];
    int column;
    float scaleFactor;
    int16_t* pcm;
};

// Which channels the layer decoders deliver: 0 both, 1 first only, 2 second only,
// 3 both mixed into one (Layer III).
using ChannelSelection = int32_t;
inline constexpr ChannelSelection kBothChannels = 0;
inline constexpr ChannelSelection kFirstChannel = 1;
inline constexpr ChannelSelection kSecondChannel = 2;
inline constexpr ChannelSelection kDownmix = 3;

class SynthesisFilter {
public:
    SynthesisFilter(int32_t channel, float scaleFactor);

    // Clears the history and the inputs (after a jump).
    void Reset();

    // Input slot of subband sb (0..31) for the current set; slots not written stay 0.
    void SetInput(int sb, float sample) { inputs_[sb] = sample; }
    // 32 PCM samples for the current inputs into Pcm, then clears the inputs (tests).
    void ProduceSamples(int16_t* pcm);

    // Emits 32 PCM samples for a set of 32 inputs held by the caller on the filter's channel
    // (the filter's own inputs are left alone).
    void ProduceSamplesFrom(const float* inputs, AudioOutput& output);
    // First.ProduceSamplesFrom(firstInputs, output) and the same for Second, with the two
    // channels' samples handed over alternately (the same buffer content, in less time).
    static void ProduceSamplesFrom(SynthesisFilter& first, const float* firstInputs, SynthesisFilter& second,
                                   const float* secondInputs, AudioOutput& output);

    // Coefficient D[i] (i = 0..511) of the synthesis window.
    static float WindowCoefficient(int i);

    int32_t Channel() const { return channel_; }
    float ScaleFactor() const { return scaleFactor_; }

private:
    // The filter step for one set, and for the sets of two filters at once, with the processor's
    // widest vectors (WideVectors() when the filter is made).
    using Step = void (*)(const SetJob* jobs, const float* factors);
    SetJob Job(const float* inputs, int16_t* pcm);
    void Advance();
    void Synthesize(const float* inputs, int16_t* pcm);

    // Each store holds 32 columns of the 32 vector entries (one per output sample j); column c
    // and c + 16 hold the same set, so the 16 most recent sets are always contiguous.
    alignas(16) float stores_[2][32][32];
    int active_ = 0;
    int column_ = 15;
    alignas(16) float inputs_[32];
    int32_t channel_;
    float scaleFactor_;
    const float* cosineFactors_;
    Step synthesize_;
    Step synthesizePair_;
};

}  // namespace sonarel
