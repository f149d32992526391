#include "components/MPEGPlayer.h"

#include "components/SonarelExports.h"

#include <QFile>
#include <QTimer>
#include <QtGlobal>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <atomic>

namespace {

constexpr const char* kLibraryFile = "libSonarel.so";
constexpr uint8_t kCodeMode = 2;
constexpr uint8_t kCodeNoStream = 254;

// Messages of the library's error codes; code 0 is shown when the library is not bound.
constexpr std::array<const char*, 6> kMessages = {
    "MPEG library not loaded", "Internal decoder error",       "Incorrect mode",
    "Input stream error",      "Input stream is non-seekable", "Output device failure"};

TMPEGError LibraryError(int code)
{
    // Codes the table does not know are reported as internal failures, with their own value.
    const char* message = code >= 0 && code < static_cast<int>(kMessages.size()) ? kMessages[code] : kMessages[1];
    return TMPEGError(message, static_cast<uint8_t>(std::clamp(code, 0, 255)));
}

// Thread priorities of TPlayPriority, in its order.
constexpr std::array<int32_t, 7> kPriorities = {-15, -2, -1, 0, 1, 2, 15};

template <typename F> bool BindExport(void* library, const char* name, F& slot)
{
    void* symbol = ::dlsym(library, name);
    slot = reinterpret_cast<F>(symbol);
    return symbol != nullptr;
}

bool BindAll(void* library, TSonarelExports& e)
{
    return BindExport(library, "init", e.init) && BindExport(library, "deinit", e.deinit)
        && BindExport(library, "Open", e.Open) && BindExport(library, "Pause", e.Pause)
        && BindExport(library, "Restart", e.Restart) && BindExport(library, "Stop", e.Stop)
        && BindExport(library, "SetPriority", e.SetPriority)
        && BindExport(library, "SetOutputDevice", e.SetOutputDevice) && BindExport(library, "Play", e.Play)
        && BindExport(library, "Close", e.Close) && BindExport(library, "GetFrequency", e.GetFrequency)
        && BindExport(library, "GetBitrate", e.GetBitrate) && BindExport(library, "GetLayer", e.GetLayer)
        && BindExport(library, "GetPlayerMode", e.GetPlayerMode)
        && BindExport(library, "GetCurrentPos", e.GetCurrentPos) && BindExport(library, "GetLength", e.GetLength)
        && BindExport(library, "ResetPlayerMode", e.ResetPlayerMode) && BindExport(library, "Seek", e.Seek)
        && BindExport(library, "LastError", e.LastError);
}

uint32_t Milliseconds(int value)
{
    return static_cast<uint32_t>(std::max(value, 0));
}

}  // namespace

