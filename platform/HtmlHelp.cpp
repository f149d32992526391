#include "platform/HtmlHelp.h"

#include <chm_lib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace Platform {

namespace {

constexpr const char* kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";

std::uint64_t Le(const unsigned char* p, int n)
{
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Reads a small object of the uncompressed section into Buf; false when it is missing.
bool ReadSmall(chmFile* file, const char* path, unsigned char* buf, std::size_t size, std::size_t& got)
{
    chmUnitInfo ui{};
    if (chm_resolve_object(file, path, &ui) != CHM_RESOLVE_SUCCESS)
        return false;
    if (ui.space != CHM_UNCOMPRESSED || ui.length < size)
        return false;
    const LONGINT64 n = chm_retrieve_object(file, &ui, buf, 0, static_cast<LONGINT64>(size));
    got = n < 0 ? 0 : static_cast<std::size_t>(n);
    return got == size;
}

// The reader allocates what the compression tables of the file claim (block length, window
// size). A damaged file may claim gigabytes: such files are refused before anything is
// decompressed. Files without a compressed section have nothing to check.
bool CompressionTablesSane(chmFile* file)
{
    unsigned char reset[40];
    std::size_t got = 0;
    chmUnitInfo ui{};
    const bool hasCompressed = chm_resolve_object(file, kResetTable, &ui) == CHM_RESOLVE_SUCCESS;
    if (!hasCompressed)
        return true;
    if (!ReadSmall(file, kResetTable, reset, sizeof reset, got))
        return false;
    const std::uint64_t blockCount = Le(reset + 4, 4);
    const std::uint64_t uncompressedLength = Le(reset + 16, 8);
    const std::uint64_t blockLength = Le(reset + 32, 8);
    if (blockLength == 0 || blockLength > (1u << 20) || blockCount > (1u << 24)
        || uncompressedLength > (std::uint64_t{1} << 32))
        return false;
    unsigned char control[24];
    if (!ReadSmall(file, kControlData, control, sizeof control, got))
        return false;
    // "LZXC" control data: reset interval and window size in 32 KB units (power of two up to 2 MB).
    const std::uint64_t window = Le(control + 16, 4);
    const std::uint64_t windowBytes = Le(control + 8, 4) == 2 ? window * 0x8000 : window;
    return windowBytes >= 0x8000 && windowBytes <= (1u << 21);
}

// The reader also allocates the directory block size the file's headers claim while it opens
// the file: the headers are checked first, against the file's size.
bool HeadersSane(const std::string& fileName, std::uint64_t fileSize)
{
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f)
        return false;
    unsigned char itsf[0x58] = {};
    unsigned char itsp[0x54] = {};
    bool ok = std::fread(itsf, 1, sizeof itsf, f) == sizeof itsf && std::memcmp(itsf, "ITSF", 4) == 0;
    std::uint64_t dirOffset = 0, dirLength = 0;
    if (ok) {
        dirOffset = Le(itsf + 0x48, 8);
        dirLength = Le(itsf + 0x50, 8);
        ok = dirOffset < fileSize && dirLength <= fileSize - dirOffset && dirLength >= sizeof itsp
            && std::fseek(f, static_cast<long>(dirOffset), SEEK_SET) == 0
            && std::fread(itsp, 1, sizeof itsp, f) == sizeof itsp && std::memcmp(itsp, "ITSP", 4) == 0;
    }
    const std::uint64_t headerLength = ok ? Le(itsp + 8, 4) : 0;
    const std::uint64_t blockLength = ok ? Le(itsp + 16, 4) : 0;
    const std::uint64_t blockCount = ok ? Le(itsp + 44, 4) : 0;
    const auto indexRoot = static_cast<std::int32_t>(Le(itsp + 28, 4));
    auto block = static_cast<std::int32_t>(Le(itsp + 32, 4));
    ok = ok && blockLength >= 64 && blockLength <= (1u << 16) && headerLength >= sizeof itsp
        && headerLength <= dirLength && blockCount >= 1 && blockCount <= (dirLength - headerLength) / blockLength;
    // Only a flat listing is read (no index tree: help files of this program are small), and
    // its blocks must follow one another forward, so no walk through them can go round in a
    // circle or leave the listing.
    ok = ok && indexRoot == -1 && block >= 0;
    for (std::uint64_t steps = 0; ok && block != -1; ++steps) {
        unsigned char pmgl[20] = {};
        const std::uint64_t at = dirOffset + headerLength + static_cast<std::uint64_t>(block) * blockLength;
        ok = static_cast<std::uint64_t>(block) < blockCount && steps < blockCount
            && std::fseek(f, static_cast<long>(at), SEEK_SET) == 0 && std::fread(pmgl, 1, sizeof pmgl, f) == sizeof pmgl
            && std::memcmp(pmgl, "PMGL", 4) == 0 && Le(pmgl + 4, 4) <= blockLength - sizeof pmgl;
        if (ok) {
            const auto next = static_cast<std::int32_t>(Le(pmgl + 16, 4));
            ok = next == -1 || next > block;
            block = next;
        }
    }
    std::fclose(f);
    return ok;
}

}  // namespace

THelpFile::THelpFile(const std::string& fileName)
    : fileName_(fileName)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EHelpFileError("help file not found: " + fileName);
    if (!HeadersSane(fileName, static_cast<std::uint64_t>(st.st_size)))
        throw EHelpFileError("damaged help file: " + fileName);
    file_ = chm_open(fileName.c_str());
    if (!file_)
        throw EHelpFileError("not a help file: " + fileName);
    if (!CompressionTablesSane(file_)) {
        chm_close(file_);
        throw EHelpFileError("damaged help file: " + fileName);
    }
}

THelpFile::~THelpFile()
{
    chm_close(file_);
}

bool THelpFile::Read(const std::string& name, std::string& bytes) const
{
    bytes.clear();
    if (name.empty() || name.find('\0') != std::string::npos || name.size() > 255)
        return false;
    const std::string path = name[0] == '/' ? name : "/" + name;
    chmUnitInfo ui{};
    if (chm_resolve_object(file_, path.c_str(), &ui) != CHM_RESOLVE_SUCCESS)
        return false;
    if (ui.length > MaxObjectSize)
        return false;
    bytes.resize(static_cast<std::size_t>(ui.length));
    if (ui.length == 0)
        return true;
    const LONGINT64 got = chm_retrieve_object(file_, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
    if (got != static_cast<LONGINT64>(ui.length)) {
        bytes.clear();
        return false;
    }
    return true;
}

namespace {

int Collect(chmFile*, chmUnitInfo* ui, void* context)
{
    auto names = static_cast<std::vector<std::string>*>(context);
    const std::size_t n = strnlen(ui->path, sizeof ui->path);
    if (n > 0)
        names->emplace_back(ui->path, n);
    return names->size() < 100000 ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_SUCCESS;
}

}  // namespace

std::vector<std::string> THelpFile::Names() const
{
    std::vector<std::string> names;
    chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, Collect, &names);
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
