// Output into a RIFF WAVE file: a 46-byte header ("RIFF", "WAVE", an 18-byte "fmt " chunk of
// 16-bit PCM, "data") followed by the interleaved samples; the two chunk sizes are filled in
// when the output is finished.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decoder/AudioOutput.h"

namespace sonarel {

class WaveFileOutput final : public AudioOutput {
public:
    static constexpr uint32_t kHeaderBytes = 46;

    // Creates (or truncates) the file and writes the header. Throws TMPEGError on failure.
    WaveFileOutput(const std::string& fileName, uint32_t channels, uint32_t sampleRate);
    ~WaveFileOutput() override;

    // Appends the samples of the frame to the file.
    void EndFrame() override;
    void DropQueued() override {}
    void MarkStopped() override {}
    // Writes what is buffered, fills in the chunk sizes and closes the file.
    void Finish() override;

private:
    void WriteOut(const uint8_t* data, std::size_t size);
    void FlushBuffer();

    int fd_ = -1;
    std::vector<int16_t> frame_;  // one frame of the longest layer, interleaved
    std::vector<uint8_t> io_;     // file buffer
    std::size_t ioUsed_ = 0;
    uint64_t dataBytes_ = 0;
};

}  // namespace sonarel
