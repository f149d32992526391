// Reads an MPEG audio stream frame by frame from a file or from the caller's six stream
// callbacks: finds and checks each 4-byte frame header, loads the frame body into a word
// buffer and hands out its bits most significant first.
#pragma once

#include "decoder/StreamCallbacks.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace sonarel {

class Header;

class FrameReader {
public:
    // 433 words hold the longest body the tables allow (1,725 bytes).
    static constexpr int kFrameWords = 433;
    static constexpr int kFrameBytes = kFrameWords * 4;

    // Both raise TMPEGError "Stream error" (last error 3) when the source cannot be opened.
    static std::unique_ptr<FrameReader> OpenFile(const char* name);
    static std::unique_ptr<FrameReader> OpenCallbacks(const StreamCallbacks& callbacks);
    ~FrameReader();  // closes the file or calls CloseProc

    FrameReader(const FrameReader&) = delete;
    FrameReader& operator=(const FrameReader&) = delete;

    // Back to byte 0 with both frame indices -1. False (last error 3) when that fails.
    bool Rewind();
    // Finds the next frame header; Word receives it in stream order (bit 31 first).
    bool SyncHeader(uint32_t& word, bool strict);
    // Locks sync, version and sample-rate bits and the single-channel status of the first header.
    void LockHeaderPattern(uint32_t word);
    // Reads n bytes of frame body; false (last error 3) on a short or failed read.
    bool LoadFrame(int n);
    // The next n bits (1..16) of the frame body; reads past the buffer give zeros.
    uint32_t ReadBits(int n)
    {
        const uint64_t pair = (uint64_t{frame_[word_]} << 32) | frame_[word_ + 1];
        const uint32_t result = static_cast<uint32_t>((pair << bitIndex_) >> (64 - n));
        SkipBits(n);
        return result;
    }
    // Read position within the body, to scan a frame and read it again.
    struct BitPosition {
        int word;
        int bit;
    };
    BitPosition Position() const { return {word_, bitIndex_}; }
    void SetPosition(BitPosition p)
    {
        word_ = p.word;
        bitIndex_ = p.bit;
    }
    // Passes over n bits without reading them.
    void SkipBits(int n)
    {
        const int s = bitIndex_ + n;
        word_ = std::min(word_ + s / 32, kFrameWords);
        bitIndex_ = s % 32;
    }
    // Bits of the loaded body not read yet (negative once reads ran past its end).
    int BitsLeft() const { return frameByteCount_ * 8 - (word_ * 32 + bitIndex_); }

    // Size of the stream in bytes; -1 (last error 3) on failure.
    int32_t StreamSize();
    // Positions the stream so that the next header read is frame n.
    bool SeekFrame(int32_t n, int32_t frameSize);
    // Positions on frame n of a 44.1 kHz stream through the padding table and reads it.
    bool SeekPaddedFrame(int32_t n, int32_t unpaddedSize, Header& header, const std::vector<int32_t>& table);

    int32_t HighestFrame() const { return highestFrameIndex_; }
    int32_t FrameIndex() const { return frameIndex_; }
    int32_t HighestFrameIndex() const { return highestFrameIndex_; }
    bool NotSeekable() const { return notSeekable_; }
    bool UsesCallbacks() const { return usesCallbacks_; }
    int FrameByteCount() const { return frameByteCount_; }

private:
    FrameReader() = default;

    bool ReadRaw(void* buffer, int count);
    bool SeekTo(int64_t position);
    bool IsHeader(uint32_t word, bool strict) const;

    // Two zero words after the body buffer let ReadBits run past its end safely.
    uint32_t frame_[kFrameWords + 2] = {};
    int frameByteCount_ = 0;
    int word_ = 0;
    int bitIndex_ = 0;

    uint32_t headerPattern_ = 0;
    bool singleChannel_ = false;
    int32_t frameIndex_ = -1;
    int32_t highestFrameIndex_ = -1;
    bool notSeekable_ = false;
    bool usesCallbacks_ = false;

    // File source: a descriptor read through a buffer of our own.
    int fd_ = -1;
    std::vector<uint8_t> fileBuffer_;
    size_t bufferPos_ = 0;
    size_t bufferEnd_ = 0;
    int64_t bufferStart_ = 0;  // file position of fileBuffer_[0]

    // Callback source.
    uint32_t handle_ = 0;
    StreamCallbacks callbacks_;

    friend class Header;
};

}  // namespace sonarel
