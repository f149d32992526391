// Feeds arbitrary bytes to the update's version-list reader and the name, size and address
// helpers: the installer name must stay a plain name, the size within its limits, and the
// download address must carry each value escaped.
#include "app/UpdateVersionList.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    const std::string major = VersionListValue(list, "VERMAJ");
    const std::string minor = VersionListValue(list, "VERMIN");
    IsNewerVersion(major, minor);
    for (const std::string& value : {major, minor})
        Check(value.find('\n') == std::string::npos);

    const std::string file = InstallerFileName(VersionListValue(list, "FILE"));
    if (!file.empty()) {
        Check(file.find('/') == std::string::npos && file.find('\\') == std::string::npos);
        Check(file != "." && file != "..");
        for (const char c : file)
            Check(static_cast<unsigned char>(c) >= 0x20);
    }
    if (const auto fileSize = InstallerFileSize(VersionListValue(list, "FILESIZE")))
        Check(*fileSize >= 1 && *fileSize <= kInstallerLimit);

    const std::string url = DownloadUrl("http://127.0.0.1:8080/", major, minor, std::string(list), file);
    const std::string query = url.substr(url.find('?') + 1);
    int separators = 0;
    for (const char c : query) {
        Check(c > 0x20 && c < 0x7F);
        separators += c == '&' ? 1 : 0;
    }
    Check(separators == 3);
    return 0;
}
