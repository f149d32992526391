#include "platform/HtmlHelp.h"

#include "platform/FileSystem.h"
#include "platform/MspackSystem.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <strings.h>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace Platform {

namespace {

// libmspack reads and writes through the callbacks below: the help file is held in memory and
// an object is extracted into a string, so no temporary file is needed.
constexpr const char* kInputName = "help-file";
constexpr const char* kOutputName = "help-object";
// Bounds of what a file may claim to hold, so a damaged directory cannot make the check of
// its objects run for long: help files are far smaller.
constexpr std::size_t kMaxObjects = 100000;
constexpr std::uint64_t kMaxContent = 256u << 20;

struct TMemorySystem {
    mspack_system Sys;  // first: libmspack hands this address back to the callbacks
    const std::string* Input = nullptr;
    std::string* Output = nullptr;
    std::size_t Room = 0;  // bytes the object being extracted may still take
};

struct TMemoryFile {
    TMemorySystem* System = nullptr;
    bool Writing = false;
    std::size_t Position = 0;
};

mspack_file* SysOpen(mspack_system* self, const char* name, int mode)
{
    auto system = reinterpret_cast<TMemorySystem*>(self);
    bool writing = false;
    if (mode == MSPACK_SYS_OPEN_READ && std::strcmp(name, kInputName) == 0)
        writing = false;
    else if (mode == MSPACK_SYS_OPEN_WRITE && std::strcmp(name, kOutputName) == 0 && system->Output)
        writing = true;
    else
        return nullptr;
    return reinterpret_cast<mspack_file*>(new (std::nothrow) TMemoryFile{system, writing, 0});
}

void SysClose(mspack_file* handle)
{
    delete reinterpret_cast<TMemoryFile*>(handle);
}

int SysRead(mspack_file* handle, void* buffer, int bytes)
{
    auto file = reinterpret_cast<TMemoryFile*>(handle);
    const std::string& input = *file->System->Input;
    if (file->Writing || bytes < 0)
        return -1;
    const std::size_t n = std::min(static_cast<std::size_t>(bytes), input.size() - file->Position);
    std::memcpy(buffer, input.data() + file->Position, n);
    file->Position += n;
    return static_cast<int>(n);
}

int SysWrite(mspack_file* handle, void* buffer, int bytes)
{
    auto file = reinterpret_cast<TMemoryFile*>(handle);
    TMemorySystem* system = file->System;
    if (!file->Writing || bytes < 0 || static_cast<std::size_t>(bytes) > system->Room)
        return -1;
    system->Output->append(static_cast<const char*>(buffer), static_cast<std::size_t>(bytes));
    system->Room -= static_cast<std::size_t>(bytes);
    return bytes;
}

int SysSeek(mspack_file* handle, off_t offset, int mode)
{
    auto file = reinterpret_cast<TMemoryFile*>(handle);
    if (file->Writing)
        return -1;
    const auto size = static_cast<off_t>(file->System->Input->size());
    const off_t base = mode == MSPACK_SYS_SEEK_START ? 0
        : mode == MSPACK_SYS_SEEK_CUR                ? static_cast<off_t>(file->Position)
                                                     : size;
    // Damaged offsets may be near the type's limits: compare before adding.
    if (offset < -base || offset > size - base)
        return -1;
    file->Position = static_cast<std::size_t>(base + offset);
    return 0;
}

off_t SysTell(mspack_file* handle)
{
    return static_cast<off_t>(reinterpret_cast<TMemoryFile*>(handle)->Position);
}

// The header carries two fixed GUIDs that differ only in their first byte. chmcmd writes the
// first one twice; libmspack insists on the pair, so such files are read as if they had it.
void MendSecondGuid(std::string& bytes)
{
    constexpr std::size_t kFirst = 0x18, kSecond = 0x28, kLength = 16;
    static const unsigned char kGuid[kLength] = {0x10, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                                 0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
    if (bytes.size() < kSecond + kLength || std::memcmp(bytes.data() + kFirst, kGuid, kLength) != 0
        || std::memcmp(bytes.data() + kSecond, kGuid, kLength) != 0)
        return;
    bytes[kSecond] = 0x11;
}

std::uint32_t Get32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::uint64_t Get64(const std::string& bytes, std::size_t at)
{
    return Get32(bytes, at) | static_cast<std::uint64_t>(Get32(bytes, at + 4)) << 32;
}

// The header fields whose values the format fixes (versions, header lengths, the place of the
// header sections and of the directory, the directory's chunk layout) hold them, and the file
// is as long as its header says. libmspack reads only the fields it needs, so a changed header
// could otherwise go unnoticed.
bool HeadersIntact(const std::string& bytes)
{
    constexpr std::size_t kSection0Length = 0x18, kDirectoryHeaderLength = 0x54;
    static const unsigned char kDirectoryGuid[16] = {0x6A, 0x92, 0x02, 0x5D, 0x2E, 0x21, 0xD0, 0x11,
                                                     0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
    if (bytes.size() < 0x60 || bytes.compare(0, 4, "ITSF") != 0)
        return false;
    const std::uint32_t version = Get32(bytes, 4);
    const std::size_t headerLength = version == 3 ? 0x60 : version == 2 ? 0x58 : 0;
    if (headerLength == 0 || Get32(bytes, 8) != headerLength || Get32(bytes, 0x0C) != 1)
        return false;
    const std::uint64_t section0 = Get64(bytes, 0x38), directory = Get64(bytes, 0x48);
    const std::uint64_t directoryLength = Get64(bytes, 0x50);
    if (section0 != headerLength || Get64(bytes, 0x40) != kSection0Length || directory != section0 + kSection0Length
        || directory > bytes.size() || directoryLength < kDirectoryHeaderLength
        || directoryLength > bytes.size() - directory)
        return false;
    if (version == 3 && Get64(bytes, 0x58) != directory + directoryLength)
        return false;
    if (Get32(bytes, section0) != 0x1FE || Get32(bytes, section0 + 4) != 0 || Get64(bytes, section0 + 8) != bytes.size()
        || Get32(bytes, section0 + 0x10) != 0 || Get32(bytes, section0 + 0x14) != 0)
        return false;
    const std::uint64_t chunkSize = Get32(bytes, directory + 0x10), depth = Get32(bytes, directory + 0x18);
    return bytes.compare(directory, 4, "ITSP") == 0 && Get32(bytes, directory + 4) == 1
        && Get32(bytes, directory + 8) == kDirectoryHeaderLength
        && Get32(bytes, directory + 0x44) == kDirectoryHeaderLength
        && std::memcmp(bytes.data() + directory + 0x34, kDirectoryGuid, sizeof kDirectoryGuid) == 0
        && (depth == 1 || depth == 2) && chunkSize >= 0x100 && chunkSize <= 0x100000
        && directoryLength == kDirectoryHeaderLength + chunkSize * Get32(bytes, directory + 0x2C);
}

std::string LoadHelpFile(const std::string& fileName)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EHelpFileError("help file not found: " + fileName);
    if (static_cast<std::uint64_t>(st.st_size) > THelpFile::MaxFileSize)
        throw EHelpFileError("help file too large: " + fileName);
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const std::system_error&) {
        throw EHelpFileError("cannot read help file: " + fileName);
    }
    if (bytes.size() > THelpFile::MaxFileSize)  // grew since it was measured
        throw EHelpFileError("help file too large: " + fileName);
    return bytes;
}

}  // namespace

