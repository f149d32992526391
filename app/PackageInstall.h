// Installation of a dictionary package: the dictionary data, then a cabinet of the files of
// the dictionary's own folder, then the 8-byte little-endian length of the data.
//
// The work is split in two. Prepare (any thread; it never touches the live catalogue) checks
// the name and the trailer, writes the data through a temporary file, asks a copy of the
// catalogue whether it would take the dictionary, extracts the cabinet into a staging folder
// and only then moves the files into place, keeping what they replace. Commit (the thread that
// owns the catalogue) adds the record. Whatever fails, and a Prepare never committed, puts
// Data/ back as it was; the catalogue is changed only by a Commit that succeeds.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class TCABFile;
class TDictManager;

enum class TPackageStatus {
    Installed,
    AlreadyInstalled,  // the catalogue has the dictionary, or another one uses its file name
    NotDictionary,     // missing or unopenable, not beginning as a dictionary, or refused as one
    CatalogueFailed,   // the catalogue refused it for another reason (CatalogueResult says which)
    BadName,           // the package's name gives no usable dictionary name
    Damaged,           // unreadable, or its trailer does not fit its size
    ExtractFailed,     // the cabinet is damaged or names a file outside the dictionary's folder
    WriteFailed,       // a file or folder in Data/ cannot be written
    Cancelled,
};

// What failed, for the line under the window's message (the window words it).
enum class TPackageCause {
    None,
    BadName,     // the name gives no dictionary name
    Length,      // the trailer's length does not fit the file
    Unreadable,  // a read failed (the package is shorter than it says, or the disk refused)
    Cabinet,     // the cabinet is damaged or names a file outside the dictionary's folder
    InTheWay,    // something of another kind has the name a file or folder needs
    Write,       // Data/ cannot be written
};

struct TPackageResult {
    TPackageStatus Status = TPackageStatus::Damaged;
    std::int16_t CatalogueResult = 0;  // the catalogue's install result, when it was asked
    TPackageCause Cause = TPackageCause::None;
    std::string File;    // the file concerned, by the name the user knows: the package's, or one inside Data/
    std::string Reason;  // the system's text for the failure, when it gave one
    bool Shown = false;  // the cause was shown already (a refused write, by TCABFile)
    bool Ok() const { return Status == TPackageStatus::Installed; }
};

inline TPackageResult PackageResult(TPackageStatus status, TPackageCause cause = TPackageCause::None,
                                    std::string file = {})
{
    TPackageResult r;
    r.Status = status;
    r.Cause = cause;
    r.File = std::move(file);
    return r;
}

// The length of the dictionary data read from the package's trailer, or -1 when the file is
// too short or the length does not fit (a dictionary of at least its magic, inside the file
// before the trailer).
std::int64_t PackageDataLength(std::int64_t fileSize, const unsigned char trailer[8]);

// The dictionary's base name for a package file name: the name up to its first "."; the whole
// name when it has no dot. Empty when that is no plain file name.
std::string PackageBaseName(const std::string& packageFileName);

class TPackageInstall {
public:
    // DataDir: the folder of the catalogue and the dictionaries (with or without a final "/").
    // CabFile extracts the cabinet (the main window's; none: one of its own). It is used
    // from the thread that runs Prepare, and by nothing else meanwhile.
    TPackageInstall(std::string packagePath, std::string dataDir, std::string catalogueFile,
                    TCABFile* cabFile = nullptr);
    // Puts back whatever a Prepare left uncommitted.
    ~TPackageInstall();
    TPackageInstall(const TPackageInstall&) = delete;
    TPackageInstall& operator=(const TPackageInstall&) = delete;

    // Checks the package and places its files. Cancel (may be null) is polled between steps
    // and during the extraction.
    TPackageResult Prepare(const std::atomic<bool>* cancel = nullptr);
    // Adds the record to Catalogue after a successful Prepare; on refusal puts Data/ back.
    TPackageResult Commit(TDictManager& catalogue);
    // Puts Data/ back as it was before Prepare (nothing after a successful Commit).
    void Rollback();

    const std::string& BaseName() const { return base_; }
    const std::string& PackagePath() const { return package_; }

private:
    struct TMoved {
        std::filesystem::path Target;
        std::filesystem::path Backup;  // where the replaced file waits; empty when none
    };
    TPackageResult Fail(TPackageStatus status, TPackageCause cause = TPackageCause::None, std::string file = {},
                        std::string reason = {});
    // Fail with the status a refused catalogue entry (an install result) stands for.
    TPackageResult InstallFailed(std::int16_t catalogueResult);
    void Cleanup();
    void PlaceFile(const std::filesystem::path& from, const std::filesystem::path& to);
    void PlaceTree(const std::filesystem::path& from, const std::filesystem::path& to);

    TCABFile* cabFile_;
    std::string package_;
    std::filesystem::path data_;
    std::string catalogue_;
    std::string base_;
    std::filesystem::path work_;  // Data/.<base>.install: every temporary file of this install
    std::vector<TMoved> moved_;
    std::vector<std::filesystem::path> createdFolders_;
    bool prepared_ = false;
    bool committed_ = false;
};
