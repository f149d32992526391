// The playback thread: reads, decodes and outputs the open stream frame by frame until the end
// of the requested range, the end of the stream, a failed jump or a stop request, carrying out
// the requests that the exports leave in the player object at frame boundaries.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "decoder/AudioOutput.h"

namespace sonarel {

class Crc16;
class Layer3Decoder;
class SubbandFrameDecoder;
class SynthesisFilter;
class TPlayerObject;

class TPlayThread {
public:
    // Sets up playback of the player's open stream: the synthesis filters and the output of the
    // player's output type. Throws TMPEGError("Output device failure") when the output cannot be
    // set up (or the output type is unknown), other exceptions for other failures.
    TPlayThread(TPlayerObject& player, uint8_t* done);
    // Waits for the thread to end.
    ~TPlayThread();
    TPlayThread(const TPlayThread&) = delete;
    TPlayThread& operator=(const TPlayThread&) = delete;

    void Start();
    void Wait();
    // Applies a Windows thread priority value to the running thread (see ApplyThreadPriority).
    void ApplyPriority(int32_t windowsPriority);

private:
    void Run();
    void Loop();
    bool PastEnd() const;
    bool ReadNextHeader();
    bool SeekToTarget();
    void MakeLayer3Decoder();
    void CleanUp(bool stopped);
    void Finish(int32_t mode, bool writeDone);
    void FinishPlayback();

    TPlayerObject& player_;
    uint8_t* done_;
    int layer_ = 0;
    int channels_ = 0;              // ChannelSelection: 0 both, 1 first only
    Crc16* crc_ = nullptr;          // the checksum of the current frame, none when unprotected
    Crc16* accumulator_ = nullptr;  // the header's checksum register, once known
    std::unique_ptr<SubbandFrameDecoder> subbands_;
    std::unique_ptr<SynthesisFilter> filter1_;
    std::unique_ptr<SynthesisFilter> filter2_;
    std::unique_ptr<AudioOutput> output_;
    std::unique_ptr<Layer3Decoder> layer3_;
    std::thread thread_;
    std::atomic<pid_t> tid_{0};
};

// Maps a Windows thread priority value (-15 idle, -2 lowest, -1 below normal, 0 normal,
// 1 above normal, 2 highest, 15 time critical) onto the nice value of the POSIX thread `tid`.
// Raising the priority needs a privilege; without it the call changes nothing (EPERM is ignored).
void ApplyThreadPriority(pid_t tid, int32_t windowsPriority);
int NiceForPriority(int32_t windowsPriority);

}  // namespace sonarel