struct THelpFile::TImpl {
    std::string Bytes;
    TMemorySystem System{};
    mschm_decompressor* Decompressor = nullptr;
    mschmd_header* Header = nullptr;

    // Extracts one stored object into Bytes; false when it is damaged or too large.
    bool Extract(mschmd_file* file, std::string& bytes);
    // Every stored object comes out whole, so damage anywhere in the file is found when it is
    // opened and not by the topic that happens to lie there.
    bool AllObjectsWhole();

    ~TImpl()
    {
        if (Header)
            Decompressor->close(Decompressor, Header);
        if (Decompressor)
            mspack_destroy_chm_decompressor(Decompressor);
    }
};

THelpFile::THelpFile(const std::string& fileName)
    : fileName_(fileName),
      impl_(std::make_unique<TImpl>())
{
    impl_->Bytes = LoadHelpFile(fileName);
    MendSecondGuid(impl_->Bytes);
    if (impl_->Bytes.compare(0, 4, "ITSF") != 0)
        throw EHelpFileError("not a help file: " + fileName);
    // A header field off its fixed value, or a length other than the file's own (cut short,
    // or grown): damaged, and not handed to libmspack.
    if (!HeadersIntact(impl_->Bytes))
        throw EHelpFileError("damaged help file: " + fileName);
    impl_->System.Sys = Mspack::MakeSystem(SysOpen, SysClose, SysRead, SysWrite, SysSeek, SysTell);
    impl_->System.Input = &impl_->Bytes;
    impl_->Decompressor = mspack_create_chm_decompressor(&impl_->System.Sys);
    if (!impl_->Decompressor)
        throw EHelpFileError("cannot read help files");
    impl_->Header = impl_->Decompressor->open(impl_->Decompressor, kInputName);
    if (!impl_->Header) {
        const int error = impl_->Decompressor->last_error(impl_->Decompressor);
        throw EHelpFileError((error == MSPACK_ERR_SIGNATURE ? "not a help file: " : "damaged help file: ") + fileName);
    }
    if (!impl_->AllObjectsWhole())
        throw EHelpFileError("damaged help file: " + fileName);
}

