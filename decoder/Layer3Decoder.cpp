#include "decoder/Layer3Decoder.h"

#include <algorithm>
#include <cstring>

#include "decoder/AudioOutput.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"

namespace sonarel {

Layer3Decoder::Layer3Decoder(FrameReader& stream, Header& header, SynthesisFilter* filter1, SynthesisFilter* filter2,
                             AudioOutput& output, ChannelSelection channels)
    : stream_(stream),
      header_(header),
      filter1_(filter1),
      filter2_(filter2),
      output_(output),
      selection_(channels),
      reservoir_(std::make_unique<BitReservoir>())
{
    std::memset(is_, 0, sizeof is_);
    std::memset(ro_, 0, sizeof ro_);
    std::memset(lr_, 0, sizeof lr_);
    std::memset(work_, 0, sizeof work_);
    std::memset(prevblock_, 0, sizeof prevblock_);
    version_ = header.Version() == 1 ? 1 : 0;
    granules_ = version_ == 1 ? 2 : 1;
    channelCount_ = header.Mode() == Header::SingleChannel ? 1 : 2;
    sampleRateTable_ = std::clamp(header.SampleRateIndex() + (version_ == 1 ? 3 : 0), 0, 5);
    if (channelCount_ == 1 || channels == kFirstChannel || channels == kDownmix) {
        firstChannel_ = lastChannel_ = 0;
    } else if (channels == kSecondChannel) {
        firstChannel_ = lastChannel_ = 1;
    } else {
        firstChannel_ = 0;
        lastChannel_ = 1;
    }
}

void Layer3Decoder::SeekNotify()
{
    std::memset(prevblock_, 0, sizeof prevblock_);
    prevLimit_[0] = prevLimit_[1] = 0;
    reservoir_ = std::make_unique<BitReservoir>();
}

bool Layer3Decoder::DecodeFrame()
{
    ReadLayer3SideInfo(
        sideInfo_, [this](int n) { return stream_.ReadBits(n); }, version_, channelCount_);

    // The frame's main data joins the reservoir. Never more than the frame body holds.
    BitReservoir& r = *reservoir_;
    const int64_t frameStart = r.BytesWritten();
    const int slots = std::clamp(header_.MainDataSlots(), 0, std::max(0, stream_.BitsLeft() / 8));
    uint8_t bytes[FrameReader::kFrameBytes];
    stream_.ReadBytes(bytes, slots);
    r.PutBytes(bytes, slots);

    // The previous frame's data ends at the next byte boundary; this frame's data begins
    // main_data_begin bytes before its own bytes.
    if (r.BitsRead() & 7)
        r.SkipBits(8 - (r.BitsRead() & 7));
    const int64_t end = r.BitsRead() / 8;
    const int64_t discard = frameStart - end - sideInfo_.main_data_begin;
    if (discard < 0)
        return false;  // its main data is not (or no longer) held: no output
    r.SkipBits(discard * 8);

    for (int gr = 0; gr < granules_; ++gr)
        DecodeGranule(gr);
    output_.EndFrame();
    return true;
}

void Layer3Decoder::DecodeGranule(int gr)
{
    BitReservoir& r = *reservoir_;
    const ScaleFactorBandTable& bands = ScaleFactorBands[sampleRateTable_];
    const int mode = header_.Mode();
    const int modeExtension = header_.ModeExtension();
    const bool joint = mode == Header::JointStereo && channelCount_ == 2;
    const int64_t available = r.BytesWritten() * 8;

    for (int ch = 0; ch < channelCount_; ++ch) {
        Layer3GranuleInfo& g = sideInfo_.ch[ch].gr[gr];
        const int64_t part2Start = r.BitsRead();
        if (version_ == 1)
            ReadScaleFactorsMpeg1(r, g, sideInfo_.ch[ch].scfsi, gr, scaleFactors_[ch]);
        else
            ReadScaleFactorsLsf(r, g, ch == 1 && joint && (modeExtension & 1), scaleFactors_[ch]);
        limit_[ch] = DecodeHuffmanValues(r, g, bands, part2Start, available, is_);
        Requantize(is_, limit_[ch], g, scaleFactors_[ch], bands, version_, ro_[ch]);
    }

    if (channelCount_ == 2) {
        Layer3StereoMode stereo;
        stereo.version = version_;
        stereo.midSide = joint && (modeExtension & 2);
        stereo.intensity = joint && (modeExtension & 1);
        int limit = std::max(limit_[0], limit_[1]);
        ProcessStereo(ro_, lr_, sideInfo_.ch[0].gr[gr], sideInfo_.ch[1].gr[gr], scaleFactors_[1], bands, stereo, limit);
        limit_[0] = limit_[1] = limit;
        if (selection_ == kDownmix) {
            for (int i = 0; i < limit; ++i)
                lr_[0][i] = (lr_[0][i] + lr_[1][i]) * 0.5f;
        }
    } else {
        std::memcpy(lr_[0], ro_[0], sizeof lr_[0]);
    }

    for (int ch = firstChannel_; ch <= lastChannel_; ++ch)
        ReconstructChannel(ch, gr);
    OutputGranule();
}

void Layer3Decoder::ReconstructChannel(int ch, int gr)
{
    const Layer3GranuleInfo& g = sideInfo_.ch[ch].gr[gr];
    const ScaleFactorBandTable& bands = ScaleFactorBands[sampleRateTable_];
    float* work = work_[ch];
    Reorder(lr_[ch], g, bands, work);
    // Reordering spreads short blocks over whole bands; alias reduction reaches one subband up.
    const int sbLimit = g.ShortBlocks() ? 32 : std::min(32, (limit_[ch] + 17) / 18 + 1);
    ReduceAliases(work, g, sbLimit);
    HybridSynthesis(work, prevblock_[ch], g, sbLimit, prevLimit_[ch]);
}

namespace {

// Set ss (0..17) of the subband samples: sample ss of each of the 32 subbands.
void GatherSet(const float* work, int ss, float set[32])
{
    for (int sb = 0; sb < 32; ++sb)
        set[sb] = work[18 * sb + ss];
}

}  // namespace

void Layer3Decoder::OutputGranule()
{
    alignas(16) float set1[32];
    alignas(16) float set2[32];
    if (firstChannel_ != lastChannel_ && filter1_ != nullptr && filter2_ != nullptr) {
        for (int ss = 0; ss < 18; ++ss) {
            GatherSet(work_[0], ss, set1);
            GatherSet(work_[1], ss, set2);
            SynthesisFilter::ProduceSamplesFrom(*filter1_, set1, *filter2_, set2, output_);
        }
        return;
    }
    for (int ch = firstChannel_; ch <= lastChannel_; ++ch) {
        SynthesisFilter* filter = (ch == 0 || selection_ == kSecondChannel) ? filter1_ : filter2_;
        if (filter == nullptr)
            continue;
        for (int ss = 0; ss < 18; ++ss) {
            GatherSet(work_[ch], ss, set1);
            filter->ProduceSamplesFrom(set1, output_);
        }
    }
}

}  // namespace sonarel
