#include "platform/Cabinet.h"

#include "platform/Locale.h"
#include "platform/MspackSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

namespace Platform {

namespace {

// An owned file descriptor.
class TFd {
public:
    explicit TFd(int fd = -1)
        : fd_(fd)
    {
    }
    ~TFd() { Reset(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int Release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// The name under which libmspack asks for the output file; the open callback answers it with
// the file prepared by the copy, so libmspack never opens a path of its own for writing.
constexpr const char* kOutputName = "\x01output";

TCabinetResult Failure(TCabinetError error, std::string message, int systemError = 0)
{
    return TCabinetResult{error, std::move(message), systemError};
}

std::string SystemText(int error)
{
    return std::strerror(error);
}

// A folder or file that cannot be created or written, with the system's error code.
TCabinetResult WriteFailure(const std::string& what, int error)
{
    return Failure(TCabinetError::Write, what + ": " + SystemText(error), error);
}

// The file being written by the current extract call.
struct TOutput {
    int Fd = -1;
    const TCabinetEntry* Entry = nullptr;
    const TCabinetNotify* Notify = nullptr;
    uint64_t Written = 0;
    uint64_t Room = 0;  // bytes the size limit still allows
    TCabinetResult Failure;
};

struct TSystem {
    mspack_system Sys;  // first: libmspack hands this address back to the callbacks
    TOutput* Output = nullptr;
};

struct TFile {
    int Fd = -1;
    TOutput* Output = nullptr;  // set for the output file, whose descriptor the copy owns
};

mspack_file* SysOpen(mspack_system* self, const char* name, int mode)
{
    TSystem* system = reinterpret_cast<TSystem*>(self);
    if (mode == MSPACK_SYS_OPEN_WRITE) {
        if (std::strcmp(name, kOutputName) != 0 || system->Output == nullptr)
            return nullptr;
        return reinterpret_cast<mspack_file*>(new (std::nothrow) TFile{system->Output->Fd, system->Output});
    }
    if (mode != MSPACK_SYS_OPEN_READ)
        return nullptr;
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    TFile* file = new (std::nothrow) TFile{fd, nullptr};
    if (file == nullptr)
        ::close(fd);
    return reinterpret_cast<mspack_file*>(file);
}

void SysClose(mspack_file* handle)
{
    TFile* file = reinterpret_cast<TFile*>(handle);
    if (file == nullptr)
        return;
    if (file->Output == nullptr)
        ::close(file->Fd);
    delete file;
}

int SysRead(mspack_file* handle, void* buffer, int bytes)
{
    TFile* file = reinterpret_cast<TFile*>(handle);
    if (bytes < 0)
        return -1;
    int total = 0;
    while (total < bytes) {
        const ssize_t n = ::read(file->Fd, static_cast<char*>(buffer) + total, static_cast<size_t>(bytes - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        total += static_cast<int>(n);
    }
    return total;
}

int SysWrite(mspack_file* handle, void* buffer, int bytes)
{
    TFile* file = reinterpret_cast<TFile*>(handle);
    TOutput* out = file->Output;
    if (out == nullptr || bytes < 0)
        return -1;
    const uint64_t count = static_cast<uint64_t>(bytes);
    if (count > out->Room) {
        out->Failure = Failure(TCabinetError::SizeLimit,
                               "Extraction stopped at the size limit while writing \"" + out->Entry->Path + "\"");
        return -1;
    }
    const char* data = static_cast<const char*>(buffer);
    int done = 0;
    while (done < bytes) {
        const ssize_t n = ::write(out->Fd, data + done, static_cast<size_t>(bytes - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            out->Failure = WriteFailure("Cannot write \"" + out->Entry->Path + "\"", error);
            return -1;
        }
        done += static_cast<int>(n);
    }
    out->Room -= count;
    out->Written += count;
    if (out->Notify->Progress) {
        try {
            out->Notify->Progress(*out->Entry, out->Written);
        } catch (...) {
            out->Failure = Failure(TCabinetError::Aborted, "Extraction aborted at \"" + out->Entry->Path + "\"");
            return -1;
        }
    }
    return bytes;
}

int SysSeek(mspack_file* handle, off_t offset, int mode)
{
    const int whence = mode == MSPACK_SYS_SEEK_START ? SEEK_SET : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR : SEEK_END;
    return ::lseek(reinterpret_cast<TFile*>(handle)->Fd, offset, whence) < 0 ? -1 : 0;
}

off_t SysTell(mspack_file* handle)
{
    return ::lseek(reinterpret_cast<TFile*>(handle)->Fd, 0, SEEK_CUR);
}

// The text of a libmspack failure for the cabinet or one of its entries.
TCabinetResult MspackFailure(int code, const std::string& what)
{
    switch (code) {
    case MSPACK_ERR_OPEN:
        return Failure(TCabinetError::Open, "Cannot open " + what);
    case MSPACK_ERR_SIGNATURE:
        return Failure(TCabinetError::NotCabinet, what + " is not a cabinet");
    case MSPACK_ERR_CHECKSUM:
        return Failure(TCabinetError::Damaged, "Checksum error in " + what);
    case MSPACK_ERR_READ:
    case MSPACK_ERR_SEEK:
        return Failure(TCabinetError::Damaged, "Cannot read " + what + ": the cabinet is cut short or unreadable");
    case MSPACK_ERR_NOMEMORY:
        return Failure(TCabinetError::NoMemory, "Out of memory while reading " + what);
    case MSPACK_ERR_WRITE:
        return Failure(TCabinetError::Write, "Cannot write " + what);
    default:
        return Failure(TCabinetError::Damaged, "The cabinet is damaged at " + what);
    }
}

// Cabinet names are UTF-8 when flagged so, else 8-bit text in the system code page.
std::string EntryName(const mscabd_file& file)
{
    std::string name = file.filename != nullptr ? file.filename : "";
    if ((file.attribs & MSCAB_ATTRIB_UTF_NAME) != 0)
        return name;
    bool ascii = true;
    for (unsigned char c : name)
        ascii = ascii && c < 0x80;
    if (ascii)
        return name;
    try {
        return WideToUtf8(AnsiToWide(name));
    } catch (const std::exception&) {
        return name;
    }
}

void SetFileTime(int fd, const TCabinetEntry& entry)
{
    if (entry.Month < 1 || entry.Month > 12 || entry.Day < 1 || entry.Day > 31)
        return;
    std::tm tm{};
    tm.tm_year = entry.Year - 1900;
    tm.tm_mon = entry.Month - 1;
    tm.tm_mday = entry.Day;
    tm.tm_hour = entry.Hour;
    tm.tm_min = entry.Minute;
    tm.tm_sec = entry.Second;
    tm.tm_isdst = -1;  // the cabinet holds local time
    const std::time_t time = std::mktime(&tm);
    if (time == static_cast<std::time_t>(-1))
        return;
    const timespec times[2] = {{0, UTIME_OMIT}, {time, 0}};
    ::futimens(fd, times);
}

// Creates a new file with a temporary name in the folder; the name is returned in Name.
int CreateTemporary(int folder, std::string& name)
{
    static thread_local std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ".cab-" + std::to_string(random() % 100000000u) + ".part";
        const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::optional<std::string> CabinetTargetPath(std::string_view name)
{
    std::string text(name);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    const bool driveLetter = text.size() >= 2 && text[1] == ':'
        && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
    if (driveLetter)
        text.erase(0, 2);
    std::string path;
    for (const std::string& part : SplitPath(text)) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
            return std::nullopt;
        if (!path.empty())
            path += '/';
        path += part;
    }
    if (path.empty())
        return std::nullopt;
    return path;
}

struct TCabinetDecompressor::TImpl {
    TSystem System;
    mscab_decompressor* Decompressor = nullptr;

    ~TImpl()
    {
        if (Decompressor != nullptr)
            mspack_destroy_cab_decompressor(Decompressor);
    }

    TCabinetResult Extract(mscabd_file& file, const struct stat& cabinet, int root, const std::string& rootName,
                           const TCabinetNotify& notify, uint64_t& room);
};

std::unique_ptr<TCabinetDecompressor> TCabinetDecompressor::Create()
{
    int selftest = MSPACK_ERR_OK;
    MSPACK_SYS_SELFTEST(selftest);
    if (selftest != MSPACK_ERR_OK)
        return nullptr;
    auto impl = std::make_unique<TImpl>();
    impl->System.Sys = Mspack::MakeSystem(SysOpen, SysClose, SysRead, SysWrite, SysSeek, SysTell);
    impl->Decompressor = mspack_create_cab_decompressor(&impl->System.Sys);
    if (impl->Decompressor == nullptr)
        return nullptr;
    return std::unique_ptr<TCabinetDecompressor>(new TCabinetDecompressor(std::move(impl)));
}

TCabinetDecompressor::TCabinetDecompressor(std::unique_ptr<TImpl> impl)
    : impl_(std::move(impl))
{
}

TCabinetDecompressor::~TCabinetDecompressor() = default;

bool TCabinetDecompressor::IsCabinet(const std::string& path)
{
    mscab_decompressor* d = impl_->Decompressor;
    mscabd_cabinet* cabinet = d->open(d, path.c_str());
    if (cabinet == nullptr)
        return false;
    d->close(d, cabinet);
    return true;
}

TCabinetResult TCabinetDecompressor::Copy(const std::string& cabinet, const std::string& targetFolder,
                                          const TCabinetNotify& notify)
{
    const TFd source(::open(cabinet.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat cabinetStat {};
    if (source.Get() < 0 || ::fstat(source.Get(), &cabinetStat) != 0)
        return Failure(TCabinetError::Open, "Cannot open the cabinet \"" + cabinet + "\": " + SystemText(errno));
    const std::string folder = targetFolder.empty() ? "." : targetFolder;
    const TFd root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root.Get() < 0)
        return Failure(TCabinetError::Open, "Cannot open the folder \"" + folder + "\": " + SystemText(errno));

    mscab_decompressor* d = impl_->Decompressor;
    mscabd_cabinet* opened = d->open(d, cabinet.c_str());
    if (opened == nullptr)
        return MspackFailure(d->last_error(d), "\"" + cabinet + "\"");
    struct TClose {
        mscab_decompressor* D;
        mscabd_cabinet* C;
        ~TClose() { D->close(D, C); }
    } closeCabinet{d, opened};

    uint64_t room = notify.SizeLimit;
    for (mscabd_file* file = opened->files; file != nullptr; file = file->next) {
        TCabinetResult result = impl_->Extract(*file, cabinetStat, root.Get(), folder, notify, room);
        if (!result.Ok())
            return result;
    }
    return {};
}

TCabinetResult TCabinetDecompressor::TImpl::Extract(mscabd_file& file, const struct stat& cabinet, int root,
                                                    const std::string& rootName, const TCabinetNotify& notify,
                                                    uint64_t& room)
{
    TCabinetEntry entry;
    entry.Name = EntryName(file);
    entry.Size = file.length;
    entry.Year = file.date_y;
    entry.Month = file.date_m;
    entry.Day = file.date_d;
    entry.Hour = file.time_h;
    entry.Minute = file.time_m;
    entry.Second = file.time_s;
    entry.Attributes = file.attribs;
    const std::optional<std::string> path = CabinetTargetPath(entry.Name);
    if (!path)
        return Failure(TCabinetError::UnsafeName,
                       "Refused the entry \"" + entry.Name
                           + "\": it names no file inside "
                             "the target folder");
    entry.Path = *path;
    if (entry.Size > room)
        return Failure(TCabinetError::SizeLimit, "Extraction stopped at the size limit before \"" + entry.Path + "\"");

    // Walk down to the entry's folder without following symbolic links.
    std::vector<std::string> parts = SplitPath(entry.Path);
    const std::string leaf = parts.back();
    parts.pop_back();
    TFd folder(::dup(root));
    std::string walked;
    for (const std::string& part : parts) {
        walked += part + "/";
        if (::mkdirat(folder.Get(), part.c_str(), 0777) != 0 && errno != EEXIST)
            return WriteFailure("Cannot create the folder \"" + walked + "\"", errno);
        const int next = ::openat(folder.Get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0 && (errno == ELOOP || errno == ENOTDIR))
            return Failure(TCabinetError::UnsafeTarget,
                           "Refused the entry \"" + entry.Path + "\": \"" + walked + "\" is not a folder");
        if (next < 0)
            return WriteFailure("Cannot open the folder \"" + walked + "\"", errno);
        folder.Reset(next);
    }

    struct stat existing {};
    if (::fstatat(folder.Get(), leaf.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (existing.st_dev == cabinet.st_dev && existing.st_ino == cabinet.st_ino)
            return Failure(TCabinetError::UnsafeTarget,
                           "Refused the entry \"" + entry.Path + "\": it would replace the cabinet being read");
        if (S_ISDIR(existing.st_mode))
            return Failure(TCabinetError::UnsafeTarget,
                           "Refused the entry \"" + entry.Path + "\": a folder of that name exists");
        if (notify.OverwriteFile) {
            bool allow = true;
            try {
                allow = notify.OverwriteFile(entry, rootName + "/" + entry.Path);
            } catch (...) {
                return Failure(TCabinetError::Aborted, "Extraction aborted at \"" + entry.Path + "\"");
            }
            if (!allow)
                return {};
        }
    } else if (errno != ENOENT) {
        return WriteFailure("Cannot look at \"" + entry.Path + "\"", errno);
    }

    std::string temporary;
    TFd out(CreateTemporary(folder.Get(), temporary));
    if (out.Get() < 0)
        return WriteFailure("Cannot create \"" + entry.Path + "\"", errno);
    TOutput output{out.Get(), &entry, &notify, 0, room, {}};
    System.Output = &output;
    const int code = Decompressor->extract(Decompressor, &file, kOutputName);
    System.Output = nullptr;

    TCabinetResult result;
    if (!output.Failure.Ok())
        result = output.Failure;
    else if (code != MSPACK_ERR_OK)
        result = MspackFailure(code, "\"" + entry.Name + "\"");
    else if (output.Written != entry.Size)
        result = Failure(TCabinetError::Damaged, "The cabinet is damaged at \"" + entry.Name + "\"");
    if (result.Ok()) {
        SetFileTime(out.Get(), entry);
        if (::close(out.Release()) != 0)
            result = WriteFailure("Cannot write \"" + entry.Path + "\"", errno);
    }
    if (result.Ok() && ::renameat(folder.Get(), temporary.c_str(), folder.Get(), leaf.c_str()) != 0)
        result = WriteFailure("Cannot create \"" + entry.Path + "\"", errno);
    if (!result.Ok()) {
        ::unlinkat(folder.Get(), temporary.c_str(), 0);
        return result;
    }
    room -= entry.Size;
    return {};
}

}  // namespace Platform
