#include "decoder/PlayThread.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/LastError.h"
#include "decoder/Layer3Decoder.h"
#include "decoder/MPEGError.h"
#include "decoder/Player.h"
#include "decoder/SubbandFrameDecoder.h"
#include "decoder/SynthesisFilter.h"
#include "decoder/WaveFileOutput.h"
#include "decoder/WaveOutOutput.h"

namespace sonarel {

namespace {

void WriteDone(uint8_t* done, uint8_t value)
{
    if (done != nullptr)
        std::atomic_ref<uint8_t>(*done).store(value, std::memory_order_release);
}

}  // namespace

int NiceForPriority(int32_t windowsPriority)
{
    if (windowsPriority <= -15)
        return 19;
    if (windowsPriority >= 15)
        return -20;
    switch (windowsPriority) {
    case -2:
        return 10;
    case -1:
        return 5;
    case 1:
        return -5;
    case 2:
        return -10;
    default:
        return 0;
    }
}

void ApplyThreadPriority(pid_t tid, int32_t windowsPriority)
{
    if (tid == 0)
        return;
    // On Linux the nice value is per thread. Without the privilege to raise it the call fails
    // with EPERM or EACCES and the thread keeps its priority.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceForPriority(windowsPriority));
}

TPlayThread::TPlayThread(TPlayerObject& player, uint8_t* done)
    : player_(player),
      done_(done)
{
    Header& header = *player_.header;
    layer_ = header.Layer();
    const bool singleChannel = header.Mode() == Header::SingleChannel;
    channels_ = singleChannel ? kFirstChannel : kBothChannels;
    accumulator_ = player_.crc;
    const float scale = player_.useScaleFactor ? player_.scaleFactor : 32768.0f;
    filter1_ = std::make_unique<SynthesisFilter>(0, scale);
    if (channels_ == kBothChannels)
        filter2_ = std::make_unique<SynthesisFilter>(1, scale);
    subbands_ = std::make_unique<SubbandFrameDecoder>();

    const uint32_t outChannels = singleChannel ? 1 : 2;
    const auto rate = static_cast<uint32_t>(header.SampleRate());
    switch (player_.outputType) {
    case OutputWaveOut:
    case OutputWaveOutMapper:
        output_ = std::make_unique<WaveOutOutput>(outChannels, rate,
                                                  AudioOutput::SamplesPerFrame(header.Layer(), header.Version()));
        break;
    case OutputWaveFile:
        output_ = std::make_unique<WaveFileOutput>(player_.outputFileName, outChannels, rate);
        break;
    default:
        throw TMPEGError(kOutputDeviceFailureText);
    }
}

TPlayThread::~TPlayThread()
{
    Wait();
}

void TPlayThread::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void TPlayThread::Wait()
{
    if (thread_.joinable())
        thread_.join();
}

void TPlayThread::ApplyPriority(int32_t windowsPriority)
{
    ApplyThreadPriority(tid_.load(), windowsPriority);
}

void TPlayThread::CleanUp(bool stopped)
{
    try {
        if (output_) {
            if (stopped)
                output_->MarkStopped();
            output_->Finish();  // plays out (or discards) and waits for the device
        }
    } catch (const TMPEGError&) {
        PublishLastError(ErrorOutput);
    } catch (...) {
        PublishLastError(ErrorInternal);
    }
    output_.reset();
    layer3_.reset();
    filter1_.reset();
    filter2_.reset();
}

// The mode is set only after the clean-up, so that an export acting on modes 1 and 2 never
// meets a thread that is still finishing its output; the done byte follows the mode.
void TPlayThread::Finish(int32_t mode, bool writeDone)
{
    player_.mode.store(mode);
    if (writeDone)
        WriteDone(done_, 1);
}

// Playback ran to its end (of the range or the stream), a jump failed or the output failed.
void TPlayThread::FinishPlayback()
{
    CleanUp(false);
    Finish(ModeFinished, true);
}

void TPlayThread::Run()
{
    tid_.store(static_cast<pid_t>(syscall(SYS_gettid)));
    if (player_.priorityGiven)
        ApplyThreadPriority(tid_.load(), player_.priority.load());
    ScopedPrivateLastError streamErrors;  // end of stream and failed jumps end playback quietly
    try {
        Loop();
    } catch (const TMPEGError&) {
        // The output failed to take a frame: playback ends with error 5 and the done byte.
        PublishLastError(ErrorOutput);
        FinishPlayback();
    } catch (...) {
        PublishLastError(ErrorInternal);
        FinishPlayback();
    }
}

// Unsigned: an index of -1 counts as past the end; the end frame itself is still played.
bool TPlayThread::PastEnd() const
{
    return static_cast<uint32_t>(player_.stream->FrameIndex()) > static_cast<uint32_t>(player_.endFrame);
}

void TPlayThread::MakeLayer3Decoder()
{
    layer3_ = std::make_unique<Layer3Decoder>(*player_.stream, *player_.header, filter1_.get(), filter2_.get(),
                                              *output_, channels_);
}

// ReadNext starts the checksum register of every protected frame at 0xFFFF and hands it out.
bool TPlayThread::ReadNextHeader()
{
    const bool ok = player_.header->ReadNext(*player_.stream, crc_);
    player_.PublishHeader();
    if (crc_ != nullptr)
        accumulator_ = crc_;
    return ok;
}

// Positions on the target frame and loads it, so that the pass goes on to decode the target
// itself. Streams positioned through the padding table read the frame while jumping; the
// others are only positioned before it, and the frame still held is an earlier one.
bool TPlayThread::SeekToTarget()
{
    const int32_t target = player_.seekTarget.load();
    const bool positioned = player_.header->SeekToFrame(*player_.stream, target);
    player_.PublishHeader();
    if (!positioned)
        return false;
    if (player_.stream->FrameIndex() == target - 1)
        return ReadNextHeader();
    crc_ = player_.header->ProtectionBit() == 0 ? accumulator_ : nullptr;
    return true;
}

void TPlayThread::Loop()
{
    FrameReader& stream = *player_.stream;
    Header& header = *player_.header;
    if (layer_ == 3) {
        try {
            MakeLayer3Decoder();
        } catch (...) {
            PublishLastError(ErrorInternal);
            CleanUp(true);
            Finish(ModeStopped, false);
            return;
        }
    }
    player_.seekTarget.store(player_.startFrame);
    player_.seekPending.store(1, std::memory_order_release);

    for (;;) {
        if (player_.stopRequest.load(std::memory_order_acquire)) {
            CleanUp(true);
            player_.stopRequest.store(0);
            Finish(ModeStopped, false);
            return;
        }
        // While the jump to the start frame is pending the index is still that of an earlier
        // playback, so the test waits for the jump.
        const bool jumpPending = !player_.notSeekable.load() && player_.seekPending.load();
        if (!jumpPending && PastEnd()) {
            FinishPlayback();
            return;
        }
        if (player_.pauseToggle.load(std::memory_order_acquire)) {
            const int32_t mode = player_.mode.load();
            if (mode == ModePlaying) {
                player_.pauseToggle.store(0);
                player_.mode.store(ModePaused);
            } else if (mode == ModePaused) {
                player_.pauseToggle.store(0);
                player_.mode.store(ModePlaying);
            }
        }
        // On a stream that cannot seek a pending jump stays pending and is ignored.
        if (!player_.notSeekable.load() && player_.seekPending.load(std::memory_order_acquire)) {
            output_->DropQueued();
            if (!SeekToTarget()) {
                FinishPlayback();
                return;
            }
            player_.seekPending.store(0);
            filter1_->Reset();
            if (filter2_)
                filter2_->Reset();
            if (layer3_)
                layer3_->SeekNotify();
            player_.currentFrame.store(stream.FrameIndex());
            if (PastEnd()) {
                FinishPlayback();
                return;
            }
        }
        if (header.Layer() != layer_) {
            if (header.Layer() == 3)
                MakeLayer3Decoder();
            else
                layer3_.reset();
            layer_ = header.Layer();
        }
        if (player_.mode.load() == ModePaused) {
            sched_yield();
            continue;
        }
        if (layer_ == 3) {
            layer3_->DecodeFrame();
        } else {
            // A frame whose checksum differs, or that holds values beyond the tables, is skipped.
            subbands_->DecodeFrame(stream, header, crc_, channels_, *filter1_, filter2_.get(), *output_);
        }
        const bool more = ReadNextHeader();
        player_.currentFrame.store(stream.FrameIndex());
        if (!more)
            break;
    }
    // End of the stream or a read error.
    FinishPlayback();
}

}  // namespace sonarel
