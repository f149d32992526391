// The main-data bit reservoir of Layer III: a ring of 4096 bytes that frames append their main
// data to and the decoder reads bits from, most significant bit first. Reads never leave the
// ring: positions are taken modulo its size, so a read past the appended data yields old bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace sonarel {

class BitReservoir {
public:
    static constexpr int Size = 4096;

    BitReservoir() { Clear(); }

    void Clear()
    {
        std::memset(Buffer, 0, sizeof Buffer);
        Written = 0;
        Position = 0;
    }

    void PutByte(uint32_t value)
    {
        const int64_t i = Written & (Size - 1);
        Buffer[i] = static_cast<uint8_t>(value);
        if (i < Mirror)
            Buffer[Size + i] = static_cast<uint8_t>(value);
        ++Written;
    }

    // N bytes, as n calls of PutByte would append them.
    void PutBytes(const uint8_t* bytes, int n)
    {
        while (n > 0) {
            const int i = static_cast<int>(Written & (Size - 1));
            const int chunk = std::min(n, Size - i);
            std::memcpy(Buffer + i, bytes, static_cast<size_t>(chunk));
            if (i < Mirror)
                std::memcpy(Buffer + Size + i, bytes, static_cast<size_t>(std::min(chunk, Mirror - i)));
            Written += chunk;
            bytes += chunk;
            n -= chunk;
        }
    }

    // The next 32 bits, first in bit 31, without consuming them.
    uint32_t Peek32() const { return static_cast<uint32_t>(Peek57() >> 32); }

    // The next 57 bits, first in bit 63 (the low 7 bits are not meaningful).
    uint64_t Peek57() const { return PeekAt(Position); }

    // The same at any bit position, for readers that keep their position in a local.
    uint64_t PeekAt(int64_t position) const
    {
        const uint8_t* p = Buffer + ((position >> 3) & (Size - 1));
        uint64_t w;
        std::memcpy(&w, p, 8);
        return __builtin_bswap64(w) << (position & 7);
    }
    void SetBitsRead(int64_t position) { Position = position; }

    // n = 0..32 bits.
    uint32_t ReadBits(int n)
    {
        if (n <= 0)
            return 0;
        const uint32_t v = Peek32() >> (32 - n);
        Position += n;
        return v;
    }
    uint32_t ReadBit() { return ReadBits(1); }
    void SkipBits(int64_t n) { Position += n; }
    void RewindBits(int64_t n) { Position -= n; }
    void RewindBytes(int64_t n) { Position -= 8 * n; }

    // Bits read since the reservoir was created (or cleared); bytes appended likewise.
    int64_t BitsRead() const { return Position; }
    int64_t BytesWritten() const { return Written; }

private:
    static constexpr int Mirror = 8;  // copy of the ring's first bytes so a peek never wraps
    uint8_t Buffer[Size + Mirror];
    int64_t Written;
    int64_t Position;
};

}  // namespace sonarel
