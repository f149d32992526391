// One MPEG audio frame header (MPEG-1 and the lower sampling frequencies of MPEG-2, Layers
// I-III): its fields, the frame geometry, the checksum accumulator and the padding table
// through which 44.1 kHz streams are positioned.
#pragma once

#include "decoder/Crc16.h"
#include "decoder/VbrHeader.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace sonarel {

class FrameReader;

class Header {
public:
    enum ChannelMode : int32_t { Stereo = 0, JointStereo = 1, DualChannel = 2, SingleChannel = 3 };

    // Reads the next header, decodes it and loads the frame body. Crc receives the checksum
    // accumulator for a protected frame, nullptr otherwise. False at the end of the stream or
    // on a read error (last error 3); a first header with a reserved sample rate is refused.
    bool ReadNext(FrameReader& stream, Crc16*& crc);

    // Whole length in bytes (header included) of the frame a header word announces, for MPEG-1,
    // MPEG-2 and MPEG 2.5; 0 when the header has no frame size (reserved or free-format values).
    static int32_t FrameLengthOf(uint32_t h);

    int32_t Bitrate() const;      // bit/s
    int32_t SampleRate() const;   // Hz
    int32_t ComputeFrameSize();   // bytes after the 4 header bytes
    float FrameDuration() const;  // milliseconds
    uint32_t FrameCountEstimate(FrameReader& stream) const;
    float TotalDuration(FrameReader& stream) const;
    bool SeekToFrame(FrameReader& stream, int32_t n);

    int32_t Layer() const { return layer_; }
    int32_t ProtectionBit() const { return protectionBit_; }
    int32_t BitrateIndex() const { return bitrateIndex_; }
    int32_t PaddingBit() const { return paddingBit_; }
    int32_t ModeExtension() const { return modeExtension_; }
    int32_t Version() const { return version_; }  // 1 MPEG-1, 0 lower sampling frequencies
    int32_t Mode() const { return mode_; }
    int32_t SampleRateIndex() const { return sampleRateIndex_; }
    int32_t SubbandCount() const { return subbandCount_; }
    int32_t IntensityBound() const { return intensityBound_; }
    bool Copyright() const { return copyright_; }
    bool Original() const { return original_; }
    uint16_t Checksum() const { return checksum_; }
    int32_t FrameSize() const { return frameSize_; }
    int32_t MainDataSlots() const { return mainDataSlots_; }
    const std::vector<int32_t>& PaddingTable() const { return paddingTable_; }
    // The Xing, Info or VBRI frame that began the stream (kind None when there was none); it was
    // not counted as a frame.
    const VbrHeader& Vbr() const { return vbr_; }
    // Bytes of an unpadded frame after its header (a Layer I padding slot is 4 bytes).
    int32_t UnpaddedFrameSize() const;

private:
    void Decode(uint32_t h);
    bool ReadFirstHeader(FrameReader& stream, uint32_t& h);
    bool LoadBody(FrameReader& stream, uint32_t h);
    void UpdatePaddingTable(FrameReader& stream);

    int32_t layer_ = 0;
    int32_t protectionBit_ = 1;
    int32_t bitrateIndex_ = 0;
    int32_t paddingBit_ = 0;
    int32_t modeExtension_ = 0;
    int32_t version_ = 1;
    int32_t mode_ = 0;
    int32_t sampleRateIndex_ = 0;
    int32_t subbandCount_ = 0;
    int32_t intensityBound_ = 0;
    bool copyright_ = false;
    bool original_ = false;
    bool headerSeen_ = false;
    std::unique_ptr<Crc16> crc_;
    std::vector<int32_t> paddingTable_;
    bool paddingTableMade_ = false;
    uint16_t checksum_ = 0;
    int32_t frameSize_ = 0;
    int32_t mainDataSlots_ = 0;
    VbrHeader vbr_;
    int64_t vbrPosition_ = 0;  // stream position of the Xing or VBRI frame
};

}  // namespace sonarel
