#include "decoder/FrameReader.h"

#include "decoder/Header.h"
#include "decoder/LastError.h"
#include "decoder/MPEGError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace sonarel {
namespace {

constexpr size_t kFileBufferSize = 1 << 16;

[[noreturn]] void RaiseStreamError()
{
    SetLastError(ErrorStream);
    throw TMPEGError(kStreamErrorText);
}

}  // namespace

std::unique_ptr<FrameReader> FrameReader::OpenFile(const char* name)
{
    std::unique_ptr<FrameReader> reader(new FrameReader());
    if (name == nullptr)
        RaiseStreamError();
    reader->fd_ = ::open(name, O_RDONLY | O_CLOEXEC);
    if (reader->fd_ < 0)
        RaiseStreamError();
    reader->fileBuffer_.resize(kFileBufferSize);
    return reader;
}

std::unique_ptr<FrameReader> FrameReader::OpenCallbacks(const StreamCallbacks& callbacks)
{
    std::unique_ptr<FrameReader> reader(new FrameReader());
    reader->usesCallbacks_ = true;
    reader->callbacks_ = callbacks;
    if (callbacks.open == nullptr)
        RaiseStreamError();
    uint8_t notSeekable = 0;
    uint32_t handle = 0;
    callbacks.open(callbacks.user, &notSeekable, &handle);
    reader->notSeekable_ = notSeekable != 0;
    reader->handle_ = handle;
    if (handle == 0)
        RaiseStreamError();
    return reader;
}

FrameReader::~FrameReader()
{
    if (usesCallbacks_) {
        if (handle_ != 0 && callbacks_.close != nullptr)
            callbacks_.close(callbacks_.user, handle_);
    } else if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FrameReader::ReadRaw(void* buffer, int count)
{
    if (count <= 0)
        return count == 0;
    if (usesCallbacks_) {
        if (callbacks_.read == nullptr)
            return false;
        int32_t read = 0;
        uint8_t ok = 0;
        callbacks_.read(callbacks_.user, handle_, buffer, count, &read, &ok);
        return ok != 0 && read == count;
    }
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        if (bufferPos_ == bufferEnd_) {
            bufferStart_ += static_cast<int64_t>(bufferEnd_);
            bufferPos_ = bufferEnd_ = 0;
            ssize_t got;
            do {
                got = ::pread(fd_, fileBuffer_.data(), fileBuffer_.size(), bufferStart_);
            } while (got < 0 && errno == EINTR);
            if (got <= 0)
                return false;
            bufferEnd_ = static_cast<size_t>(got);
        }
        const size_t take = std::min(static_cast<size_t>(count), bufferEnd_ - bufferPos_);
        std::memcpy(out, fileBuffer_.data() + bufferPos_, take);
        bufferPos_ += take;
        out += take;
        count -= static_cast<int>(take);
    }
    return true;
}

bool FrameReader::SeekTo(int64_t position)
{
    if (position < 0)
        return false;
    if (usesCallbacks_) {
        if (callbacks_.seek == nullptr || position > INT32_MAX)
            return false;
        int32_t result = -1;
        callbacks_.seek(callbacks_.user, handle_, static_cast<int32_t>(position), 0, &result);
        return result != -1;
    }
    if (position >= bufferStart_ && position <= bufferStart_ + static_cast<int64_t>(bufferEnd_)) {
        bufferPos_ = static_cast<size_t>(position - bufferStart_);
    } else {
        bufferStart_ = position;
        bufferPos_ = bufferEnd_ = 0;
    }
    return true;
}

bool FrameReader::Rewind()
{
    bool ok;
    if (usesCallbacks_) {
        uint8_t done = 0;
        if (callbacks_.rewind != nullptr)
            callbacks_.rewind(callbacks_.user, handle_, &done);
        ok = done != 0;
    } else {
        ok = SeekTo(0);
    }
    if (!ok) {
        SetLastError(ErrorStream);
        return false;
    }
    word_ = 0;
    bitIndex_ = 0;
    frameIndex_ = -1;
    highestFrameIndex_ = -1;
    return true;
}

bool FrameReader::IsHeader(uint32_t h, bool strict) const
{
    if ((h & 0xFFF00000u) != 0xFFF00000u)
        return false;  // 12-bit sync word
    // Reserved layer, free format, bit-rate index 15 and the reserved sample rate have no frame
    // size: they never count as a header (so a run of 0xFF bytes never matches either).
    if (((h >> 17) & 3u) == 0)
        return false;
    const uint32_t bitrateIndex = (h >> 12) & 15u;
    if (bitrateIndex == 0 || bitrateIndex == 15)
        return false;
    if (((h >> 10) & 3u) == 3)
        return false;
    if (!strict)
        return true;
    return (h & 0xFFF80C00u) == headerPattern_ && ((h & 0xC0u) == 0xC0u) == singleChannel_;
}

