#include "app/UpdateThread.h"

#include "app/UpdateVersionList.h"
#include "platform/Http.h"
#include "platform/SafeFile.h"
#include "platform/qt/OpenUrl.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Registry.h"

#include <QMetaObject>
#include <QUrl>

#include <cstdlib>
#include <filesystem>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The maker's update server; the machine value UpdateServer replaces it per installation.
constexpr const char* kDefaultUpdateServer = "https://updates.lexora.example";

std::string Utf8(const std::u16string& text)
{
    return ToQString(text).toStdString();
}

std::int32_t ProgressValue(std::uint64_t bytes)
{
    return static_cast<std::int32_t>(std::min<std::uint64_t>(bytes, static_cast<std::uint64_t>(kInstallerLimit)));
}

// The download's temporary file: created new (never through a link), written whole, synced.
class TPartFile {
public:
    explicit TPartFile(std::string path)
        : path_(std::move(path))
    {
    }
    ~TPartFile() { Close(); }
    TPartFile(const TPartFile&) = delete;
    TPartFile& operator=(const TPartFile&) = delete;

    bool Open()
    {
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd_ < 0)
            error_ = errno;
        return fd_ >= 0;
    }
    // False (and Error() set) when the bytes cannot all be written: a full disk, a size limit.
    bool Write(const char* data, std::size_t size)
    {
        while (size > 0 && error_ == 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error_ = n < 0 ? errno : ENOSPC;
                break;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return error_ == 0;
    }
    // Syncs and closes; false when either fails.
    bool Close()
    {
        if (fd_ < 0)
            return error_ == 0;
        if (error_ == 0 && ::fsync(fd_) != 0)
            error_ = errno;
        if (::close(fd_) != 0 && error_ == 0)
            error_ = errno;
        fd_ = -1;
        return error_ == 0;
    }
    int Error() const { return error_; }

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace

std::string UpdateServerAddress()
{
    if (const char* env = std::getenv("LEXORA_UPDATE_URL"); env != nullptr && *env != 0)
        return env;
    try {
        TRegistry machine(TRootKey::LocalMachine);
        if (machine.OpenKey("\\Software\\TavorSoft\\LexoraXP", false) && machine.ValueExists("UpdateServer")) {
            const std::string server = Utf8(machine.ReadString("UpdateServer"));
            if (!server.empty())
                return server;
        }
    } catch (const std::exception&) {
        // A damaged machine store: the compiled-in address serves.
    }
    return kDefaultUpdateServer;
}

void ReadInstalledProduct(std::string& name, std::string& company, std::string& version)
{
    name.clear();
    company.clear();
    version.clear();
    try {
        TRegistry machine(TRootKey::LocalMachine);
        if (!machine.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LexoraXP", false))
            return;
        name = Utf8(machine.ReadString("Name"));
        company = Utf8(machine.ReadString("Company"));
        version = Utf8(machine.ReadString("DisplayVersion"));
    } catch (const std::exception&) {
        // A value of another kind reads as empty, as a missing one does.
    }
}

TUpdateThread::TUpdateThread(TUpdateOptions options, TUpdateWindow window, QObject* parent)
    : QObject(parent),
      options_(std::move(options)),
      window_(std::move(window))
{
    worker_ = std::thread([this] {
        try {
            Execute();
        } catch (...) {
            // Any failure ends the check; nothing is stored.
        }
        Post([this] { WorkerDone(); });
    });
}

TUpdateThread::~TUpdateThread()
{
    Terminate();
    if (worker_.joinable())
        worker_.join();
}

void TUpdateThread::Terminate()
{
    {
        std::lock_guard lock(mutex_);
        terminate_ = true;
    }
    wake_.notify_all();
}

QString TUpdateThread::Target() const
{
    std::lock_guard lock(targetMutex_);
    return target_;
}

void TUpdateThread::Post(std::function<void()> f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

bool TUpdateThread::Sync(const std::function<void()>& f)
{
    struct TState {
        bool Done = false;
        bool Dropped = false;
    };
    auto state = std::make_shared<TState>();
    if (terminate_)
        return false;
    Post([this, state, f] {
        {
            std::lock_guard lock(mutex_);
            if (state->Dropped)
                return;
        }
        f();  // without the lock: it may show a modal window
        {
            std::lock_guard lock(mutex_);
            state->Done = true;
        }
        wake_.notify_all();
    });
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] { return state->Done || terminate_; });
    if (!state->Done)
        state->Dropped = true;
    return state->Done;
}

void TUpdateThread::WorkerDone()
{
    if (worker_.joinable())
        worker_.join();
    if (window_.ShowPosition)
        window_.ShowPosition(0);
    if (startInstaller_ && !terminate_) {
        // Opened with the desktop's handler for its type; never run, never made executable,
        // and only when it is a plain file (a link planted at its name is not the installer).
        std::error_code ec;
        if (fs::is_regular_file(fs::symlink_status(Target().toStdString(), ec))
            && OpenUrl(QUrl::fromLocalFile(Target())))
            StoreUpdateTime();
    }
    if (window_.Finished)
        window_.Finished();
}

void TUpdateThread::StoreUpdateTime()
{
    if (window_.StoreUpdateTime)
        window_.StoreUpdateTime();
}

void TUpdateThread::AskDownload()
{
    if (!options_.Manual && options_.UpdStt != 0) {
        download_ = true;
        return;
    }
    const QString text = window_.Text("MsgUpdateVer") + "\n" + window_.Text("MsgUpdateQu");
    download_ = window_.ShowMessage(text, 1, 0) == 6;
}

void TUpdateThread::AskStartUpdate()
{
    if (window_.ShowMessage(window_.Text("MsgStartUpdate"), 1, 0) == 6) {
        startInstaller_ = true;
        StoreUpdateTime();
    } else {
        startInstaller_ = false;
    }
}

void TUpdateThread::ReportError(const std::string& text)
{
    const QString message = window_.Text("MsgUpdateError") + QString::fromStdString(text);
    Sync([this, message] { window_.ShowMessage(message, 0, 2); });
}

void TUpdateThread::Execute()
{
    Platform::THttpClient client;
    client.Options.StallSeconds = options_.StallSeconds;
    if (options_.UseProxy)
        client.Options.Proxy =
            Platform::THttpProxy{options_.ProxyServer, options_.ProxyPort, options_.ProxyUser, options_.ProxyPassword};
    client.Options.MaxBytes = kVersionListLimit;
    const auto stop = [this](std::uint64_t, std::int64_t) { return !terminate_; };

    std::string list;
    if (!client.GetToString(VersionListUrl(options_.Server), list, stop).Ok())
        return;  // tried again at the next start
    if (!IsNewerVersion(VersionListValue(list, "VERMAJ"), VersionListValue(list, "VERMIN"))) {
        Sync([this] {
            if (options_.Manual)
                window_.ShowMessage(window_.Text("MsgNoUpdate"), 0, 1);
            StoreUpdateTime();
        });
        download_ = false;
        return;
    }
    const std::string file = InstallerFileName(VersionListValue(list, "FILE"));
    const std::optional<std::int64_t> fileSize = InstallerFileSize(VersionListValue(list, "FILESIZE"));
    if (file.empty() || !fileSize)
        return;  // not a usable list: like one that cannot be fetched
    const std::string target = (options_.AppDir + "Updates/").toStdString() + file;
    {
        std::lock_guard lock(targetMutex_);
        target_ = QString::fromStdString(target);
    }

    std::error_code ec;
    // A link planted at the installer's name is not the installer.
    const fs::file_status status = fs::symlink_status(target, ec);
    if (fs::is_regular_file(status) && static_cast<std::int64_t>(fs::file_size(target, ec)) == *fileSize && !ec) {
        if (!Sync([this] { AskStartUpdate(); }))
            return;
        download_ = false;
    } else if (!Sync([this] { AskDownload(); })) {
        return;
    }

    if (download_ && !terminate_) {
        Sync([this] { window_.ShowDownloadPanel(true); });
        Download(target, *fileSize);
        Sync([this] { window_.ShowDownloadPanel(false); });
    } else if (!download_) {
        Sync([this] { StoreUpdateTime(); });
    }
}

void TUpdateThread::Download(const std::string& target, std::int64_t fileSize)
{
    std::error_code ec;
    fs::create_directories(fs::path(target).parent_path(), ec);
    // The installer arrives under a temporary name and takes its own only when complete. A
    // leftover of that name goes first (a link is removed, never followed), and the new file
    // is made exclusively, so the download can only land in a fresh plain file in Updates/.
    const std::string part = target + ".part";
    fs::remove(part, ec);
    TPartFile out(part);
    if (!out.Open()) {
        ReportError("cannot create " + part + ": " + std::strerror(out.Error()));
        return;
    }
    Platform::THttpClient client;
    client.Options.StallSeconds = options_.StallSeconds;
    if (options_.UseProxy)
        client.Options.Proxy =
            Platform::THttpProxy{options_.ProxyServer, options_.ProxyPort, options_.ProxyUser, options_.ProxyPassword};
    client.Options.MaxBytes = static_cast<std::uint64_t>(fileSize);
    bool begun = false;
    std::uint64_t written = 0;
    const Platform::THttpResult result = client.Get(
        DownloadUrl(options_.Server, options_.Name, options_.Company, options_.Version,
                    fs::path(target).filename().string()),
        [&](const char* data, std::size_t size) {
            written += size;
            return out.Write(data, size);
        },
        [&](std::uint64_t received, std::int64_t total) {
            if (terminate_)
                return false;
            // The bar gets its maximum before any position: a position shown first would be
            // measured against the bar's old maximum and show it full, then jump back. The
            // length comes with the headers, before the first byte of the body; a server that
            // announces none is measured against FILESIZE, the most the download may bring.
            if (!begun) {
                if (total < 0 && received == 0)
                    return true;
                begun = true;
                expected_ = total;
                const std::int32_t maximum = ProgressValue(static_cast<std::uint64_t>(total >= 0 ? total : fileSize));
                Post([this, maximum] { window_.ShowMaximum(maximum); });
            }
            position_ = ProgressValue(received);
            if (!positionPosted_.exchange(true))
                Post([this] {
                    positionPosted_ = false;
                    window_.ShowPosition(position_);
                });
            return true;
        });
    const bool received =
        result.Ok() && static_cast<std::int64_t>(written) == fileSize && (expected_ < 0 || expected_ == fileSize);
    // A full disk or a failed write: the old installer (if any) stays, the part goes.
    if (out.Error() != 0 || (received && !out.Close())) {
        const int error = out.Error();
        out.Close();
        fs::remove(part, ec);
        ReportError("cannot write " + target + ": " + std::strerror(error));
        return;
    }
    out.Close();
    if (received) {
        fs::rename(part, target, ec);
        if (ec) {
            fs::remove(part, ec);
            ReportError("cannot store " + target + ": " + ec.message());
            return;
        }
        Platform::SyncFolder(fs::path(target).parent_path());
        Post([this, fileSize] { window_.ShowPosition(ProgressValue(static_cast<std::uint64_t>(fileSize))); });
        Sync([this] { AskStartUpdate(); });
        return;
    }
    fs::remove(part, ec);
    using Platform::THttpError;
    switch (result.Error) {
    case THttpError::None:     // complete, but not the announced size: nothing is offered
    case THttpError::Aborted:  // stopped by the user or the window closing
    case THttpError::Partial:  // the connection was lost
    case THttpError::Connect:
        return;
    default:
        ReportError(result.Message);
    }
}
