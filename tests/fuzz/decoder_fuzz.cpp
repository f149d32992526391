// Arbitrary bytes as a caller-supplied stream through Open and Play into a WAVE file. The first
// byte chooses whether the stream can seek and how the range is played; the rest is the stream.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

#include "decoder/PlayerApi.h"
#include "tests/decoder/MemorySource.h"

namespace {

// Waits for playback to end, resuming it whenever it is paused.
void WaitForEnd()
{
    while (true) {
        const int32_t mode = sonarel::api::GetPlayerMode();
        if (mode == 4)
            sonarel::api::Pause(1);
        if (mode != 3 && mode != 4)
            return;
        std::this_thread::yield();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/sonarel-fuzz-" + std::to_string(::getpid()) + ".wav";
    static const bool ready = [] {
        sonarel::api::Init();
        sonarel::api::SetOutputDevice(2, path.c_str());
        return true;
    }();
    (void)ready;
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    decoder_test::MemorySource in;
    in.bytes.assign(data + 1, data + size);
    in.notSeekable = (flags & 1) != 0;
    const sonarel::StreamCallbacks c = in.Callbacks();
    if (sonarel::api::Open(nullptr, 1, c.open, c.close, c.rewind, c.read, c.seek, c.size, c.user)) {
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
    std::remove(path.c_str());  // libFuzzer may end the process without running exit handlers
    return 0;
}
