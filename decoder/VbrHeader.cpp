#include "decoder/VbrHeader.h"

#include <algorithm>
#include <cstring>

namespace sonarel {
namespace {

uint32_t BigEndian(const std::vector<uint8_t>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
}

bool HasTag(const std::vector<uint8_t>& b, size_t at, const char* tag)
{
    return at + 4 <= b.size() && std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

bool VbrHeader::ServesJumps() const
{
    if (kind == Xing)
        return frames > 0 && bytes > 0 && toc.size() == 100;
    return kind == Vbri && frames > 0 && !vbriChunks.empty() && vbriFramesPerChunk > 0;
}

int64_t VbrHeader::FrameOffset(int32_t n) const
{
    if (n <= 0 || !ServesJumps())
        return 0;
    if (kind == Vbri) {
        const size_t chunk = std::min<size_t>(static_cast<size_t>(n) / vbriFramesPerChunk, vbriChunks.size() - 1);
        return vbriChunks[chunk];
    }
    // Per cent of the duration, between two entries of the table.
    const double percent = std::min(100.0, 100.0 * n / frames);
    const int a = std::min(99, static_cast<int>(percent));
    const double fa = toc[static_cast<size_t>(a)];
    const double fb = a < 99 ? toc[static_cast<size_t>(a) + 1] : 256.0;
    const double at = fa + (fb - fa) * (percent - a);
    return static_cast<int64_t>(at / 256.0 * bytes);
}

VbrHeader ParseVbrHeader(const std::vector<uint8_t>& body, int version, bool singleChannel, bool protectedFrame)
{
    VbrHeader v;
    // Xing and Info follow the side information.
    const size_t side =
        (version == 1 ? (singleChannel ? 17 : 32) : (singleChannel ? 9 : 17)) + (protectedFrame ? 2 : 0);
    if (HasTag(body, side, "Xing") || HasTag(body, side, "Info")) {
        v.kind = body[side] == 'X' ? VbrHeader::Xing : VbrHeader::Info;
        size_t at = side + 4;
        if (at + 4 > body.size())
            return v;
        const uint32_t flags = BigEndian(body, at, 4);
        at += 4;
        if ((flags & 1u) != 0 && at + 4 <= body.size()) {
            v.frames = BigEndian(body, at, 4);
            at += 4;
        }
        if ((flags & 2u) != 0 && at + 4 <= body.size()) {
            v.bytes = BigEndian(body, at, 4);
            at += 4;
        }
        if ((flags & 4u) != 0 && at + 100 <= body.size())
            v.toc.assign(body.begin() + static_cast<std::ptrdiff_t>(at),
                         body.begin() + static_cast<std::ptrdiff_t>(at) + 100);
        return v;
    }
    // VBRI lies 32 bytes after the header whatever the channel mode.
    constexpr size_t at = 32;
    if (!HasTag(body, at, "VBRI") || at + 26 > body.size())
        return v;
    v.kind = VbrHeader::Vbri;
    v.bytes = BigEndian(body, at + 10, 4);
    v.frames = BigEndian(body, at + 14, 4);
    const uint32_t entries = BigEndian(body, at + 18, 2);
    const uint32_t scale = BigEndian(body, at + 20, 2);
    const uint32_t entrySize = BigEndian(body, at + 22, 2);
    v.vbriFramesPerChunk = BigEndian(body, at + 24, 2);
    if (entrySize < 1 || entrySize > 4 || at + 26 + static_cast<size_t>(entries) * entrySize > body.size())
        return v;  // a table that does not fit the frame is not used
    uint64_t offset = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        v.vbriChunks.push_back(static_cast<uint32_t>(std::min<uint64_t>(offset, UINT32_MAX)));
        offset += static_cast<uint64_t>(BigEndian(body, at + 26 + i * entrySize, static_cast<int>(entrySize))) * scale;
    }
    return v;
}

}  // namespace sonarel
