#include "app/UpdateVersionList.h"

#include "platform/Http.h"

#include <cctype>

std::string VersionListValue(std::string_view list, std::string_view name)
{
    std::size_t at = 0;
    while (at <= list.size()) {
        std::size_t end = list.find('\n', at);
        if (end == std::string_view::npos)
            end = list.size();
        std::string_view line = list.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && eq == name.size()) {
            bool same = true;
            for (std::size_t i = 0; i < eq && same; ++i)
                same = std::toupper(static_cast<unsigned char>(line[i]))
                    == std::toupper(static_cast<unsigned char>(name[i]));
            if (same)
                return std::string(line.substr(eq + 1));
        }
        at = end + 1;
    }
    return {};
}

bool IsNewerVersion(const std::string& major, const std::string& minor)
{
    const std::string own = kOwnVersionMajor;
    return major > own || (major == own && minor > std::string(kOwnVersionMinor));
}

std::string InstallerFileName(std::string_view file)
{
    const std::size_t slash = file.find_last_of("/\\");
    if (slash != std::string_view::npos)
        file.remove_prefix(slash + 1);
    if (file.empty() || file == "." || file == "..")
        return {};
    for (const char c : file)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return {};
    return std::string(file);
}

std::optional<std::int64_t> InstallerFileSize(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kInstallerLimit)
        return std::nullopt;
    return value;
}

std::string TrimServer(std::string server)
{
    while (!server.empty() && server.back() == '/')
        server.pop_back();
    return server;
}

std::string VersionListUrl(const std::string& server)
{
    return TrimServer(server) + kVersionListPath;
}

std::string DownloadUrl(const std::string& server, const std::string& name, const std::string& org,
                        const std::string& version, const std::string& file)
{
    using Platform::UrlEscape;
    return TrimServer(server) + kDownloadPath + "?name=" + UrlEscape(name) + "&org=" + UrlEscape(org)
        + "&ver=" + UrlEscape(version) + "&file=" + UrlEscape(file);
}