THelpFile::~THelpFile() = default;

bool THelpFile::TImpl::Extract(mschmd_file* file, std::string& bytes)
{
    bytes.clear();
    if (file->length < 0 || static_cast<std::uint64_t>(file->length) > MaxObjectSize)
        return false;
    const auto length = static_cast<std::size_t>(file->length);
    if (length == 0)
        return true;
    bytes.reserve(length);
    System.Output = &bytes;
    System.Room = length;
    const int error = Decompressor->extract(Decompressor, file, kOutputName);
    System.Output = nullptr;
    if (error != MSPACK_ERR_OK || bytes.size() != length) {
        bytes.clear();
        return false;
    }
    return true;
}

bool THelpFile::TImpl::AllObjectsWhole()
{
    // In the order of their data, so the compressed stream is read once from its start; an
    // object inside a range already read is not read again.
    std::vector<mschmd_file*> files;
    for (mschmd_file* f = Header->files; f; f = f->next) {
        if (files.size() >= kMaxObjects)
            return false;
        files.push_back(f);
    }
    std::stable_sort(files.begin(), files.end(), [](const mschmd_file* a, const mschmd_file* b) {
        return a->section->id != b->section->id ? a->section->id < b->section->id : a->offset < b->offset;
    });
    std::string bytes;
    std::uint64_t total = 0;
    off_t covered = 0;
    unsigned section = 0;
    for (mschmd_file* f : files) {
        if (f->section->id != section) {
            section = f->section->id;
            covered = 0;
        }
        if (f->offset < 0 || f->length < 0 || static_cast<std::uint64_t>(f->length) > MaxObjectSize
            || f->offset > std::numeric_limits<off_t>::max() - f->length)
            return false;
        if (f->offset + f->length <= covered)
            continue;
        total += static_cast<std::uint64_t>(f->length);
        if (total > kMaxContent || !Extract(f, bytes))
            return false;
        covered = f->offset + f->length;
    }
    return true;
}

bool THelpFile::Read(const std::string& name, std::string& bytes) const
{
    bytes.clear();
    if (name.empty() || name.find('\0') != std::string::npos || name.size() > 255)
        return false;
    const std::string path = name[0] == '/' ? name : "/" + name;
    // Names compare without regard to case, as links in topics are written.
    for (mschmd_file* f = impl_->Header->files; f; f = f->next)
        if (f->filename && ::strcasecmp(f->filename, path.c_str()) == 0)
            return impl_->Extract(f, bytes);
    return false;
}

std::vector<std::string> THelpFile::Names() const
{
    std::vector<std::string> names;
    for (mschmd_file* f = impl_->Header->files; f && names.size() < kMaxObjects; f = f->next)
        if (f->filename && f->filename[0] == '/' && f->filename[1] != '#' && f->filename[1] != '$')
            names.emplace_back(f->filename);
    return names;
}

void SplitHelpUrl(const std::string& url, std::string& file, std::string& topic)
{
    const std::size_t at = url.find("::");
    if (at == std::string::npos) {
        file = url;
        topic.clear();
        return;
    }
    file = url.substr(0, at);
    topic = url.substr(at + 2);
    while (!topic.empty() && topic[0] == '/')
        topic.erase(0, 1);
}

}  // namespace Platform
