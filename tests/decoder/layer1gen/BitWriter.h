// Writes MPEG audio bit fields most significant bit first, and the frame checksum (CRC-16,
// generator x^16 + x^15 + x^2 + 1, register starting at 0xFFFF).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace layer1gen {

class BitWriter {
public:
    void Put(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if (bit_ == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1u)
                bytes_.back() |= static_cast<uint8_t>(0x80u >> bit_);
            bit_ = (bit_ + 1) & 7;
        }
    }
    size_t BitCount() const { return bytes_.size() * 8 - (bit_ == 0 ? 0 : 8 - bit_); }
    // Pads with zero bits up to Size bytes.
    void PadTo(size_t size)
    {
        bit_ = 0;
        bytes_.resize(size, 0);
    }
    std::vector<uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    int bit_ = 0;
};

class CrcWriter {
public:
    void Add(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            const uint32_t bit = (value >> i) & 1u;
            const uint32_t top = (reg_ >> 15) & 1u;
            reg_ = (reg_ << 1) & 0xFFFFu;
            if (top != bit)
                reg_ ^= 0x8005u;
        }
    }
    uint16_t Value() const { return static_cast<uint16_t>(reg_); }

private:
    uint32_t reg_ = 0xFFFF;
};

}  // namespace layer1gen
