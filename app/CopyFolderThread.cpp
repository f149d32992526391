#include "app/CopyFolderThread.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::mutex gHookLock;
std::function<void(TCopyFolderThread&, const std::string&)> gBeforeFile;

struct TFd {
    int Fd = -1;
    ~TFd()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};

// Copies one regular file without following a link at either end; the target must be new.
// Empty on success, else the reason.
std::string CopyOneFile(const std::string& from, const std::string& to, const std::atomic<bool>& cancelled)
{
    TFd in{::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC)};
    if (in.Fd < 0)
        return std::strerror(errno);
    struct stat info {};
    if (::fstat(in.Fd, &info) != 0 || !S_ISREG(info.st_mode))
        return "not a file";
    TFd out{::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)};
    if (out.Fd < 0)
        return std::strerror(errno);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        if (cancelled)
            return "cancelled";
        const ssize_t n = ::read(in.Fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::strerror(errno);
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out.Fd, buffer.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return std::strerror(errno);
            done += w;
        }
    }
    // A full disk may only show when the data reaches it.
    if (::fsync(out.Fd) != 0)
        return std::strerror(errno);
    const int fd = out.Fd;
    out.Fd = -1;
    if (::close(fd) != 0)
        return std::strerror(errno);
    return {};
}

// Removes a folder this copy made: its files, then itself.
void RemoveCopy(const fs::path& folder)
{
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace

TCopyFolderThread::TCopyFolderThread(QString destinationBase, QString sourceFolder, QObject* parent)
    : QObject(parent),
      destinationBase_(std::move(destinationBase)),
      sourceFolder_(std::move(sourceFolder))
{
    while (sourceFolder_.size() > 1 && sourceFolder_.endsWith('/'))
        sourceFolder_.chop(1);
    if (!destinationBase_.endsWith('/'))
        destinationBase_ += '/';
    worker_ = std::thread([this] { Execute(); });
}

TCopyFolderThread::~TCopyFolderThread()
{
    Cancel();
}

void TCopyFolderThread::Cancel()
{
    cancelled_ = true;
    if (worker_.joinable())
        worker_.join();
}

QString TCopyFolderThread::Destination() const
{
    return destinationBase_ + sourceFolder_.section('/', -1);
}

void TCopyFolderThread::SetBeforeFileHook(std::function<void(TCopyFolderThread&, const std::string&)> hook)
{
    const std::lock_guard lock(gHookLock);
    gBeforeFile = std::move(hook);
}

// Signals are emitted on the thread that owns the object, so that every receiver (direct
// ones included) hears them there and in order; nothing is reported once the copy is cancelled.
template <typename F> void TCopyFolderThread::Report(F&& emitter)
{
    QMetaObject::invokeMethod(
        this,
        [this, emitter = std::forward<F>(emitter)] {
            if (!cancelled_)
                emitter();
        },
        Qt::QueuedConnection);
}

void TCopyFolderThread::Execute()
{
    const fs::path source(QFile::encodeName(sourceFolder_).toStdString());
    const fs::path destination(QFile::encodeName(Destination()).toStdString());
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->symlink_status(typeEc).type() == fs::file_type::regular)
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    const int count = static_cast<int>(names.size());
    Report([this, count] { emit ShowFileCount(count); });

    QStringList failed;
    QString error;
    // The copy grows under a name of its own; only a complete copy takes the real name.
    std::string pattern =
        (destination.parent_path() / ("." + destination.filename().string() + ".copy-XXXXXX")).string();
    if (ec) {
        error = QString::fromLocal8Bit(ec.message().c_str());
    } else if (::mkdtemp(pattern.data()) == nullptr) {
        error = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        const fs::path temporary(pattern);
        int filesCopied = 0;
        for (const std::string& name : names) {
            {
                std::function<void(TCopyFolderThread&, const std::string&)> hook;
                {
                    const std::lock_guard lock(gHookLock);
                    hook = gBeforeFile;
                }
                if (hook)
                    hook(*this, name);
            }
            if (cancelled_)
                break;
            const std::string why = CopyOneFile((source / name).string(), (temporary / name).string(), cancelled_);
            if (cancelled_)
                break;
            if (!why.empty()) {
                // The copy is thrown away whole: the rest (on a full disk, every file) need not
                // be tried, and the report names the one that failed.
                failed << QFile::decodeName(QByteArray::fromStdString(name)) + " ("
                        + QString::fromLocal8Bit(why.c_str()) + ")";
                break;
            }
            Report([this, filesCopied] { emit ShowProgress(filesCopied); });
            ++filesCopied;
        }
        if (cancelled_ || !failed.isEmpty()) {
            RemoveCopy(temporary);
        } else {
            // A folder of the same name (a stale copy) is moved aside first, so the rename
            // cannot merge with it, and removed once the new copy is in place.
            std::error_code existsEc;
            fs::path aside;
            if (fs::exists(fs::symlink_status(destination, existsEc))) {
                aside = temporary;
                aside += ".old";
                std::error_code moveEc;
                fs::rename(destination, aside, moveEc);
                if (moveEc)
                    error = QString::fromLocal8Bit(moveEc.message().c_str());
            }
            if (error.isEmpty()) {
                std::error_code renameEc;
                fs::rename(temporary, destination, renameEc);
                if (renameEc) {
                    error = QString::fromLocal8Bit(renameEc.message().c_str());
                    if (!aside.empty()) {
                        std::error_code backEc;
                        fs::rename(aside, destination, backEc);
                    }
                } else if (!aside.empty()) {
                    RemoveCopy(aside);
                }
            }
            if (!error.isEmpty())
                RemoveCopy(temporary);
        }
    }
    running_ = false;
    Report([this, failed, error] { emit ReportDone(failed, error); });
}