bool FrameReader::SyncHeader(uint32_t& word, bool strict)
{
    uint8_t bytes[4];
    if (!ReadRaw(bytes, 4)) {
        SetLastError(ErrorStream);
        return false;
    }
    uint32_t h = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
    // Not a header: slide on by one byte (no seeking back, so this works on any stream).
    while (!IsHeader(h, strict)) {
        uint8_t next;
        if (!ReadRaw(&next, 1)) {
            SetLastError(ErrorStream);
            return false;
        }
        h = (h << 8) | next;
    }
    word = h;
    ++frameIndex_;
    if (frameIndex_ > highestFrameIndex_)
        highestFrameIndex_ = frameIndex_;
    return true;
}

void FrameReader::LockHeaderPattern(uint32_t word)
{
    headerPattern_ = word & ~0xC0u;
    singleChannel_ = (word & 0xC0u) == 0xC0u;
}

bool FrameReader::LoadFrame(int n)
{
    word_ = 0;
    bitIndex_ = 0;
    auto* bytes = reinterpret_cast<uint8_t*>(frame_);
    if (n < 0 || n > kFrameBytes || !ReadRaw(bytes, n)) {
        frameByteCount_ = 0;
        std::memset(frame_, 0, sizeof frame_);
        SetLastError(ErrorStream);
        return false;
    }
    frameByteCount_ = n;
    std::memset(bytes + n, 0, sizeof frame_ - static_cast<size_t>(n));
    const int words = (n + 3) / 4;
    for (int i = 0; i < words; ++i) {
        uint32_t w;
        std::memcpy(&w, bytes + 4 * i, 4);
        if constexpr (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
            w = __builtin_bswap32(w);
        frame_[i] = w;
    }
    return true;
}

int32_t FrameReader::StreamSize()
{
    int64_t size = -1;
    if (usesCallbacks_) {
        int32_t s = -1;
        if (callbacks_.size != nullptr)
            callbacks_.size(callbacks_.user, handle_, &s);
        size = s;
    } else {
        struct stat st;
        if (::fstat(fd_, &st) == 0)
            size = st.st_size;
    }
    if (size < 0) {
        SetLastError(ErrorStream);
        return -1;
    }
    return static_cast<int32_t>(std::min<int64_t>(size, INT32_MAX));
}

bool FrameReader::SeekFrame(int32_t n, int32_t frameSize)
{
    frameIndex_ = n - 1;
    if (notSeekable_) {
        SetLastError(ErrorNotSeekable);
        return false;
    }
    if (n < 0 || frameSize < 0 || !SeekTo(static_cast<int64_t>(n) * (frameSize + 4))) {
        SetLastError(ErrorStream);
        return false;
    }
    return true;
}

bool FrameReader::SeekPaddedFrame(int32_t n, int32_t unpaddedSize, Header& header, const std::vector<int32_t>& table)
{
    if (notSeekable_) {
        SetLastError(ErrorNotSeekable);
        return false;
    }
    const int64_t length = static_cast<int64_t>(unpaddedSize) + 4;
    // Padding bytes before frame i + 1 (table[i]); the table grows with every new frame read.
    auto padBefore = [&](int32_t next, int64_t& out) {
        if (next <= 0) {
            out = 0;
            return true;
        }
        if (static_cast<size_t>(next - 1) >= table.size())
            return false;
        out = table[static_cast<size_t>(next - 1)];
        return true;
    };
    if (n < 0 || unpaddedSize < 0) {
        SetLastError(ErrorStream);
        return false;
    }
    Crc16* crc = nullptr;
    const int32_t highest = highestFrameIndex_;
    int64_t pad = 0;
    if (n > highest) {
        // Read forward from the first frame not read yet.
        if (!padBefore(highest + 1, pad) || !SeekTo(pad + (static_cast<int64_t>(highest) + 1) * length)) {
            SetLastError(ErrorStream);
            return false;
        }
        frameIndex_ = highest;
        while (highestFrameIndex_ < n) {
            if (!header.ReadNext(*this, crc)) {
                SetLastError(ErrorStream);
                return false;
            }
        }
        return true;
    }
    if (!padBefore(n, pad) || !SeekTo(pad + static_cast<int64_t>(n) * length)) {
        SetLastError(ErrorStream);
        return false;
    }
    frameIndex_ = n - 1;
    return header.ReadNext(*this, crc);
}

}  // namespace sonarel
