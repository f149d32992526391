#include "app/PackageInstall.h"

#include "engine/DictManager.h"
#include "components/CABFile.h"
#include "platform/SafeFile.h"

#include <QFile>

#include <array>
#include <cstring>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char kMagic[] = "01.01";
constexpr std::int64_t kMagicLength = 5;

// Thrown inside Prepare; becomes its result.
struct EPackageStep {
    explicit EPackageStep(TPackageStatus status, TPackageCause cause = TPackageCause::None, std::string file = {},
                          bool shown = false)
        : Status(status),
          Cause(cause),
          File(std::move(file)),
          Shown(shown)
    {
    }
    TPackageStatus Status;
    TPackageCause Cause;
    std::string File;
    bool Shown;  // the cause was already shown to the user
};

void CheckCancel(const std::atomic<bool>* cancel)
{
    if (cancel != nullptr && cancel->load())
        throw EPackageStep(TPackageStatus::Cancelled);
}

std::string SystemText(int code)
{
    return code != 0 ? std::string(std::strerror(code)) : std::string();
}

// The name the user knows a file by: the package's own name, or a name inside Data/.
std::string ShownName(const fs::path& file, const fs::path& folder = {})
{
    const fs::path relative = folder.empty() ? fs::path() : file.lexically_relative(folder);
    return relative.empty() ? file.filename().string() : relative.string();
}

// Copies Count bytes of In (the package at Package) from its current position into a new
// file, whole or not at all. A refused write leaves as ESafeFileError.
void CopyBytes(std::ifstream& in, const std::string& package, std::uint64_t count, const fs::path& to,
               const std::atomic<bool>* cancel)
{
    Platform::TSafeFile out(to);
    std::array<char, 1 << 16> buffer{};
    while (count > 0) {
        CheckCancel(cancel);
        const auto n = static_cast<std::streamsize>(std::min<std::uint64_t>(count, buffer.size()));
        if (!in.read(buffer.data(), n))
            throw EPackageStep(TPackageStatus::Damaged, TPackageCause::Unreadable, ShownName(package));
        out.Write(buffer.data(), static_cast<std::size_t>(n));
        count -= static_cast<std::uint64_t>(n);
    }
    out.Commit();
}

bool Exists(const fs::path& p)
{
    std::error_code ec;
    return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

}  // namespace

std::int64_t PackageDataLength(std::int64_t fileSize, const unsigned char trailer[8])
{
    std::uint64_t length = 0;
    for (int i = 7; i >= 0; --i)
        length = (length << 8) | trailer[i];
    const auto signedLength = static_cast<std::int64_t>(length);
    if (fileSize < 8 + kMagicLength || signedLength < kMagicLength || signedLength > fileSize - 8)
        return -1;
    return signedLength;
}

std::string PackageBaseName(const std::string& packageFileName)
{
    std::string name = fs::path(packageFileName).filename().string();
    if (const std::size_t dot = name.find('.'); dot != std::string::npos)
        name.resize(dot);
    if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return {};
    return name;
}

TPackageInstall::TPackageInstall(std::string packagePath, std::string dataDir, std::string catalogueFile,
                                 TCABFile* cabFile)
    : cabFile_(cabFile),
      package_(std::move(packagePath)),
      data_(std::move(dataDir)),
      catalogue_(std::move(catalogueFile)),
      base_(PackageBaseName(package_))
{
    if (!base_.empty())
        work_ = data_ / ("." + base_ + ".install");
}

TPackageInstall::~TPackageInstall()
{
    try {
        if (prepared_ && !committed_)
            Rollback();
        else
            Cleanup();
    } catch (...) {
        // Nothing more can be put back here.
    }
}

TPackageResult TPackageInstall::Fail(TPackageStatus status, TPackageCause cause, std::string file, std::string reason)
{
    Rollback();
    TPackageResult r = PackageResult(status, cause, std::move(file));
    r.Reason = std::move(reason);
    return r;
}

TPackageResult TPackageInstall::InstallFailed(std::int16_t catalogueResult)
{
    TPackageResult result = Fail(catalogueResult == irAlreadyInstalled ? TPackageStatus::AlreadyInstalled
                                     : catalogueResult == irCannotOpen ? TPackageStatus::NotDictionary
                                                                       : TPackageStatus::CatalogueFailed);
    result.CatalogueResult = catalogueResult;
    return result;
}

void TPackageInstall::Cleanup()
{
    if (work_.empty())
        return;
    std::error_code ec;
    fs::remove_all(work_, ec);
}

void TPackageInstall::Rollback()
{
    std::error_code ec;
    for (auto it = moved_.rbegin(); it != moved_.rend(); ++it) {
        fs::remove(it->Target, ec);
        if (!it->Backup.empty())
            fs::rename(it->Backup, it->Target, ec);
    }
    moved_.clear();
    for (auto it = createdFolders_.rbegin(); it != createdFolders_.rend(); ++it)
        fs::remove(*it, ec);  // only when empty: nothing of the user's goes
    createdFolders_.clear();
    prepared_ = false;
    Cleanup();
}

void TPackageInstall::PlaceFile(const fs::path& from, const fs::path& to)
{
    TMoved moved{to, {}};
    if (Exists(to)) {
        if (fs::is_directory(fs::symlink_status(to)))
            throw EPackageStep(TPackageStatus::WriteFailed, TPackageCause::InTheWay, ShownName(to, data_));
        moved.Backup = work_ / "backup" / std::to_string(moved_.size());
        fs::rename(to, moved.Backup);
    }
    moved_.push_back(moved);
    fs::rename(from, to);
}

