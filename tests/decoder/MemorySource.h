// A stream served from memory through the six stream callbacks, the way a caller of the library
// serves one: for the decoder tests, the reference harnesses and the fuzz targets. Seeks beyond
// the end succeed (reads there find nothing), as on a file.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "decoder/FrameReader.h"
#include "decoder/StreamCallbacks.h"

namespace decoder_test {

struct MemorySource {
    std::vector<uint8_t> bytes;
    size_t position = 0;
    bool notSeekable = false;    // what the open callback reports
    int32_t reportedSize = -2;   // what the size callback reports; -2: the real size
    std::vector<int64_t> seeks;  // the positions asked for, in order

    sonarel::StreamCallbacks Callbacks()
    {
        sonarel::StreamCallbacks c;
        c.user = this;
        c.open = [](void* user, uint8_t* notSeekable, uint32_t* handle) {
            *notSeekable = Self(user).notSeekable ? 1 : 0;
            *handle = 1;
        };
        c.close = [](void*, uint32_t) {};
        c.rewind = [](void* user, uint32_t, uint8_t* ok) {
            Self(user).position = 0;
            *ok = 1;
        };
        c.read = [](void* user, uint32_t, void* buffer, int32_t count, int32_t* read, uint8_t* ok) {
            MemorySource& s = Self(user);
            const size_t left = s.bytes.size() - std::min(s.position, s.bytes.size());
            const size_t n = std::min(left, static_cast<size_t>(count < 0 ? 0 : count));
            if (n > 0)
                std::memcpy(buffer, s.bytes.data() + s.position, n);
            s.position += n;
            *read = static_cast<int32_t>(n);
            *ok = 1;
        };
        c.seek = [](void* user, uint32_t, int32_t distance, int32_t origin, int32_t* result) {
            MemorySource& s = Self(user);
            const int64_t target = (origin == 0 ? 0 : static_cast<int64_t>(s.position)) + distance;
            s.seeks.push_back(target);
            if (target < 0) {
                *result = -1;
                return;
            }
            s.position = static_cast<size_t>(target);
            *result = static_cast<int32_t>(target);
        };
        c.size = [](void* user, uint32_t, int32_t* size) {
            const MemorySource& s = Self(user);
            *size = s.reportedSize != -2 ? s.reportedSize : static_cast<int32_t>(s.bytes.size());
        };
        return c;
    }

    // A frame reader over this source; the source must outlive it.
    std::unique_ptr<sonarel::FrameReader> Open() { return sonarel::FrameReader::OpenCallbacks(Callbacks()); }

private:
    static MemorySource& Self(void* user) { return *static_cast<MemorySource*>(user); }
};

}  // namespace decoder_test
