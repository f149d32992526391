#include "platform/HtmlHelp.h"

#include <mspack.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

THelpFile::THelpFile(const std::string& fileName)
    : fileName_(fileName)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EHelpFileError("help file not found: " + fileName);
    decompressor_ = mspack_create_chm_decompressor(nullptr);
    if (!decompressor_)
        throw EHelpFileError("cannot read help files");
    header_ = decompressor_->open(decompressor_, fileName.c_str());
    if (!header_) {
        mspack_destroy_chm_decompressor(decompressor_);
        throw EHelpFileError("not a help file: " + fileName);
    }
}

THelpFile::~THelpFile()
{
    decompressor_->close(decompressor_, header_);
    mspack_destroy_chm_decompressor(decompressor_);
}

bool THelpFile::Read(const std::string& name, std::string& bytes) const
{
    bytes.clear();
    if (name.empty())
        return false;
    const std::string path = name[0] == '/' ? name : "/" + name;
    const mschmd_file* found = nullptr;
    for (const mschmd_file* f = header_->files; f && !found; f = f->next)
        if (f->filename && path == f->filename)
            found = f;
    if (!found || found->length < 0 || static_cast<std::uint64_t>(found->length) > MaxObjectSize)
        return false;
    if (found->length == 0)
        return true;
    // The decompressor writes to a file: a private temporary file, read back and removed.
    char temp[] = "/tmp/lexora-help-XXXXXX";
    const int fd = ::mkstemp(temp);
    if (fd < 0)
        return false;
    ::close(fd);
    bool ok = decompressor_->extract(decompressor_, const_cast<mschmd_file*>(found), temp) == MSPACK_ERR_OK;
    if (ok) {
        std::FILE* in = std::fopen(temp, "rb");
        ok = in != nullptr;
        if (ok) {
            bytes.resize(static_cast<std::size_t>(found->length));
            ok = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
            std::fclose(in);
        }
    }
    ::unlink(temp);
    if (!ok)
        bytes.clear();
    return ok;
}

std::vector<std::string> THelpFile::Names() const
{
    std::vector<std::string> names;
    for (const mschmd_file* f = header_->files; f && names.size() < 100000; f = f->next)
        if (f->filename && f->filename[0])
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
