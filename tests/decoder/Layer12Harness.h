// Test harness for Layers I and II: decodes a stream through FrameReader, Header, the subband
// decoders and the synthesis filters into memory, and compares PCM with reference decoders.
#pragma once

#include "decoder/AudioOutput.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SynthesisFilter.h"
#include "MemorySource.h"
#include "TestFiles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace layer12test {

// Collects every ended frame's interleaved samples.
class MemoryOutput : public sonarel::AudioOutput {
public:
    explicit MemoryOutput(uint32_t channels);
    void EndFrame() override;
    void DropQueued() override {}
    void MarkStopped() override {}
    std::vector<int16_t> samples;

private:
    std::vector<int16_t> frame_;
};

struct Decoded {
    bool opened = false;  // a first header was found
    int channels = 0;
    int sampleRate = 0;
    int layer = 0;
    int framesRead = 0;
    int framesDecoded = 0;
    std::vector<int16_t> samples;  // interleaved
};

using decoder_test::MemorySource;

// Decodes a whole file (or Bytes through a FrameReader over memory callbacks).
Decoded DecodeFile(const std::string& path);
Decoded DecodeBytes(const std::vector<uint8_t>& bytes);
Decoded DecodeReader(sonarel::FrameReader& reader);

using decoder_test::ReadFileBytes;

// Reference PCM: mpg123's float output (x 32768, truncated toward zero, clipped) or madplay's
// 24-bit raw output (truncated to 16 bits).
std::vector<int16_t> LoadFloatReference(const std::string& path);
std::vector<int16_t> Load24BitReference(const std::string& path);

struct Comparison {
    size_t count = 0;
    size_t exact = 0;
    int maxDifference = 0;
    double ExactShare() const { return count == 0 ? 1.0 : static_cast<double>(exact) / count; }
};
Comparison Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference);

using decoder_test::DataDir;

}  // namespace layer12test