// The stream callbacks given to the library's Open, with the component as the user value.
// They run on the library's threads; no exception may pass back into the library.
struct TMPEGStreamAdapters {
    static void Open(void* user, uint8_t* notSeekable, uint32_t* handle) noexcept
    {
        *handle = 0;
        try {
            auto* player = static_cast<TMPEGPlayer*>(user);
            if (!player->OnOpenStream)
                return;
            bool nonseekable = false;
            void* context = nullptr;
            player->OnOpenStream(nonseekable, context);
            if (context == nullptr)
                return;
            *notSeekable = nonseekable ? 1 : 0;
            *handle = player->AddHandle(context);
        } catch (...) {
            *handle = 0;
        }
    }
    static void Close(void* user, uint32_t handle) noexcept
    {
        try {
            auto* player = static_cast<TMPEGPlayer*>(user);
            void* context = player->TakeHandle(handle);
            if (context != nullptr && player->OnCloseStream)
                player->OnCloseStream(context);
        } catch (...) {
        }
    }
    static void Rewind(void* user, uint32_t handle, uint8_t* ok) noexcept
    {
        *ok = 0;
        try {
            auto* player = static_cast<TMPEGPlayer*>(user);
            void* context = player->ContextOf(handle);
            bool result = false;
            if (context != nullptr && player->OnRestartStream)
                player->OnRestartStream(context, result);
            *ok = result ? 1 : 0;
        } catch (...) {
            *ok = 0;
        }
    }
    static void Read(void* user, uint32_t handle, void* buffer, int32_t count, int32_t* read, uint8_t* ok) noexcept
    {
        *read = 0;
        *ok = 0;
        try {
            auto* player = static_cast<TMPEGPlayer*>(user);
            void* context = player->ContextOf(handle);
            if (context == nullptr || !player->OnReadStream || count < 0)
                return;
            int done = 0;
            bool result = false;
            player->OnReadStream(context, buffer, count, done, result);
            *read = std::clamp(done, 0, static_cast<int>(count));
            *ok = result ? 1 : 0;
        } catch (...) {
            *read = 0;
            *ok = 0;
        }
    }
    static void Seek(void* user, uint32_t handle, int32_t distance, int32_t origin, int32_t* result) noexcept
    {
        *result = -1;
        try {
            auto* player = static_cast<TMPEGPlayer*>(user);
            void* context = player->ContextOf(handle);
            int position = -1;
            if (context != nullptr && player->OnSeekStream)
                player->OnSeekStream(context, distance, origin, position);
            *result = position;
        } catch (...) {
            *result = -1;
        }
    }
    static void Size(void* user, uint32_t handle, int32_t* size) noexcept
    {
        *size = -1;
        try {
            auto* player = static_cast<TMPEGPlayer*>(user);
            void* context = player->ContextOf(handle);
            int result = -1;
            if (context != nullptr && player->OnGetStreamSize)
                player->OnGetStreamSize(context, result);
            *size = result;
        } catch (...) {
            *size = -1;
        }
    }
};

extern "C" {
static void MPEGStreamOpen(void* user, uint8_t* notSeekable, uint32_t* handle)
{
    TMPEGStreamAdapters::Open(user, notSeekable, handle);
}
static void MPEGStreamClose(void* user, uint32_t handle)
{
    TMPEGStreamAdapters::Close(user, handle);
}
static void MPEGStreamRewind(void* user, uint32_t handle, uint8_t* ok)
{
    TMPEGStreamAdapters::Rewind(user, handle, ok);
}
static void MPEGStreamRead(void* user, uint32_t handle, void* buffer, int32_t count, int32_t* read, uint8_t* ok)
{
    TMPEGStreamAdapters::Read(user, handle, buffer, count, read, ok);
}
static void MPEGStreamSeek(void* user, uint32_t handle, int32_t distance, int32_t origin, int32_t* result)
{
    TMPEGStreamAdapters::Seek(user, handle, distance, origin, result);
}
static void MPEGStreamSize(void* user, uint32_t handle, int32_t* size)
{
    TMPEGStreamAdapters::Size(user, handle, size);
}
}

TMPEGPlayer::TMPEGPlayer(QObject* owner)
    : QObject(owner)
{
}

TMPEGPlayer::~TMPEGPlayer()
{
    try {
        UnbindLibrary();
    } catch (...) {
    }
}

