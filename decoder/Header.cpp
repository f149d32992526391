#include "decoder/Header.h"

#include "decoder/FrameReader.h"

#include <algorithm>

namespace sonarel {
namespace {

// Sampling frequencies by version (0: lower sampling frequencies, 1: MPEG-1) and index.
constexpr int32_t kSampleRates[2][4] = {{22050, 24000, 16000, 1}, {44100, 48000, 32000, 1}};

// Bit rates in kbit/s by version, layer - 1 and index (ISO/IEC 13818-3 and 11172-3).
constexpr int32_t kBitrates[2][3][16] = {{{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
                                          {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
                                          {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
                                         {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
                                          {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
                                          {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}}};

// Milliseconds per frame by layer - 1 and sample-rate index (MPEG-1 rates).
constexpr float kFrameMs[3][3] = {{8.707483f, 8.0f, 12.0f}, {26.12245f, 24.0f, 36.0f}, {26.12245f, 24.0f, 36.0f}};

}  // namespace

int32_t Header::FrameLengthOf(uint32_t h)
{
    const uint32_t layer = (4u - (h >> 17)) & 3u;
    const uint32_t bitrateIndex = (h >> 12) & 15u;
    const uint32_t rateIndex = (h >> 10) & 3u;
    if (layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return 0;
    const uint32_t versionBits = (h >> 19) & 3u;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG 2.5
    const uint32_t version = versionBits == 3 ? 1 : 0;
    const uint32_t b = static_cast<uint32_t>(kBitrates[version][layer - 1][bitrateIndex]) * 1000u;
    uint32_t f = static_cast<uint32_t>(kSampleRates[version][rateIndex]);
    if (versionBits == 0)
        f /= 2;
    const uint32_t pad = (h >> 9) & 1u;
    if (layer == 1)
        return static_cast<int32_t>((12u * b / f + pad) * 4u);
    const uint32_t size = 144u * b / f;
    return static_cast<int32_t>((layer == 3 && version == 0 ? size / 2 : size) + pad);
}

// The first header of a stream: version and sampling frequency are locked. A Xing, Info or
// VBRI frame is kept for the stream's length and jumps and the next frame becomes frame 0.
bool Header::ReadFirstHeader(FrameReader& stream, uint32_t& h)
{
    if (!stream.SyncHeader(h, false))
        return false;
    version_ = static_cast<int32_t>((h >> 19) & 1u);
    sampleRateIndex_ = static_cast<int32_t>((h >> 10) & 3u);
    if (sampleRateIndex_ == 3)
        return false;
    stream.LockHeaderPattern(h & 0xFFF80CC0u);
    headerSeen_ = true;
    if (!LoadBody(stream, h))
        return false;
    if (layer_ == 3) {
        std::vector<uint8_t> body(static_cast<size_t>(frameSize_));
        for (int i = 0; i < frameSize_; ++i)
            body[static_cast<size_t>(i)] = stream.BodyByte(i);
        vbr_ = ParseVbrHeader(body, version_, mode_ == SingleChannel, protectionBit_ == 0);
        if (vbr_.kind != VbrHeader::None) {
            vbrPosition_ = stream.HeaderPosition();
            stream.RestartFrameCount();
            if (!stream.SyncHeader(h, true) || !LoadBody(stream, h))
                return false;
        }
    }
    stream.MarkAudioStart();
    return true;
}

bool Header::LoadBody(FrameReader& stream, uint32_t h)
{
    Decode(h);
    ComputeFrameSize();
    return stream.LoadFrame(frameSize_);
}

bool Header::ReadNext(FrameReader& stream, Crc16*& crc)
{
    crc = nullptr;
    uint32_t h = 0;
    if (!headerSeen_) {
        if (!ReadFirstHeader(stream, h))
            return false;
    } else if (!stream.SyncHeader(h, true) || !LoadBody(stream, h)) {
        return false;
    }
    if (protectionBit_ == 0) {
        checksum_ = static_cast<uint16_t>(stream.ReadBits(16));
        if (!crc_)
            crc_ = std::make_unique<Crc16>();
        // Every protected frame starts from 0xFFFF, also after frames that were read but not
        // checked (Layer III frames, frames passed over by a jump).
        crc_->Reset();
        crc_->AddBits(h, 16);
        crc = crc_.get();
    }
    if (sampleRateIndex_ == 0)
        UpdatePaddingTable(stream);
    return true;
}

void Header::Decode(uint32_t h)
{
    layer_ = static_cast<int32_t>((4u - (h >> 17)) & 3u);
    protectionBit_ = static_cast<int32_t>((h >> 16) & 1u);
    bitrateIndex_ = static_cast<int32_t>((h >> 12) & 15u);
    paddingBit_ = static_cast<int32_t>((h >> 9) & 1u);
    mode_ = static_cast<int32_t>((h >> 6) & 3u);
    modeExtension_ = static_cast<int32_t>((h >> 4) & 3u);
    copyright_ = ((h >> 3) & 1u) != 0;
    original_ = ((h >> 2) & 1u) != 0;

    intensityBound_ = mode_ == JointStereo ? modeExtension_ * 4 + 4 : 0;
    if (layer_ == 1) {
        subbandCount_ = 32;
    } else if (version_ == 0) {
        subbandCount_ = 30;  // ISO/IEC 13818-3 Table B.1: always 30 subbands
    } else {
        int32_t r = bitrateIndex_;
        if (mode_ != SingleChannel)
            r = r == 4 ? 1 : r - 4;  // bit rate per channel
        if (r == 1 || r == 2)
            subbandCount_ = sampleRateIndex_ == 2 ? 12 : 8;
        else if (sampleRateIndex_ == 1 || static_cast<uint32_t>(r - 3) <= 2u)
            subbandCount_ = 27;
        else
            subbandCount_ = 30;
    }
    intensityBound_ = std::min(intensityBound_, subbandCount_);
}

int32_t Header::Bitrate() const
{
    if (layer_ < 1 || layer_ > 3)
        return 0;
    return kBitrates[version_ & 1][layer_ - 1][bitrateIndex_ & 15] * 1000;
}

int32_t Header::SampleRate() const
{
    return kSampleRates[version_ & 1][sampleRateIndex_ & 3];
}

int32_t Header::ComputeFrameSize()
{
    const uint32_t b = static_cast<uint32_t>(Bitrate());
    const uint32_t f = static_cast<uint32_t>(SampleRate());
    const uint32_t pad = static_cast<uint32_t>(paddingBit_);
    uint32_t size;
    mainDataSlots_ = 0;
    if (layer_ == 1) {
        size = (12u * b / f + pad) * 4u;
    } else {
        size = 144u * b / f;
        // Only Layer III of the lower sampling frequencies has half as many samples per frame.
        if (version_ == 0 && layer_ == 3)
            size >>= 1;
        size += pad;
        if (layer_ == 3) {
            const int32_t side = version_ == 1 ? (mode_ == SingleChannel ? 17 : 32) : (mode_ == SingleChannel ? 9 : 17);
            mainDataSlots_ = static_cast<int32_t>(size) - side - (protectionBit_ == 0 ? 2 : 0) - 4;
        }
    }
    frameSize_ = static_cast<int32_t>(size) - 4;
    return frameSize_;
}

int32_t Header::UnpaddedFrameSize() const
{
    return frameSize_ - paddingBit_ * (layer_ == 1 ? 4 : 1);
}

float Header::FrameDuration() const
{
    if (layer_ < 1 || layer_ > 3 || sampleRateIndex_ > 2)
        return kFrameMs[1][0];
    float ms = kFrameMs[layer_ - 1][sampleRateIndex_];
    // Layers I and II keep their samples per frame at the lower sampling frequencies.
    if (version_ == 0 && layer_ != 3)
        ms *= 2.0f;
    return ms;
}

uint32_t Header::FrameCountEstimate(FrameReader& stream) const
{
    if (vbr_.frames > 0)
        return vbr_.frames;
    const int64_t bytes = stream.AudioBytes();
    const int64_t length = UnpaddedFrameSize() + 4;
    if (bytes < 0 || length <= 0)
        return 0;
    return static_cast<uint32_t>(bytes / length);
}

float Header::TotalDuration(FrameReader& stream) const
{
    const float ms = static_cast<float>(FrameCountEstimate(stream)) * FrameDuration();
    return std::min(ms, 2147483520.0f);  // stays within int32 when truncated
}

bool Header::SeekToFrame(FrameReader& stream, int32_t n)
{
    // Variable bit rate: through the table of contents, to the frame found near the position.
    if (n > 0 && vbr_.ServesJumps()) {
        const int64_t base = vbr_.kind == VbrHeader::Vbri ? stream.AudioStart() : vbrPosition_;
        return stream.SeekNear(base + vbr_.FrameOffset(n), n);
    }
    if (sampleRateIndex_ != 0)
        return stream.SeekFrame(n, frameSize_);
    return stream.SeekPaddedFrame(n, UnpaddedFrameSize(), *this, paddingTable_);
}

void Header::UpdatePaddingTable(FrameReader& stream)
{
    if (!paddingTableMade_) {
        paddingTableMade_ = true;
        // Sized from the first frame's estimate (at most a million entries up front, so a stream
        // of unknown size costs nothing); it grows when the stream holds more frames.
        const int32_t size = stream.StreamSize();
        const uint32_t estimate = size < 0 ? 0 : FrameCountEstimate(stream);
        paddingTable_.assign(std::min<uint32_t>(estimate, 1u << 20), 0);
    }
    const int32_t i = stream.FrameIndex();
    if (i < 0)
        return;
    const int32_t pad = paddingBit_ * (layer_ == 1 ? 4 : 1);
    const auto index = static_cast<size_t>(i);
    if (i == 0) {
        if (paddingTable_.empty())
            paddingTable_.resize(1, 0);
        paddingTable_[0] = pad;
    } else if (i == stream.HighestFrameIndex()) {
        if (index >= paddingTable_.size()) {
            const int32_t last = paddingTable_.empty() ? 0 : paddingTable_.back();
            paddingTable_.resize(index + 1, last);
        }
        paddingTable_[index] = paddingTable_[index - 1] + pad;
    }
}

}  // namespace sonarel
