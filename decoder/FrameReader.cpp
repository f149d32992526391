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
    return ReadSome(static_cast<uint8_t*>(buffer), count) == count;
}

int FrameReader::ReadSome(uint8_t* out, int count)
{
    if (audioEnd_ >= 0)
        count = static_cast<int>(std::clamp<int64_t>(audioEnd_ - BytePosition(), 0, count));
    if (count <= 0)
        return 0;
    int got = 0;
    if (pendingPos_ < pending_.size()) {
        const size_t take = std::min(static_cast<size_t>(count), pending_.size() - pendingPos_);
        std::memcpy(out, pending_.data() + pendingPos_, take);
        pendingPos_ += take;
        got = static_cast<int>(take);
        if (pendingPos_ == pending_.size()) {
            pending_.clear();
            pendingPos_ = 0;
        }
    }
    if (got < count) {
        const int n = ReadSource(out + got, count - got);
        sourcePosition_ += n;
        got += n;
    }
    return got;
}

void FrameReader::Unread(const uint8_t* bytes, int count)
{
    if (count <= 0)
        return;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pendingPos_));
    pendingPos_ = 0;
    pending_.insert(pending_.begin(), bytes, bytes + count);
}

int FrameReader::ReadSource(uint8_t* out, int count)
{
    if (usesCallbacks_) {
        if (callbacks_.read == nullptr)
            return 0;
        int32_t read = 0;
        uint8_t ok = 0;
        callbacks_.read(callbacks_.user, handle_, out, count, &read, &ok);
        if (ok == 0)
            read = std::min(read, count - 1);  // a failed read is never a whole one
        return std::clamp(read, 0, count);
    }
    int got = 0;
    while (got < count) {
        if (bufferPos_ == bufferEnd_) {
            bufferStart_ += static_cast<int64_t>(bufferEnd_);
            bufferPos_ = bufferEnd_ = 0;
            ssize_t n;
            do {
                n = ::pread(fd_, fileBuffer_.data(), fileBuffer_.size(), bufferStart_);
            } while (n < 0 && errno == EINTR);
            if (n <= 0)
                break;
            bufferEnd_ = static_cast<size_t>(n);
        }
        const size_t take = std::min(static_cast<size_t>(count - got), bufferEnd_ - bufferPos_);
        std::memcpy(out + got, fileBuffer_.data() + bufferPos_, take);
        bufferPos_ += take;
        got += static_cast<int>(take);
    }
    return got;
}

bool FrameReader::SeekTo(int64_t position)
{
    if (position < 0)
        return false;
    pending_.clear();
    pendingPos_ = 0;
    sourcePosition_ = position;
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
    pending_.clear();
    pendingPos_ = 0;
    sourcePosition_ = 0;
    audioStart_ = headerPosition_ = 0;  // the tags at the end stay known
    mpeg25_ = false;
    word_ = 0;
    bitIndex_ = 0;
    frameIndex_ = -1;
    highestFrameIndex_ = -1;
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

int64_t FrameReader::AudioBytes()
{
    const int32_t size = StreamSize();
    if (size < 0)
        return -1;
    const int64_t end = audioEnd_ >= 0 ? audioEnd_ : size;
    return std::max<int64_t>(0, end - audioStart_);
}

int64_t FrameReader::SizeQuietly()
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
    return size < 0 ? -1 : std::min<int64_t>(size, INT32_MAX);
}

int32_t FrameReader::StreamSize()
{
    const int64_t size = SizeQuietly();
    if (size < 0)
        SetLastError(ErrorStream);
    return static_cast<int32_t>(size);
}

bool FrameReader::SeekFrame(int32_t n, int32_t frameSize)
{
    frameIndex_ = n - 1;
    if (notSeekable_) {
        SetLastError(ErrorNotSeekable);
        return false;
    }
    if (n < 0 || frameSize < 0 || !SeekTo(audioStart_ + static_cast<int64_t>(n) * (frameSize + 4))) {
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
        if (!padBefore(highest + 1, pad) || !SeekTo(audioStart_ + pad + (static_cast<int64_t>(highest) + 1) * length)) {
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
    if (!padBefore(n, pad) || !SeekTo(audioStart_ + pad + static_cast<int64_t>(n) * length)) {
        SetLastError(ErrorStream);
        return false;
    }
    frameIndex_ = n - 1;
    return header.ReadNext(*this, crc);
}

}  // namespace sonarel
