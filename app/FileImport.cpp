#include "app/FileImport.h"

#include "engine/DictionaryFormat.h"
#include "engine/LearnDictionary.h"
#include "platform/SafeFile.h"

#include <QString>

#include <fstream>
#include <system_error>

namespace FileImport {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 64 * 1024;
// A user dictionary: "01.01", then its head and the 50-entry section table.
constexpr std::uintmax_t kUserDictionaryMinimum = 1229;

QString NameOf(const fs::path& p)
{
    return QString::fromStdString(p.filename().string());
}

bool SameIgnoringCase(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The file name the import writes, before a look at what the folder holds.
std::string TargetName(const TImportRequest& request, TImportKind kind)
{
    if (kind == TImportKind::LearningList)
        return request.Source.filename().string();
    std::string stem = request.Source.stem().string();
    for (const std::string& name : request.CatalogueNames)
        if (SameIgnoringCase(QString::fromStdString(name), QString::fromStdString(stem))) {
            stem = name;
            break;
        }
    return stem + (kind == TImportKind::UserWords ? ".TDE" : ".UDD");
}

// The folder's file of that name: the exact one, else one that differs only in letter case.
fs::path ExistingOrNew(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    if (fs::exists(folder / name, ec))
        return folder / name;
    const QString wanted = QString::fromStdString(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (SameIgnoringCase(NameOf(it->path()), wanted))
            return it->path();
    return folder / name;
}

bool LooksWhole(const fs::path& source, TImportKind kind, std::uintmax_t size)
{
    switch (kind) {
    case TImportKind::LearningList: {
        if (size < static_cast<std::uintmax_t>(TLearnDictionary::HeaderSize))
            return false;
        try {
            TLearnDictionary probe(source.parent_path().string());
            probe.LoadFromFile(source.string());
            return !probe.Closed;
        } catch (const std::exception&) {
            return false;
        }
    }
    case TImportKind::UserWords:
        return size >= static_cast<std::uintmax_t>(Dictionary::kUserWordsHeadSize);
    case TImportKind::UserDictionary: {
        if (size < kUserDictionaryMinimum)
            return false;
        std::ifstream in(source, std::ios::binary);
        std::string magic(Dictionary::kMagic.size(), '\0');
        return in.read(magic.data(), static_cast<std::streamsize>(magic.size())) && magic == Dictionary::kMagic;
    }
    case TImportKind::Unknown:
        break;
    }
    return false;
}

}  // namespace

TImportKind KindOfFile(const fs::path& file)
{
    const QString extension = QString::fromStdString(file.extension().string()).toUpper();
    if (extension == QLatin1String(".LST"))
        return TImportKind::LearningList;
    if (extension == QLatin1String(".TDE"))
        return TImportKind::UserWords;
    if (extension == QLatin1String(".UDD"))
        return TImportKind::UserDictionary;
    return TImportKind::Unknown;
}

TImportOutcome ImportFile(const TImportRequest& request)
{
    TImportOutcome outcome;
    outcome.Kind = KindOfFile(request.Source);
    if (outcome.Kind == TImportKind::Unknown) {
        outcome.Result = TImportResult::UnknownKind;
        return outcome;
    }
    std::error_code ec;
    // Only a plain file is read: a folder, a pipe or a device is no file to import.
    if (!fs::is_regular_file(request.Source, ec)) {
        outcome.Result = TImportResult::ReadError;
        return outcome;
    }
    const std::uintmax_t size = fs::file_size(request.Source, ec);
    if (ec) {
        outcome.Result = TImportResult::ReadError;
        return outcome;
    }
    if (!LooksWhole(request.Source, outcome.Kind, size)) {
        outcome.Result = TImportResult::Damaged;
        return outcome;
    }
    const fs::path folder = outcome.Kind == TImportKind::LearningList ? request.LearningFolder : request.DataFolder;
    fs::create_directories(folder, ec);
    outcome.Target = ExistingOrNew(folder, TargetName(request, outcome.Kind));
    const bool exists = fs::exists(outcome.Target, ec);
    if (exists && fs::equivalent(request.Source, outcome.Target, ec)) {
        outcome.Result = TImportResult::SameFile;
        return outcome;
    }
    if (exists && fs::is_directory(outcome.Target, ec)) {
        outcome.Result = TImportResult::WriteError;
        return outcome;
    }
    if (exists && !(request.ConfirmReplace && request.ConfirmReplace(outcome.Target))) {
        outcome.Result = TImportResult::Cancelled;
        return outcome;
    }
    std::ifstream in(request.Source, std::ios::binary);
    if (!in) {
        outcome.Result = TImportResult::ReadError;
        return outcome;
    }
    try {
        Platform::TSafeFile out(outcome.Target);
        std::string chunk(kChunk, '\0');
        std::uintmax_t copied = 0;
        while (in) {
            in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            const auto got = static_cast<std::size_t>(in.gcount());
            out.Write(chunk.data(), got);
            copied += got;
        }
        // A file that changed while being read is not taken half.
        if (in.bad() || copied != size) {
            outcome.Result = TImportResult::ReadError;
            return outcome;
        }
        out.Commit();
    } catch (const std::exception&) {  // Platform::ESafeFileError and allocation failures
        outcome.Result = TImportResult::WriteError;
        return outcome;
    }
    outcome.Replaced = exists;
    outcome.Result = TImportResult::Imported;
    return outcome;
}

}  // namespace FileImport
