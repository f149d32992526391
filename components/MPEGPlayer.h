// TMPEGPlayer: plays MPEG audio through the decoder library libSonarel.so, loaded by name at
// run time. The input is a file or the owner's own stream, served through six events; the
// position and end-of-play events come from a timer on the user-interface thread.
//
// The stream events (OnOpenStream ... OnReadStream) are called by the library: open and size
// on the calling thread, reads and seeks also on the library's playback thread. Handlers must
// therefore touch only the stream they are given, never a widget.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

class QTimer;
struct TSonarelExports;

// The error of the player component: a code (the library's error code, or 0 and 254 of the
// component) and one of the fixed messages.
class TMPEGError : public std::runtime_error {
public:
    TMPEGError(const std::string& message, uint8_t code)
        : std::runtime_error(message),
          code_(code)
    {
    }
    uint8_t ErrorCode() const { return code_; }

private:
    uint8_t code_;
};

enum class TPlayPriority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };
enum class TOutputDevice { wavemapper, pcmfile };

class TMPEGPlayer;
using TOpenStreamEvent = std::function<void(bool& nonseekable, void*& context)>;
using TCloseStreamEvent = std::function<void(void* context)>;
using TRestartStreamEvent = std::function<void(void* context, bool& res)>;
using TGetStreamSizeEvent = std::function<void(void* context, int& res)>;
// MoveMethod 0 from the start, 1 from the current position, 2 from the end; res = new position or -1.
using TSeekStreamEvent = std::function<void(void* context, int numbytes, int moveMethod, int& res)>;
using TReadStreamEvent =
    std::function<void(void* context, void* readBuffer, int numberOfBytesToRead, int& numberOfBytesRead, bool& res)>;
using TPosUpdateEvent = std::function<void(int pos, int len)>;
using TNotifyEvent = std::function<void(TMPEGPlayer* sender)>;

class TMPEGPlayer : public QObject {
public:
    explicit TMPEGPlayer(QObject* owner = nullptr);
    // Stops playback and unbinds the library when still bound; returns only after the
    // library's playback thread has ended.
    ~TMPEGPlayer() override;

    // The library file for a folder: Path + "/" (when missing) + "libSonarel.so";
    // an empty folder gives the bare name (the system's search order).
    static QString LibraryFileName(const QString& pathToDLL);

    bool Seekable = false;    // stored only
    bool FromStream = false;  // input from the stream events, else from the file StreamName
    bool UseTimer = false;    // run the position timer while playing
    bool AutoPlay = false;    // play at once after a successful open
    QString OutFilename;      // wave file written when OutputDevice is pcmfile (set it first)
    QString PathToDLL;        // folder of the decoder library; empty: the system's search order
    int StartPos = 0;         // range to play, ms
    int EndPos = 0;           // 0: to the end

    TPlayPriority PlayerPriority() const;
    void SetPlayerPriority(TPlayPriority value);
    int TimerFreq() const { return timerFreq_; }
    void SetTimerFreq(int value);  // 0 also switches UseTimer off
    QString StreamName() const { return streamName_; }
    void SetStreamName(const QString& value);  // closes an open stream
    TOutputDevice OutputDevice() const;
    void SetOutputDevice(TOutputDevice value);
    int PlayedXTimes() const { return playedXTimes_; }
    int LastErrorCode() const { return lastError_; }

    TOpenStreamEvent OnOpenStream;
    TCloseStreamEvent OnCloseStream;
    TRestartStreamEvent OnRestartStream;
    TGetStreamSizeEvent OnGetStreamSize;
    TSeekStreamEvent OnSeekStream;
    TReadStreamEvent OnReadStream;
    TPosUpdateEvent OnPosUpdate;
    TNotifyEvent OnPlayEnd;

    void BindLibrary();
    void UnbindLibrary();
    bool IsLibraryLoaded() const { return library_ != nullptr; }
    void OpenStream();
    void PlayStream();
    void RestartPlay();
    void SetPaused(bool value);
    void CloseStream();
    int CurrentPosition();
    int StreamLength();

    bool IsOpened() const { return opened_; }
    bool IsPlaying() const { return playing_; }
    bool IsPaused() const { return paused_; }

    // Reports the position and notices the end of playback; run by the timer.
    virtual void PositionTimerTick();

private:
    friend struct TMPEGStreamAdapters;

    const TSonarelExports& Bound() const;  // raises "MPEG library not loaded" when unbound
    void CheckError();                     // raises the library's last error
    void StartTimer();
    void TimerTick() noexcept;
    bool EndByteSet() const;
    void ClearEndByte();

    // The library carries 32-bit stream handles; the owner's contexts are pointers.
    uint32_t AddHandle(void* context);
    void* ContextOf(uint32_t handle);
    void* TakeHandle(uint32_t handle);

    void* library_ = nullptr;
    std::unique_ptr<TSonarelExports> exports_;
    QTimer* timer_ = nullptr;
    int32_t deviceCode_ = 0;
    int32_t priority_ = 0;
    int timerFreq_ = 0;
    QString streamName_;
    bool opened_ = false;
    bool playing_ = false;
    bool paused_ = false;
    int playedXTimes_ = 0;
    int streamLength_ = 0;
    int lastError_ = 0;
    uint8_t endByte_ = 0;  // the done byte the library's playback thread sets

    std::mutex handlesLock_;
    std::map<uint32_t, void*> handles_;
    uint32_t nextHandle_ = 1;
};
