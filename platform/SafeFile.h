// All-or-nothing file rewrites: the new content goes to a temporary file in the target's
// folder, is flushed to disk with fsync and then renamed over the target, so a failure or a
// crash at any moment leaves either the old file or the complete new one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Platform {

class ESafeFileError : public std::runtime_error {
public:
    // Where the rewrite failed. Write covers short writes (a full disk, a file-size limit).
    enum class TStage { Create, Write, Sync, Rename };

    ESafeFileError(TStage stage, int errorCode, const std::string& message);

    TStage Stage() const { return stage_; }
    int ErrorCode() const { return errorCode_; }  // errno of the failing call, 0 when none

private:
    TStage stage_;
    int errorCode_;
};

class TSafeFile {
public:
    // Creates a new, uniquely named temporary file beside Target.
    explicit TSafeFile(std::filesystem::path target);
    // Uses the given temporary name (in Target's folder); an old file of that name is replaced.
    TSafeFile(std::filesystem::path target, std::filesystem::path temporary);
    // Removes the temporary file unless Commit succeeded.
    ~TSafeFile();

    TSafeFile(const TSafeFile&) = delete;
    TSafeFile& operator=(const TSafeFile&) = delete;

    // Appends bytes at the end of what was written so far.
    void Write(const void* data, std::size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // Overwrites bytes already written (a head patched after the body); may not extend the file.
    void WriteAt(std::uint64_t position, const void* data, std::size_t size);

    // Permissions of the new file (by default those of the file it replaces, 0644 for a new one).
    void SetMode(unsigned mode);

    // Bytes written so far: the position where the next Write lands.
    std::uint64_t Size() const { return size_; }

    // Flushes, fsyncs and renames the temporary file over the target, then fsyncs the folder.
    void Commit();
    // Drops the temporary file; the target stays as it was.
    void Discard();

    bool Committed() const { return committed_; }
    const std::filesystem::path& TargetPath() const { return target_; }
    const std::filesystem::path& TemporaryPath() const { return temporary_; }

private:
    void Flush();
    void CloseHandle() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::string buffer_;
    std::uint64_t size_ = 0;
    bool committed_ = false;
};

// Replaces Path by Bytes all or nothing.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// fsync of a folder, so a rename or a removal inside it survives a crash. Best effort.
void SyncFolder(const std::filesystem::path& folder) noexcept;

}  // namespace Platform
