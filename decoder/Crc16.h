// CRC-16 of MPEG audio frames (generator x^16 + x^15 + x^2 + 1), fed bit by bit.
#pragma once

#include <cstdint>

namespace sonarel {

class Crc16 {
public:
    // Feeds the low n bits of value, most significant first.
    void AddBits(uint32_t value, int n)
    {
        uint32_t reg = Register;
        for (int i = n - 1; i >= 0; --i) {
            const uint32_t bit = (value >> i) & 1u;
            const uint32_t top = (reg >> 15) & 1u;
            reg = (reg << 1) & 0xFFFFu;
            if (top != bit)
                reg ^= 0x8005u;
        }
        Register = static_cast<uint16_t>(reg);
    }

    void Reset() { Register = 0xFFFF; }

    uint16_t Register = 0xFFFF;
};

}  // namespace sonarel