QString TMPEGPlayer::LibraryFileName(const QString& pathToDLL)
{
    if (pathToDLL.isEmpty())
        return QString::fromLatin1(kLibraryFile);
    return pathToDLL + (pathToDLL.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/"))
        + QString::fromLatin1(kLibraryFile);
}

TPlayPriority TMPEGPlayer::PlayerPriority() const
{
    const auto it = std::find(kPriorities.begin(), kPriorities.end(), priority_);
    return it == kPriorities.end() ? TPlayPriority::Normal : static_cast<TPlayPriority>(it - kPriorities.begin());
}

void TMPEGPlayer::SetPlayerPriority(TPlayPriority value)
{
    priority_ = kPriorities[static_cast<std::size_t>(value)];
    if (IsLibraryLoaded()) {
        exports_->SetPriority(priority_);
        CheckError();
    }
}

void TMPEGPlayer::SetTimerFreq(int value)
{
    timerFreq_ = value;
    if (value == 0)
        UseTimer = false;
}

void TMPEGPlayer::SetStreamName(const QString& value)
{
    if (opened_)
        CloseStream();
    streamName_ = value;
}

TOutputDevice TMPEGPlayer::OutputDevice() const
{
    return deviceCode_ != 0 ? TOutputDevice::pcmfile : TOutputDevice::wavemapper;
}

void TMPEGPlayer::SetOutputDevice(TOutputDevice value)
{
    deviceCode_ = value == TOutputDevice::pcmfile && !OutFilename.isEmpty() ? 2 : 0;
}

const TSonarelExports& TMPEGPlayer::Bound() const
{
    if (library_ == nullptr)
        throw LibraryError(0);
    return *exports_;
}

void TMPEGPlayer::CheckError()
{
    lastError_ = exports_ && exports_->LastError ? exports_->LastError() : 0;
    if (lastError_ > 0)
        throw LibraryError(lastError_);
}

void TMPEGPlayer::BindLibrary()
{
    if (library_ != nullptr)
        return;
    const QByteArray file = QFile::encodeName(LibraryFileName(PathToDLL));
    void* library = ::dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        throw TMPEGError("Can't load MPEG library", 0);
    auto exports = std::make_unique<TSonarelExports>();
    if (!BindAll(library, *exports)) {
        ::dlclose(library);
        throw LibraryError(0);
    }
    if (!exports->init()) {
        lastError_ = exports->LastError();
        ::dlclose(library);
        throw LibraryError(lastError_);
    }
    library_ = library;
    exports_ = std::move(exports);
    if (timer_ == nullptr) {
        timer_ = new QTimer(this);
        connect(timer_, &QTimer::timeout, this, [this] { TimerTick(); });
    }
    timer_->stop();
    timer_->setInterval(UseTimer ? timerFreq_ : 0);
    streamLength_ = 0;
}

void TMPEGPlayer::UnbindLibrary()
{
    if (library_ == nullptr)
        return;
    std::exception_ptr failure;
    if (opened_) {
        try {
            CloseStream();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    // deinit closes what is still open and waits for the playback thread to end, so the
    // library's code and the end byte are no longer in use when the library goes.
    exports_->deinit();
    if (timer_ != nullptr)
        timer_->stop();
    ::dlclose(library_);
    library_ = nullptr;
    exports_.reset();
    opened_ = playing_ = paused_ = false;
    {
        std::lock_guard<std::mutex> lock(handlesLock_);
        handles_.clear();
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TMPEGPlayer::OpenStream()
{
    const TSonarelExports& e = Bound();
    if (opened_)
        CloseStream();
    opened_ = false;
    bool ok = false;
    if (FromStream) {
        ok = e.Open(nullptr, 1, MPEGStreamOpen, MPEGStreamClose, MPEGStreamRewind, MPEGStreamRead, MPEGStreamSeek,
                    MPEGStreamSize, this);
    } else {
        if (streamName_.isEmpty())
            throw TMPEGError("Can't play non-specified stream", kCodeNoStream);
        // The library copies the name; it is passed whole, never cut.
        const QByteArray name = QFile::encodeName(streamName_);
        ok = e.Open(name.constData(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    CheckError();
    if (!ok)
        throw LibraryError(1);
    opened_ = true;
    playedXTimes_ = 1;
    streamLength_ = StreamLength();
    if (AutoPlay)
        PlayStream();
}

void TMPEGPlayer::PlayStream()
{
    const TSonarelExports& e = Bound();
    if (paused_) {
        SetPaused(false);
        return;
    }
    if (playing_)
        return;
    if (!opened_)
        OpenStream();
    if (!opened_ || playing_)
        return;
    if (playedXTimes_ >= 2) {
        RestartPlay();
        return;
    }
    e.SetPriority(priority_);
    CheckError();
    const QByteArray outFile = QFile::encodeName(OutFilename);
    e.SetOutputDevice(deviceCode_, outFile.constData());
    CheckError();
    const int32_t started = e.Play(Milliseconds(StartPos), Milliseconds(EndPos), &endByte_);
    // A failed start leaves nothing playing: the error is raised, the component stays stopped.
    lastError_ = e.LastError();
    if (lastError_ > 0 || started != 0)
        throw LibraryError(lastError_ > 0 ? lastError_ : 1);
    playing_ = true;
    ++playedXTimes_;
    StartTimer();
}

void TMPEGPlayer::RestartPlay()
{
    const TSonarelExports& e = Bound();
    if (!opened_)
        throw LibraryError(kCodeMode);
    ClearEndByte();
    const bool ok = e.Restart();
    CheckError();
    if (!ok)
        throw LibraryError(1);
    playing_ = true;
    ++playedXTimes_;
    StartTimer();
}

void TMPEGPlayer::SetPaused(bool value)
{
    const TSonarelExports& e = Bound();
    if (!playing_ || EndByteSet()) {
        paused_ = false;
        if (value)
            throw LibraryError(kCodeMode);
        return;
    }
    e.Pause(value ? 0 : 1);
    CheckError();
    paused_ = value;
}

void TMPEGPlayer::CloseStream()
{
    const TSonarelExports& e = Bound();
    opened_ = paused_ = playing_ = false;
    playedXTimes_ = 0;
    if (timer_ != nullptr)
        timer_->stop();
    e.Close();
    CheckError();
}

int TMPEGPlayer::CurrentPosition()
{
    const int position = Bound().GetCurrentPos();
    CheckError();
    return position;
}

int TMPEGPlayer::StreamLength()
{
    const int length = Bound().GetLength();
    CheckError();
    return length;
}

void TMPEGPlayer::StartTimer()
{
    if (UseTimer && timer_ != nullptr && timer_->interval() != 0) {
        timer_->start();
        PositionTimerTick();
    }
}

void TMPEGPlayer::PositionTimerTick()
{
    if (!opened_ || !playing_) {
        if (timer_ != nullptr)
            timer_->stop();
        return;
    }
    int position = CurrentPosition();
    const int length = streamLength_;
    if (position > length)
        position = 0;
    if (OnPosUpdate)
        OnPosUpdate(position, length);
    if (EndByteSet()) {
        timer_->stop();
        playing_ = false;
        if (OnPlayEnd) {
            ClearEndByte();
            OnPlayEnd(this);
        }
    }
}

// The timer's slot: no exception may leave it. A failure stops the timer and ends the play,
// so the component never counts as playing for ever.
void TMPEGPlayer::TimerTick() noexcept
{
    try {
        PositionTimerTick();
    } catch (const std::exception& error) {
        timer_->stop();
        playing_ = false;
        qWarning("MPEG player: %s", error.what());
    } catch (...) {
        timer_->stop();
        playing_ = false;
    }
}

bool TMPEGPlayer::EndByteSet() const
{
    // Written by the library's playback thread.
    return std::atomic_ref<uint8_t>(const_cast<uint8_t&>(endByte_)).load(std::memory_order_acquire) != 0;
}

void TMPEGPlayer::ClearEndByte()
{
    std::atomic_ref<uint8_t>(endByte_).store(0, std::memory_order_release);
}

uint32_t TMPEGPlayer::AddHandle(void* context)
{
    std::lock_guard<std::mutex> lock(handlesLock_);
    // Handles are never 0 and never reused while in the table.
    while (nextHandle_ == 0 || handles_.count(nextHandle_) != 0)
        ++nextHandle_;
    const uint32_t handle = nextHandle_++;
    handles_[handle] = context;
    return handle;
}

void* TMPEGPlayer::ContextOf(uint32_t handle)
{
    std::lock_guard<std::mutex> lock(handlesLock_);
    const auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : it->second;
}

void* TMPEGPlayer::TakeHandle(uint32_t handle)
{
    std::lock_guard<std::mutex> lock(handlesLock_);
    const auto it = handles_.find(handle);
    if (it == handles_.end())
        return nullptr;
    void* context = it->second;
    handles_.erase(it);
    return context;
}
