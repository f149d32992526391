// The frame reader's header search: tags around the audio, the confirmed first header and the
// strict search of the later ones.
#include "decoder/FrameReader.h"

#include "decoder/Header.h"
#include "decoder/LastError.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sonarel {
namespace {

uint32_t BigEndian32(const uint8_t* b)
{
    return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
}

uint32_t LittleEndian32(const uint8_t* b)
{
    return (uint32_t{b[3]} << 24) | (uint32_t{b[2]} << 16) | (uint32_t{b[1]} << 8) | b[0];
}

// An ID3v1 tag ("TAG") or an APE tag ("APETAGEX") begins with these bytes.
bool IsEndTag(const uint8_t* b)
{
    return std::memcmp(b, "TAG", 3) == 0 || std::memcmp(b, "APET", 4) == 0;
}

// Sync, version, layer and sampling frequency: what the next header must repeat.
constexpr uint32_t kConfirmMask = 0xFFFE0C00u;

// The longest frame of any version (MPEG 2.5 Layer II at 160 kbit/s and 8 kHz: 2,881 bytes).
constexpr int kLongestFrame = 2884;

}  // namespace

bool FrameReader::IsHeader(uint32_t h, bool strict) const
{
    if (strict)
        return (h & 0xFFF80C00u) == headerPattern_ && ((h & 0xC0u) == 0xC0u) == singleChannel_
            && Header::FrameLengthOf(h) > 0;
    // 11-bit sync word; version 01 is reserved. Reserved layer, free format, bit-rate index 15
    // and the reserved sampling frequency have no frame size.
    return (h & 0xFFE00000u) == 0xFFE00000u && ((h >> 19) & 3u) != 1 && Header::FrameLengthOf(h) > 0;
}

void FrameReader::FoundHeader(uint32_t word)
{
    headerPosition_ = BytePosition() - 4;
    ++frameIndex_;
    if (frameIndex_ > highestFrameIndex_)
        highestFrameIndex_ = frameIndex_;
    (void)word;
}

template <typename F> bool FrameReader::SlideToHeader(uint32_t& word, bool stopAtEndTag, F accept)
{
    uint8_t bytes[4];
    if (!ReadRaw(bytes, 4) || (stopAtEndTag && IsEndTag(bytes))) {
        SetLastError(ErrorStream);
        return false;
    }
    uint32_t h = BigEndian32(bytes);
    // Not a header: slide on by one byte (no seeking back, so this works on any stream).
    while (!accept(h)) {
        uint8_t next;
        if (!ReadRaw(&next, 1)) {
            SetLastError(ErrorStream);
            return false;
        }
        h = (h << 8) | next;
    }
    word = h;
    return true;
}

bool FrameReader::SyncHeader(uint32_t& word, bool strict)
{
    if (!strict)
        return FindFirstHeader(word);
    if (!SlideToHeader(word, true, [this](uint32_t h) { return IsHeader(h, true); }))
        return false;
    FoundHeader(word);
    return true;
}

// A candidate header counts when the frame it announces is followed by a header of the same
// version, layer and sampling frequency, by a tag at the end, or by the end of the stream.
bool FrameReader::Confirmed(uint32_t h)
{
    const int length = Header::FrameLengthOf(h);
    std::array<uint8_t, kLongestFrame> ahead;
    const int got = ReadSome(ahead.data(), length);
    Unread(ahead.data(), got);
    if (got < length - 4)
        return false;  // the frame's body is not there
    if (got < length)
        return true;  // the stream ends with this frame
    const uint8_t* next = ahead.data() + length - 4;
    if (IsEndTag(next))
        return true;
    const uint32_t n = BigEndian32(next);
    return IsHeader(n, false) && (n & kConfirmMask) == (h & kConfirmMask);
}

bool FrameReader::FindConfirmedHeader(uint32_t& word, bool strict)
{
    return SlideToHeader(word, false, [this, strict](uint32_t h) { return IsHeader(h, strict) && Confirmed(h); });
}

bool FrameReader::FindFirstHeader(uint32_t& word)
{
    FindTrailingTags();
    SkipLeadingTags();
    if (!FindConfirmedHeader(word, false))
        return false;
    if (((word >> 19) & 3u) == 0) {
        // MPEG 2.5 (8 to 12 kHz) is not decoded; it must not pass for anything else either.
        mpeg25_ = true;
        SetLastError(ErrorStream);
        return false;
    }
    FoundHeader(word);
    return true;
}

// ID3v2 tags (one or more) at the start: a 10-byte header with the tag's size, and a footer
// of 10 bytes when its flag says so.
void FrameReader::SkipLeadingTags()
{
    for (;;) {
        uint8_t t[10];
        const int got = ReadSome(t, 10);
        const bool tag = got == 10 && std::memcmp(t, "ID3", 3) == 0 && t[3] != 0xFF && t[4] != 0xFF
            && (t[6] | t[7] | t[8] | t[9]) < 0x80;
        if (!tag) {
            Unread(t, got);
            return;
        }
        int64_t skip = (int64_t{t[6]} << 21) | (int64_t{t[7]} << 14) | (int64_t{t[8]} << 7) | t[9];
        if ((t[5] & 0x10) != 0)
            skip += 10;
        if (!notSeekable_) {
            if (!SeekTo(BytePosition() + skip))
                return;
            continue;
        }
        uint8_t scratch[4096];
        while (skip > 0) {
            const int n = ReadSome(scratch, static_cast<int>(std::min<int64_t>(skip, sizeof scratch)));
            if (n <= 0)
                return;
            skip -= n;
        }
    }
}

// An ID3v1 tag (the last 128 bytes) and an APE tag before it or at the end are not audio: the
// reads stop before them. Only a stream that can seek is looked at, once.
void FrameReader::FindTrailingTags()
{
    if (notSeekable_ || tailChecked_ || pendingPos_ < pending_.size())
        return;
    tailChecked_ = true;
    const int64_t here = BytePosition();
    const int64_t size = SizeQuietly();
    if (size <= 0)
        return;
    int64_t end = size;
    uint8_t b[32];
    if (end >= 128 && SeekTo(end - 128) && ReadSome(b, 3) == 3 && std::memcmp(b, "TAG", 3) == 0)
        end -= 128;
    if (end >= 32 && SeekTo(end - 32) && ReadSome(b, 32) == 32 && std::memcmp(b, "APETAGEX", 8) == 0) {
        // Footer: size of the items and the footer (field at 12), flags (at 20; bit 31: a
        // header of 32 bytes precedes the items).
        const int64_t tagSize = LittleEndian32(b + 12) + ((LittleEndian32(b + 20) & 0x80000000u) != 0 ? 32 : 0);
        if (tagSize >= 32 && tagSize <= end)
            end -= tagSize;
    }
    if (end < size)
        audioEnd_ = end;
    SeekTo(here);
}

bool FrameReader::SeekNear(int64_t position, int32_t n)
{
    if (notSeekable_) {
        SetLastError(ErrorNotSeekable);
        return false;
    }
    uint32_t h = 0;
    if (!SeekTo(std::max(position, audioStart_)) || !FindConfirmedHeader(h, true)) {
        SetLastError(ErrorStream);
        return false;
    }
    const uint8_t bytes[4] = {static_cast<uint8_t>(h >> 24), static_cast<uint8_t>(h >> 16),
                              static_cast<uint8_t>(h >> 8), static_cast<uint8_t>(h)};
    Unread(bytes, 4);
    frameIndex_ = n - 1;
    return true;
}

}  // namespace sonarel
