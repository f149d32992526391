#include "Layer3Harness.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "decoder/AudioOutput.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/Layer3Decoder.h"
#include "decoder/SynthesisFilter.h"

using namespace sonarel;

namespace l3test {

namespace {

class CaptureOutput : public AudioOutput {
 public:
  CaptureOutput(uint32_t channels, uint32_t samplesPerFrame, std::vector<int16_t>& sink)
      : AudioOutput(channels), frame_(samplesPerFrame * channels_), sink_(sink) {
    Attach(frame_.data(), frame_.size());
  }
  void EndFrame() override {
    sink_.insert(sink_.end(), frame_.begin(), frame_.end());
    std::fill(frame_.begin(), frame_.end(), 0);
    ResetPositions();
  }
  void DropQueued() override {}
  void MarkStopped() override {}

 private:
  std::vector<int16_t> frame_;
  std::vector<int16_t>& sink_;
};

struct MemoryStream {
  const std::vector<uint8_t>* bytes;
  int64_t pos = 0;
};

DecodedStream Decode(std::unique_ptr<FrameReader> reader)
{
  DecodedStream result;
  Header header;
  Crc16* crc = nullptr;
  if (!header.ReadNext(*reader, crc))
    return result;
  result.Opened = true;
  result.Channels = header.Mode() == Header::SingleChannel ? 1 : 2;
  result.SampleRate = header.SampleRate();
  SynthesisFilter filter1(0, 32768.0f), filter2(1, 32768.0f);
  CaptureOutput output(static_cast<uint32_t>(result.Channels),
                       AudioOutput::SamplesPerFrame(3, header.Version()), result.Pcm);
  std::unique_ptr<Layer3Decoder> decoder;
  do {
    if (header.Layer() != 3) {
      decoder.reset();
      continue;
    }
    if (!decoder)
      decoder = Layer3Decoder::Create(*reader, header, &filter1, result.Channels == 2 ? &filter2 : nullptr,
                                      output, result.Channels == 1 ? kFirstChannel : kBothChannels);
    decoder->DecodeFrame();
    ++result.Frames;
  } while (header.ReadNext(*reader, crc));
  return result;
}

}  // namespace

DecodedStream DecodeLayer3(const std::string& path)
{
  return Decode(FrameReader::OpenFile(path.c_str()));
}

DecodedStream DecodeLayer3Bytes(const std::vector<uint8_t>& bytes)
{
  static thread_local MemoryStream stream;
  stream = MemoryStream{&bytes, 0};
  StreamCallbacks cb;
  cb.user = &stream;
  cb.open = [](void*, uint8_t* notSeekable, uint32_t* handle) {
    *notSeekable = 0;
    *handle = 1;
  };
  cb.close = [](void*, uint32_t) {};
  cb.rewind = [](void* user, uint32_t, uint8_t* ok) {
    static_cast<MemoryStream*>(user)->pos = 0;
    *ok = 1;
  };
  cb.read = [](void* user, uint32_t, void* buffer, int32_t count, int32_t* read, uint8_t* ok) {
    auto* s = static_cast<MemoryStream*>(user);
    const int64_t size = static_cast<int64_t>(s->bytes->size());
    const int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, size - s->pos));
    if (n > 0)
      std::memcpy(buffer, s->bytes->data() + s->pos, static_cast<size_t>(n));
    s->pos += n;
    *read = static_cast<int32_t>(n);
    *ok = 1;
  };
  cb.seek = [](void* user, uint32_t, int32_t distance, int32_t origin, int32_t* result) {
    auto* s = static_cast<MemoryStream*>(user);
    const int64_t target = (origin == 0 ? 0 : s->pos) + distance;
    if (target < 0 || target > static_cast<int64_t>(s->bytes->size())) {
      *result = -1;
      return;
    }
    s->pos = target;
    *result = static_cast<int32_t>(target);
  };
  cb.size = [](void* user, uint32_t, int32_t* size) {
    *size = static_cast<int32_t>(static_cast<MemoryStream*>(user)->bytes->size());
  };
  return Decode(FrameReader::OpenCallbacks(cb));
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string TestDataDir()
{
  const char* dir = std::getenv("LEXORA_TEST_DATA");
  return std::string(dir ? dir : "data") + "/layer3/";
}

namespace {

Comparison Compare(const std::vector<int16_t>& pcm, const std::vector<int32_t>& expected)
{
  Comparison c;
  c.Samples = pcm.size();
  c.ReferenceSamples = expected.size();
  const size_t n = std::min(pcm.size(), expected.size());
  for (size_t i = 0; i < n; ++i) {
    const int d = std::abs(static_cast<int>(pcm[i]) - expected[i]);
    if (d == 0)
      ++c.Exact;
    c.MaxDifference = std::max(c.MaxDifference, d);
  }
  return c;
}

int32_t Clip16(double v)
{
  if (v > 32767.0)
    return 32767;
  if (v < -32768.0)
    return -32768;
  return static_cast<int32_t>(std::trunc(v));
}

}  // namespace

Comparison CompareWithFloat(const std::vector<int16_t>& pcm, const std::string& f32Path)
{
  const std::vector<uint8_t> bytes = ReadFileBytes(f32Path);
  std::vector<int32_t> expected(bytes.size() / 4);
  for (size_t i = 0; i < expected.size(); ++i) {
    float f;
    std::memcpy(&f, bytes.data() + 4 * i, 4);
    expected[i] = Clip16(static_cast<double>(f) * 32768.0);
  }
  return Compare(pcm, expected);
}

Comparison CompareWithS24(const std::vector<int16_t>& pcm, const std::string& s24Path)
{
  const std::vector<uint8_t> bytes = ReadFileBytes(s24Path);
  std::vector<int32_t> expected(bytes.size() / 3);
  for (size_t i = 0; i < expected.size(); ++i) {
    int32_t v = bytes[3 * i] | (bytes[3 * i + 1] << 8) | (bytes[3 * i + 2] << 16);
    if (v & 0x800000)
      v -= 1 << 24;
    expected[i] = Clip16(v / 256.0);
  }
  return Compare(pcm, expected);
}

}  // namespace l3test
