// The 34 Huffman tables of Layer III: descriptors with the standard's code tables, and the
// decoding lookup tables built from them once per process.
#pragma once

#include <cstdint>
#include <vector>

namespace sonarel {

struct HuffmanDescriptor {
    char Name[3];
    int32_t XLen;
    int32_t YLen;
    int32_t LinBits;
    int32_t LinMax;
    int32_t TreeOf;          // descriptor whose code table this one shares, -1 for its own
    const uint16_t* Codes;   // code words, index x * YLen + y (quadruples: 8v + 4w + 2x + y)
    const uint8_t* Lengths;  // code lengths in bits
    int32_t TreeLength;      // number of code words; 0 for the tables that code nothing
};

extern const HuffmanDescriptor HuffmanDescriptors[34];

// A two-level lookup over the next 32 bits of the stream. An entry is either a leaf
// (bits 0-7: code bits used at this level, bits 8-15: x << 4 | y, or the quadruple value),
// a link to a second-level table (bit 31, bits 0-7: its index width, bits 8-30: its offset),
// or, for bit patterns that are no code, Invalid.
struct HuffmanLookupTable {
    static constexpr uint32_t Link = 0x80000000u;
    static constexpr uint32_t Invalid = 0x40000000u;
    std::vector<uint32_t> Entries;
    int RootBits = 0;
};

// The lookup of descriptor Table (0..33); empty (RootBits 0) for tables 0, 4 and 14.
const HuffmanLookupTable& HuffmanLookup(int table);

// Builds the lookup of one code table; bit patterns that start no code become Invalid.
HuffmanLookupTable BuildHuffmanLookup(const HuffmanDescriptor& d);

// Decodes one code from Window (the next 32 stream bits, first bit in bit 31). Returns the
// leaf value (x << 4 | y) and sets Used to the code's length; for a pattern that is no code
// within 32 bits it returns 0 and sets Used to 32.
inline uint32_t HuffmanDecode(const uint32_t* entries, int rootBits, uint32_t window, int& used)
{
    uint32_t e = entries[window >> (32 - rootBits)];
    int base = 0;
    if (e & HuffmanLookupTable::Link) {
        const int width = static_cast<int>(e & 0xFF);
        const uint32_t rest = window << rootBits;
        e = entries[((e & ~HuffmanLookupTable::Link) >> 8) + (rest >> (32 - width))];
        base = rootBits;
    }
    if (e & HuffmanLookupTable::Invalid) {
        used = 32;
        return 0;
    }
    used = base + static_cast<int>(e & 0xFF);
    return (e >> 8) & 0xFF;
}
inline uint32_t HuffmanDecode(const HuffmanLookupTable& t, uint32_t window, int& used)
{
    return HuffmanDecode(t.Entries.data(), t.RootBits, window, used);
}

}  // namespace sonarel
