#include "decoder/WaveFileOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>

#include "decoder/MPEGError.h"

namespace sonarel {

namespace {

constexpr std::size_t kIoBufferBytes = 64 * 1024;
// The RIFF size field (file size - 8) must stay within 32 bits.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (WaveFileOutput::kHeaderBytes - 8);

[[noreturn]] void Fail()
{
    throw TMPEGError("Output device failure");
}

void Put16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v)
{
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

bool WriteAll(int fd, const uint8_t* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool PutAt(int fd, off_t offset, uint32_t value)
{
    uint8_t b[4];
    Put32(b, value);
    return ::pwrite(fd, b, 4, offset) == 4;
}

}  // namespace

WaveFileOutput::WaveFileOutput(const std::string& fileName, uint32_t channels, uint32_t sampleRate)
    : AudioOutput(channels)
{
    frame_.assign(static_cast<std::size_t>(kMaxSamplesPerFrame) * channels_, 0);
    io_.resize(kIoBufferBytes);
    fd_ = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        Fail();

    uint8_t h[kHeaderBytes];
    std::memcpy(h, "RIFF", 4);
    Put32(h + 4, kHeaderBytes - 8);  // an empty data chunk until Finish
    std::memcpy(h + 8, "WAVEfmt ", 8);
    Put32(h + 16, 18);
    Put16(h + 20, 1);  // PCM
    Put16(h + 22, channels_);
    Put32(h + 24, sampleRate);
    Put32(h + 28, sampleRate * channels_ * 2);
    Put16(h + 32, channels_ * 2);
    Put16(h + 34, 16);
    Put16(h + 36, 0);
    std::memcpy(h + 38, "data", 4);
    Put32(h + 42, 0);
    WriteOut(h, sizeof h);  // through the buffer, like the samples
    Attach(frame_.data(), frame_.size());
}

WaveFileOutput::~WaveFileOutput()
{
    if (fd_ >= 0) {
        try {
            Finish();
        } catch (...) {
            if (fd_ >= 0)
                ::close(fd_);
        }
    }
}

void WaveFileOutput::WriteOut(const uint8_t* data, std::size_t size)
{
    while (size > 0) {
        std::size_t n = std::min(size, io_.size() - ioUsed_);
        std::memcpy(io_.data() + ioUsed_, data, n);
        ioUsed_ += n;
        data += n;
        size -= n;
        if (ioUsed_ == io_.size())
            FlushBuffer();
    }
}

void WaveFileOutput::FlushBuffer()
{
    if (ioUsed_ == 0)
        return;
    if (!WriteAll(fd_, io_.data(), ioUsed_))
        Fail();
    ioUsed_ = 0;
}

void WaveFileOutput::EndFrame()
{
    if (fd_ < 0)
        Fail();
    std::size_t samples = WrittenSamples();
    std::size_t bytes = samples * 2;
    if (dataBytes_ + bytes > kMaxDataBytes)
        Fail();
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < samples; ++i)
            frame_[i] = static_cast<int16_t>(__builtin_bswap16(static_cast<uint16_t>(frame_[i])));
    }
    WriteOut(reinterpret_cast<const uint8_t*>(frame_.data()), bytes);
    dataBytes_ += bytes;
    ResetPositions();
}

void WaveFileOutput::Finish()
{
    if (fd_ < 0)
        return;
    int fd = fd_;
    bool ok = true;
    try {
        FlushBuffer();
    } catch (const TMPEGError&) {
        ok = false;
    }
    ok = ok && PutAt(fd, 4, static_cast<uint32_t>(dataBytes_ + kHeaderBytes - 8))
        && PutAt(fd, 42, static_cast<uint32_t>(dataBytes_));
    fd_ = -1;
    if (::close(fd) != 0)
        ok = false;
    if (!ok)
        Fail();
}

}  // namespace sonarel
