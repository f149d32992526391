// Arbitrary bytes straight into the frame reader and the Layer I/II decoders (no playback
// thread, so many more inputs per second), with jumps back and forth between frames.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "decoder/AudioOutput.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SynthesisFilter.h"

using namespace sonarel;

namespace {

struct Input {
  const uint8_t* data;
  int64_t size;
  int64_t position;
};

class DiscardOutput : public AudioOutput {
 public:
  explicit DiscardOutput(uint32_t channels)
      : AudioOutput(channels), frame_(2 * kMaxSamplesPerFrame) {
    Attach(frame_.data(), frame_.size());
  }
  void EndFrame() override { ResetPositions(); }
  void DropQueued() override {}
  void MarkStopped() override {}

 private:
  std::vector<int16_t> frame_;
};

StreamCallbacks Callbacks(Input* in) {
  StreamCallbacks c;
  c.user = in;
  c.open = [](void*, uint8_t* notSeekable, uint32_t* handle) {
    *notSeekable = 0;
    *handle = 1;
  };
  c.close = [](void*, uint32_t) {};
  c.rewind = [](void* user, uint32_t, uint8_t* ok) {
    static_cast<Input*>(user)->position = 0;
    *ok = 1;
  };
  c.read = [](void* user, uint32_t, void* buffer, int32_t count, int32_t* read, uint8_t* ok) {
    auto* s = static_cast<Input*>(user);
    const int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, s->size - s->position));
    if (n > 0)
      std::memcpy(buffer, s->data + s->position, static_cast<size_t>(n));
    s->position += n;
    *read = static_cast<int32_t>(n);
    *ok = 1;
  };
  c.seek = [](void* user, uint32_t, int32_t distance, int32_t origin, int32_t* result) {
    auto* s = static_cast<Input*>(user);
    const int64_t target = (origin == 0 ? 0 : s->position) + distance;
    if (target < 0 || target > s->size) {
      *result = -1;
      return;
    }
    s->position = target;
    *result = static_cast<int32_t>(target);
  };
  c.size = [](void* user, uint32_t, int32_t* size) {
    *size = static_cast<int32_t>(static_cast<Input*>(user)->size);
  };
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input{data, static_cast<int64_t>(size), 0};
  auto reader = FrameReader::OpenCallbacks(Callbacks(&input));
  Header header;
  Crc16* crc = nullptr;
  if (!header.ReadNext(*reader, crc))
    return 0;
  const bool stereo = header.Mode() != Header::SingleChannel;
  SynthesisFilter filter1(0, 32768.0f), filter2(1, 32768.0f);
  DiscardOutput output(stereo ? 2 : 1);
  SubbandFrameDecoder decoder;
  const ChannelSelection channels =
      stereo ? static_cast<ChannelSelection>(size % 3) : kFirstChannel;
  for (int pass = 1; pass < 200; ++pass) {
    decoder.DecodeFrame(*reader, header, crc, channels, filter1,
                        stereo && channels == kBothChannels ? &filter2 : nullptr, output);
    if (pass % 16 == 0 && header.SeekToFrame(*reader, (pass * 7) % (reader->HighestFrame() + 2))) {
      filter1.Reset();
      filter2.Reset();
      continue;
    }
    if (!header.ReadNext(*reader, crc))
      break;
  }
  return 0;
}