void TPackageInstall::PlaceTree(const fs::path& from, const fs::path& to)
{
    const fs::file_status target = fs::symlink_status(to);
    if (target.type() == fs::file_type::not_found) {
        fs::create_directory(to);
        createdFolders_.push_back(to);
    } else if (target.type() != fs::file_type::directory) {
        throw EPackageStep(TPackageStatus::WriteFailed, TPackageCause::InTheWay, ShownName(to, data_));
    }
    for (const fs::directory_entry& e : fs::directory_iterator(from)) {
        const fs::path dest = to / e.path().filename();
        if (e.symlink_status().type() == fs::file_type::directory)
            PlaceTree(e.path(), dest);
        else if (e.symlink_status().type() == fs::file_type::regular)
            PlaceFile(e.path(), dest);
    }
}

TPackageResult TPackageInstall::Prepare(const std::atomic<bool>* cancel)
{
    if (base_.empty())
        return Fail(TPackageStatus::BadName, TPackageCause::BadName, ShownName(package_));
    try {
        // What the catalogue refuses as a dictionary file is refused first, as the catalogue
        // would: a file that cannot be opened, or that does not begin with the magic.
        std::error_code ec;
        std::ifstream in;
        if (fs::is_regular_file(package_, ec))
            in.open(package_, std::ios::binary);
        char magic[kMagicLength] = {};
        if (!in || !in.read(magic, kMagicLength) || std::memcmp(magic, kMagic, kMagicLength) != 0)
            throw EPackageStep(TPackageStatus::NotDictionary);
        const auto size = static_cast<std::int64_t>(fs::file_size(package_, ec));
        if (ec)
            throw EPackageStep(TPackageStatus::Damaged, TPackageCause::Unreadable, ShownName(package_));
        unsigned char trailer[8] = {};
        if (size >= 8 && !in.seekg(size - 8).read(reinterpret_cast<char*>(trailer), 8))
            throw EPackageStep(TPackageStatus::Damaged, TPackageCause::Unreadable, ShownName(package_));
        const std::int64_t length = PackageDataLength(size, trailer);
        if (length < 0)
            throw EPackageStep(TPackageStatus::Damaged, TPackageCause::Length, ShownName(package_));

        fs::remove_all(work_, ec);
        fs::create_directories(work_ / "backup");
        fs::create_directory(work_ / "files");
        const fs::path dictionary = work_ / "data.TDD";
        in.seekg(0);
        CopyBytes(in, package_, static_cast<std::uint64_t>(length), dictionary, cancel);

        // Would the catalogue take it? Asked of a copy, so the live one stays untouched.
        const fs::path trial = work_ / "catalogue.DNT";
        if (fs::exists(catalogue_, ec))
            fs::copy_file(catalogue_, trial);
        {
            TDictManager copy(trial.string());
            const std::int16_t r = copy.InstallDictionary(dictionary.string());
            if (r != irInstalled) {
                return InstallFailed(r);
            }
            const std::int32_t owner = copy.FindIdByFileName(base_);
            if (owner >= 0 && owner < copy.Count() - 1) {  // another dictionary's file
                TPackageResult result = Fail(TPackageStatus::AlreadyInstalled, {});
                result.CatalogueResult = irAlreadyInstalled;
                return result;
            }
        }
        CheckCancel(cancel);

        const std::int64_t cabinetSize = size - length - 8;
        if (cabinetSize > 0) {
            const fs::path cabinet = work_ / "package.CAB";
            in.seekg(length);
            CopyBytes(in, package_, static_cast<std::uint64_t>(cabinetSize), cabinet, cancel);
            TCABFile local;
            TCABFile& cab = cabFile_ != nullptr ? *cabFile_ : local;
            cab.CABFile = QFile::decodeName(QByteArray::fromStdString(cabinet.string()));
            cab.TargetPath = QFile::decodeName(QByteArray::fromStdString((work_ / "files").string()));
            cab.OnOverWriteFile = nullptr;  // a fresh staging folder: nothing to replace
            cab.OnDecompressProgress = [cancel](TCABFile*, const QString&, qint64, qint64) { CheckCancel(cancel); };
            const bool extracted = cab.ExtractAll();
            cab.OnDecompressProgress = nullptr;
            CheckCancel(cancel);
            if (!extracted)
                throw EPackageStep(TPackageStatus::ExtractFailed, TPackageCause::Cabinet, ShownName(package_),
                                   cab.SystemErrorShown());
        }

        PlaceFile(dictionary, data_ / (base_ + ".TDD"));
        PlaceTree(work_ / "files", data_ / base_);
        prepared_ = true;
        return PackageResult(TPackageStatus::Installed);
    } catch (const EPackageStep& e) {
        TPackageResult result = Fail(e.Status, e.Cause, e.File);
        result.Shown = e.Shown;
        return result;
    } catch (const Platform::ESafeFileError& e) {
        return Fail(TPackageStatus::WriteFailed, TPackageCause::Write, {}, SystemText(e.ErrorCode()));
    } catch (const fs::filesystem_error& e) {
        return Fail(TPackageStatus::WriteFailed, TPackageCause::Write, {}, e.code().message());
    } catch (const std::exception&) {
        return Fail(TPackageStatus::WriteFailed, TPackageCause::Write);
    }
}

TPackageResult TPackageInstall::Commit(TDictManager& catalogue)
{
    if (!prepared_)
        return PackageResult(TPackageStatus::WriteFailed);
    const std::int16_t r = catalogue.InstallDictionary((data_ / (base_ + ".TDD")).string());
    if (r != irInstalled) {
        return InstallFailed(r);
    }
    committed_ = true;
    Cleanup();
    return PackageResult(TPackageStatus::Installed);
}
