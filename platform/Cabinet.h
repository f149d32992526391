// Microsoft cabinet (.cab) extraction over libmspack: create a decompressor, ask whether a file
// is a cabinet, copy every file of a cabinet into a folder, destroy the decompressor.
//
// Nothing is ever written outside the target folder: entry names are cleaned (backslashes are
// folder separators, drive letters and leading separators are dropped) and names with ".."
// are refused; symbolic links met in the target are never followed; each file is written
// under a temporary name and renamed into place, so a failed entry leaves no half file and
// an old file survives until its replacement is complete.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Platform {

enum class TCabinetError {
    None,
    Open,          // the cabinet or the target folder cannot be opened
    NotCabinet,    // no cabinet signature
    Damaged,       // bad header, checksum or compressed data, or the file ends early
    UnsafeName,    // an entry name that would leave the target folder
    UnsafeTarget,  // a symbolic link or non-folder in the way, or the entry names the cabinet itself
    SizeLimit,     // the files would exceed the size limit
    Write,         // a folder or file cannot be created or written (disk full and the like)
    Aborted,       // a notification handler failed
    NoMemory,
};

struct TCabinetResult {
    TCabinetError Error = TCabinetError::None;
    std::string Message;  // one line naming the file and the cause; empty on success
    int SystemError = 0;  // errno of a failed write (TCabinetError::Write), else 0
    bool Ok() const { return Error == TCabinetError::None; }
};

// One file of a cabinet as it is about to be extracted.
struct TCabinetEntry {
    std::string Name;  // as stored in the cabinet, converted to UTF-8 ("sub\a.txt")
    std::string Path;  // its place below the target folder, "/"-separated ("sub/a.txt")
    uint32_t Size = 0;
    // Date and time stored in the cabinet (local time; month 1-12).
    int Year = 1980, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
    int Attributes = 0;
};

struct TCabinetNotify {
    // Asked before an existing file at TargetFile is replaced; false skips the entry.
    // Unassigned: the file is replaced.
    std::function<bool(const TCabinetEntry& entry, const std::string& targetFile)> OverwriteFile;
    // Called after each block written, with the bytes of this entry written so far.
    std::function<void(const TCabinetEntry& entry, uint64_t written)> Progress;
    // The extraction stops with TCabinetError::SizeLimit before the files would exceed this.
    uint64_t SizeLimit = uint64_t{16} << 30;
};

// The place below the target folder of a cabinet entry name as a "/"-separated relative path,
// or nothing when the name would leave the folder or names no file.
std::optional<std::string> CabinetTargetPath(std::string_view name);

class TCabinetDecompressor {
public:
    // Nothing when libmspack cannot make a decompressor.
    static std::unique_ptr<TCabinetDecompressor> Create();
    ~TCabinetDecompressor();
    TCabinetDecompressor(const TCabinetDecompressor&) = delete;
    TCabinetDecompressor& operator=(const TCabinetDecompressor&) = delete;

    // True when the file can be read and holds a cabinet header.
    bool IsCabinet(const std::string& path);

    // Extracts every file of the cabinet into TargetFolder (which must exist), creating
    // sub-folders. Stops at the first failure with one error.
    TCabinetResult Copy(const std::string& cabinet, const std::string& targetFolder, const TCabinetNotify& notify);

    struct TImpl;

private:
    explicit TCabinetDecompressor(std::unique_ptr<TImpl> impl);
    std::unique_ptr<TImpl> impl_;
};

}  // namespace Platform
