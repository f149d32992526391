#include "Layer12Harness.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace layer12test {

using namespace sonarel;

MemoryOutput::MemoryOutput(uint32_t channels) : AudioOutput(channels) {
  frame_.resize(AudioOutput::kMaxSamplesPerFrame * 2);
  Attach(frame_.data(), frame_.size());
}

void MemoryOutput::EndFrame() {
  samples.insert(samples.end(), frame_.begin(), frame_.begin() + WrittenSamples());
  ResetPositions();
}

Decoded DecodeReader(FrameReader& reader) {
  Decoded result;
  Header header;
  Crc16* crc = nullptr;
  if (!header.ReadNext(reader, crc))
    return result;
  result.opened = true;
  result.channels = header.Mode() == Header::SingleChannel ? 1 : 2;
  result.sampleRate = header.SampleRate();
  result.layer = header.Layer();
  SynthesisFilter filter1(0, 32768.0f);
  SynthesisFilter filter2(1, 32768.0f);
  MemoryOutput output(static_cast<uint32_t>(result.channels));
  auto decoder = std::make_unique<SubbandFrameDecoder>();
  const ChannelSelection channels = result.channels == 1 ? kFirstChannel : kBothChannels;
  do {
    ++result.framesRead;
    if (decoder->DecodeFrame(reader, header, crc, channels, filter1,
                             result.channels == 2 ? &filter2 : nullptr, output))
      ++result.framesDecoded;
  } while (header.ReadNext(reader, crc));
  result.samples = std::move(output.samples);
  return result;
}

Decoded DecodeFile(const std::string& path) {
  auto reader = FrameReader::OpenFile(path.c_str());
  return DecodeReader(*reader);
}

StreamCallbacks MemorySource::Callbacks() {
  StreamCallbacks callbacks;
  callbacks.user = this;
  callbacks.open = [](void* user, uint8_t* notSeekable, uint32_t* handle) {
    *notSeekable = static_cast<MemorySource*>(user)->notSeekable ? 1 : 0;
    *handle = 1;
  };
  callbacks.close = [](void*, uint32_t) {};
  callbacks.rewind = [](void* user, uint32_t, uint8_t* ok) {
    static_cast<MemorySource*>(user)->position = 0;
    *ok = 1;
  };
  callbacks.read = [](void* user, uint32_t, void* buffer, int32_t count, int32_t* read,
                      uint8_t* ok) {
    auto* s = static_cast<MemorySource*>(user);
    const size_t left = s->bytes.size() - std::min(s->position, s->bytes.size());
    const size_t n = std::min(left, static_cast<size_t>(count < 0 ? 0 : count));
    if (n > 0)
      std::memcpy(buffer, s->bytes.data() + s->position, n);
    s->position += n;
    *read = static_cast<int32_t>(n);
    *ok = 1;
  };
  callbacks.seek = [](void* user, uint32_t, int32_t distance, int32_t origin, int32_t* result) {
    auto* s = static_cast<MemorySource*>(user);
    const int64_t target = (origin == 0 ? 0 : static_cast<int64_t>(s->position)) + distance;
    s->seeks.push_back(target);
    if (target < 0) {
      *result = -1;
      return;
    }
    s->position = static_cast<size_t>(target);
    *result = static_cast<int32_t>(target);
  };
  callbacks.size = [](void* user, uint32_t, int32_t* size) {
    auto* s = static_cast<MemorySource*>(user);
    *size = s->reportedSize != -2 ? s->reportedSize : static_cast<int32_t>(s->bytes.size());
  };
  return callbacks;
}

Decoded DecodeBytes(const std::vector<uint8_t>& bytes) {
  MemorySource source;
  source.bytes = bytes;
  auto reader = source.Open();
  return DecodeReader(*reader);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<int16_t> LoadFloatReference(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  std::vector<int16_t> out(bytes.size() / 4);
  for (size_t i = 0; i < out.size(); ++i) {
    float f;
    std::memcpy(&f, bytes.data() + 4 * i, 4);
    const float y = f * 32768.0f;
    out[i] = y >= 32767.0f ? 32767 : y <= -32768.0f ? -32768 : static_cast<int16_t>(y);
  }
  return out;
}

std::vector<int16_t> Load24BitReference(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  std::vector<int16_t> out(bytes.size() / 3);
  for (size_t i = 0; i < out.size(); ++i) {
    int32_t v = bytes[3 * i] | (bytes[3 * i + 1] << 8) | (bytes[3 * i + 2] << 16);
    if (v & 0x800000)
      v -= 0x1000000;
    out[i] = static_cast<int16_t>(v / 256);  // truncates toward zero
  }
  return out;
}

Comparison Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference) {
  Comparison c;
  c.count = std::min(ours.size(), reference.size());
  for (size_t i = 0; i < c.count; ++i) {
    const int d = std::abs(ours[i] - reference[i]);
    if (d == 0)
      ++c.exact;
    c.maxDifference = std::max(c.maxDifference, d);
  }
  return c;
}

std::string DataDir() {
  const char* dir = std::getenv("LEXORA_TEST_DATA");
  return dir != nullptr ? dir : ".";
}

}  // namespace layer12test
