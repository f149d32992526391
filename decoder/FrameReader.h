// Reads an MPEG audio stream frame by frame from a file or from the caller's six stream
// callbacks: finds and checks each 4-byte frame header, loads the frame body into a word
// buffer and hands out its bits most significant first.
#pragma once

#include "decoder/StreamCallbacks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
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
    // Finds the next frame header; Word receives it in stream order (bit 31 first). The first
    // search of a stream (not strict) passes over ID3v2 tags at the start, notes ID3v1 and APE
    // tags at the end, and takes a header only when the next frame's header agrees with it
    // (version, layer, sampling frequency); a stream of MPEG 2.5 frames is refused (last error
    // 3, Mpeg25()). A strict search takes the next header of the locked pattern; an ID3v1 or
    // APE tag where a header is due ends the stream.
    bool SyncHeader(uint32_t& word, bool strict);
    // Positions near byte `position` (a jump through a table of contents) on the next header of
    // the locked pattern that the following header confirms; that header is read next, as frame n.
    bool SeekNear(int64_t position, int32_t n);
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
    // A read position over the loaded body for loops that read many codes. Reads are not
    // clamped: the caller makes sure they stay within the body (BitsLeft) before it starts.
    class BitCursor {
    public:
        // The next n bits (1..16).
        uint32_t Read(int n)
        {
            const uint32_t w = bit_ >> 5;
            const uint64_t pair = (uint64_t{words_[w]} << 32) | words_[w + 1];
            const uint32_t result = static_cast<uint32_t>((pair << (bit_ & 31)) >> (64 - n));
            bit_ += static_cast<uint32_t>(n);
            return result;
        }

    private:
        friend class FrameReader;
        BitCursor(const uint32_t* words, uint32_t bit)
            : words_(words),
              bit_(bit)
        {
        }
        const uint32_t* words_;
        uint32_t bit_;
    };
    BitCursor Cursor() const { return {frame_, static_cast<uint32_t>(word_ * 32 + bitIndex_)}; }
    // Continues after what Cursor has read.
    void SetPosition(const BitCursor& cursor)
    {
        word_ = std::min(static_cast<int>(cursor.bit_ / 32), kFrameWords);
        bitIndex_ = static_cast<int>(cursor.bit_ % 32);
    }
    // The next n whole bytes of the body (n <= BitsLeft() / 8), most significant bits first as
    // n ReadBits(8) would give them.
    void ReadBytes(uint8_t* out, int n)
    {
        if (bitIndex_ % 8 != 0) {
            for (int k = 0; k < n; ++k)
                out[k] = static_cast<uint8_t>(ReadBits(8));
            return;
        }
        int byte = word_ * 4 + bitIndex_ / 8;
        int k = 0;
        for (; k < n && byte % 4 != 0; ++k, ++byte)
            out[k] = BodyByte(byte);
        for (; k + 4 <= n; k += 4, byte += 4) {
            const uint32_t w = __builtin_bswap32(frame_[byte / 4]);
            std::memcpy(out + k, &w, 4);
        }
        for (; k < n; ++k, ++byte)
            out[k] = BodyByte(byte);
        SkipBits(8 * n);
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

    // Stream position of the last header found, and of the first audio frame.
    int64_t HeaderPosition() const { return headerPosition_; }
    int64_t AudioStart() const { return audioStart_; }
    void MarkAudioStart() { audioStart_ = headerPosition_; }
    // Bytes from the first audio frame to the end of the audio (before tags at the end); -1 on
    // failure (last error 3).
    int64_t AudioBytes();
    // Frame indices start again (the frame just read described the stream and is not played).
    void RestartFrameCount() { frameIndex_ = highestFrameIndex_ = -1; }
    bool Mpeg25() const { return mpeg25_; }
    // Byte i of the loaded body.
    uint8_t BodyByte(int i) const { return static_cast<uint8_t>(frame_[i / 4] >> (24 - 8 * (i % 4))); }

    int32_t HighestFrame() const { return highestFrameIndex_; }
    int32_t FrameIndex() const { return frameIndex_; }
    int32_t HighestFrameIndex() const { return highestFrameIndex_; }
    bool NotSeekable() const { return notSeekable_; }
    bool UsesCallbacks() const { return usesCallbacks_; }
    int FrameByteCount() const { return frameByteCount_; }

private:
    FrameReader() = default;

    bool ReadRaw(void* buffer, int count);
    // Reads up to count bytes; returns how many it got (reads stop at the end of the audio).
    int ReadSome(uint8_t* buffer, int count);
    int ReadSource(uint8_t* buffer, int count);
    // Gives bytes back: the next reads return them first.
    void Unread(const uint8_t* bytes, int count);
    int64_t BytePosition() const { return sourcePosition_ - static_cast<int64_t>(pending_.size() - pendingPos_); }
    bool SeekTo(int64_t position);
    bool IsHeader(uint32_t word, bool strict) const;
    // The first search: tags, then a header that the next one confirms.
    int64_t SizeQuietly();  // -1 when unknown; leaves the last error alone
    bool FindFirstHeader(uint32_t& word);
    bool FindConfirmedHeader(uint32_t& word, bool strict);
    bool Confirmed(uint32_t word);
    // Reads four bytes (refused when StopAtEndTag and they begin an end tag), then slides on
    // a byte at a time until Accept takes the word; false at the end of the stream.
    template <typename F> bool SlideToHeader(uint32_t& word, bool stopAtEndTag, F accept);
    void SkipLeadingTags();
    void FindTrailingTags();
    void FoundHeader(uint32_t word);

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

    // Bytes given back by the header search, served before the source's.
    std::vector<uint8_t> pending_;
    size_t pendingPos_ = 0;
    int64_t sourcePosition_ = 0;  // of the next byte the source gives
    int64_t headerPosition_ = 0;
    int64_t audioStart_ = 0;
    int64_t audioEnd_ = -1;  // where tags at the end begin; -1: none found
    bool tailChecked_ = false;
    bool mpeg25_ = false;

    // Callback source.
    uint32_t handle_ = 0;
    StreamCallbacks callbacks_;

    friend class Header;
};

}  // namespace sonarel
