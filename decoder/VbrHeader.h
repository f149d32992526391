// The first frame of a stream that an encoder wrote may describe the stream instead of holding
// audio: a Xing frame ("Xing" for variable, "Info" for constant bit rates) or a VBRI frame. It
// gives the number of audio frames after it and a table of byte positions for jumps.
#pragma once

#include <cstdint>
#include <vector>

namespace sonarel {

struct VbrHeader {
    enum Kind { None, Xing, Info, Vbri };
    Kind kind = None;
    uint32_t frames = 0;               // audio frames after this frame; 0 when not given
    uint32_t bytes = 0;                // stream bytes from this frame's start; 0 when not given
    std::vector<uint8_t> toc;          // Xing: 100 entries, position of each per cent / 256
    std::vector<uint32_t> vbriChunks;  // VBRI: start of every chunk of frames, from the first audio frame
    uint32_t vbriFramesPerChunk = 0;

    // True when the table serves jumps (variable bit rate with a table and a frame count).
    bool ServesJumps() const;
    // Byte position of audio frame n through the table: from this frame's start (Xing) or from
    // the first audio frame (VBRI).
    int64_t FrameOffset(int32_t n) const;
};

// Recognises a Xing, Info or VBRI frame of Layer III from its body (the bytes after the 4
// header bytes). Kind None when the frame is an ordinary audio frame.
VbrHeader ParseVbrHeader(const std::vector<uint8_t>& body, int version, bool singleChannel, bool protectedFrame);

}  // namespace sonarel
