// Decodes a Layer III file through the frame reader, the Layer III decoder and the synthesis
// filters into memory, as the playback thread does, and compares PCM with a reference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace l3test {

struct DecodedStream {
    bool Opened = false;
    int Channels = 0;
    int SampleRate = 0;
    int Frames = 0;
    std::vector<int16_t> Pcm;  // interleaved
};

// Reads every frame of the file (a stream of bytes in memory when Bytes is given).
DecodedStream DecodeLayer3(const std::string& path);
DecodedStream DecodeLayer3Bytes(const std::vector<uint8_t>& bytes);

struct Comparison {
    size_t Samples = 0;
    size_t ReferenceSamples = 0;
    size_t Exact = 0;
    int MaxDifference = 0;
    double ExactShare() const { return Samples ? static_cast<double>(Exact) / static_cast<double>(Samples) : 0.0; }
};

// Reference float samples (mpg123 -e f32): expected sample = value x 32768 truncated toward
// zero and clipped to 16 bits.
Comparison CompareWithFloat(const std::vector<int16_t>& pcm, const std::string& f32Path);
// Reference 24-bit little-endian samples (madplay -b 24 raw): expected = value / 256 truncated.
Comparison CompareWithS24(const std::vector<int16_t>& pcm, const std::string& s24Path);

using decoder_test::ReadFileBytes;
// The folder of the Layer III test streams, with a trailing slash.
inline std::string TestDataDir()
{
    return decoder_test::DataDir() + "/layer3/";
}

}  // namespace l3test
