#include "platform/HtmlHelp.h"

#include "platform/FileSystem.h"
#include "platform/MspackSystem.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <strings.h>
#include <sys/stat.h>
#include <system_error>

namespace Platform {

namespace {

// libmspack reads and writes through the callbacks below: the help file is held in memory and
// an object is extracted into a string, so no temporary file is needed.
constexpr const char* kInputName = "help-file";
constexpr const char* kOutputName = "help-object";

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
}

THelpFile::~THelpFile() = default;

bool THelpFile::Read(const std::string& name, std::string& bytes) const
{
    bytes.clear();
    if (name.empty() || name.find('\0') != std::string::npos || name.size() > 255)
        return false;
    const std::string path = name[0] == '/' ? name : "/" + name;
    // Names compare without regard to case, as links in topics are written.
    mschmd_file* found = nullptr;
    for (mschmd_file* f = impl_->Header->files; f && !found; f = f->next)
        if (f->filename && ::strcasecmp(f->filename, path.c_str()) == 0)
            found = f;
    if (!found || found->length < 0 || static_cast<std::uint64_t>(found->length) > MaxObjectSize)
        return false;
    const auto length = static_cast<std::size_t>(found->length);
    if (length == 0)
        return true;
    bytes.reserve(length);
    impl_->System.Output = &bytes;
    impl_->System.Room = length;
    const int error = impl_->Decompressor->extract(impl_->Decompressor, found, kOutputName);
    impl_->System.Output = nullptr;
    if (error != MSPACK_ERR_OK || bytes.size() != length) {
        bytes.clear();
        return false;
    }
    return true;
}

std::vector<std::string> THelpFile::Names() const
{
    std::vector<std::string> names;
    for (mschmd_file* f = impl_->Header->files; f && names.size() < 100000; f = f->next)
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
