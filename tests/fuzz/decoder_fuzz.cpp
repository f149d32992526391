// Arbitrary bytes as a caller-supplied stream through Open and Play into a WAVE file. The first
// byte chooses whether the stream can seek and how the range is played; the rest is the stream.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>

#include "decoder/PlayerApi.h"

namespace {

struct Input {
  const uint8_t* data;
  int64_t size;
  int64_t position;
  bool notSeekable;
};

void OpenProc(void* user, uint8_t* notSeekable, uint32_t* handle) {
  *notSeekable = static_cast<Input*>(user)->notSeekable ? 1 : 0;
  *handle = 1;
}
void CloseProc(void*, uint32_t) {}
void RewindProc(void* user, uint32_t, uint8_t* ok) {
  static_cast<Input*>(user)->position = 0;
  *ok = 1;
}
void ReadProc(void* user, uint32_t, void* buffer, int32_t count, int32_t* read, uint8_t* ok) {
  auto* in = static_cast<Input*>(user);
  const int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, in->size - in->position));
  if (n > 0) std::memcpy(buffer, in->data + in->position, static_cast<std::size_t>(n));
  in->position += n;
  *read = static_cast<int32_t>(n);
  *ok = 1;
}
void SeekProc(void* user, uint32_t, int32_t distance, int32_t origin, int32_t* result) {
  auto* in = static_cast<Input*>(user);
  const int64_t target = (origin == 0 ? 0 : in->position) + distance;
  if (in->notSeekable || target < 0 || target > in->size) {
    *result = -1;
    return;
  }
  in->position = target;
  *result = static_cast<int32_t>(target);
}
void SizeProc(void* user, uint32_t, int32_t* size) {
  *size = static_cast<int32_t>(static_cast<Input*>(user)->size);
}

// Waits for playback to end, resuming it whenever it is paused.
void WaitForEnd() {
  while (true) {
    const int32_t mode = sonarel::api::GetPlayerMode();
    if (mode == 4) sonarel::api::Pause(1);
    if (mode != 3 && mode != 4) return;
    std::this_thread::yield();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    sonarel::api::Init();
    static const std::string path = "/tmp/sonarel-fuzz-" + std::to_string(::getpid()) + ".wav";
    sonarel::api::SetOutputDevice(2, path.c_str());
    return true;
  }();
  (void)ready;
  if (size < 1) return 0;
  const uint8_t flags = data[0];
  Input in{data + 1, static_cast<int64_t>(size - 1), 0, (flags & 1) != 0};
  if (sonarel::api::Open(nullptr, 1, OpenProc, CloseProc, RewindProc, ReadProc, SeekProc, SizeProc,
                         &in)) {
    uint8_t done = 0;
    const uint32_t from = (flags & 2) ? 30 : 0;
    const uint32_t to = (flags & 4) ? 100 : 0;
    if (sonarel::api::Play(from, to, &done) == 0) {
      if (flags & 8) {
        sonarel::api::Seek(10);
        sonarel::api::Pause(0);
        sonarel::api::Pause(1);
      }
      WaitForEnd();
      if (flags & 16) {
        sonarel::api::Restart();
        WaitForEnd();
      }
    }
    sonarel::api::Close();
  }
  sonarel::api::LastError();
  return 0;
}
