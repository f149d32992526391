// The update server's version list (name=value lines: VERMAJ, VERMIN, FILE, FILESIZE) and the
// addresses of the list and of the download. No Qt: the fuzz target uses it alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// This program's own version, compared as text with the list's.
inline constexpr const char* kOwnVersionMajor = "3";
inline constexpr const char* kOwnVersionMinor = "2";

inline constexpr const char* kVersionListPath = "/lexora/downloads/lexora_auto_upd.txt";
inline constexpr const char* kDownloadPath = "/upd.php";
// The largest version list read; a longer answer is not a version list.
inline constexpr std::uint64_t kVersionListLimit = 64 * 1024;
// The largest installer accepted, whatever FILESIZE says.
inline constexpr std::int64_t kInstallerLimit = 0x7FFFFFFF;  // the progress bar counts in 32 bits

// The value of Name in name=value lines (names compared without regard to case; the first
// line wins; a CR before the line end is not part of the value). Empty when missing.
std::string VersionListValue(std::string_view list, std::string_view name);

// Newer when Major > "3", or Major = "3" and Minor > "2", comparing texts by character codes
// (so "10" is not newer than "3").
bool IsNewerVersion(const std::string& major, const std::string& minor);

// FILE reduced to a plain name: the part after the last "/" or "\"; empty when that is empty,
// "." or "..", or holds a control character.
std::string InstallerFileName(std::string_view file);

// FILESIZE as a byte count: decimal digits only (spaces around allowed), 1 to
// kInstallerLimit. Nothing otherwise.
std::optional<std::int64_t> InstallerFileSize(std::string_view text);

// The server address without a trailing "/".
std::string TrimServer(std::string server);
std::string VersionListUrl(const std::string& server);
// Server + "/upd.php?name=..&org=..&ver=..&file=..", every value URL-escaped.
std::string DownloadUrl(const std::string& server, const std::string& name, const std::string& org,
                        const std::string& version, const std::string& file);
