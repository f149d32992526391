// Import of the user's files through the File menu: learning lists into the learning folder,
// user-word files and user dictionaries into the dictionaries folder. The copy is written under
// a temporary name and renamed into place, so a failure leaves the old file whole; a file the
// user already has is replaced only when the caller's question is answered yes.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace FileImport {

enum class TImportKind {
    LearningList,    // ".lst"
    UserWords,       // ".TDE": the user's words of a maker's dictionary
    UserDictionary,  // ".UDD"
    Unknown,
};

enum class TImportResult {
    Imported,
    SameFile,     // the chosen file is the one it would replace: nothing to do
    Cancelled,    // the user kept the file of that name
    UnknownKind,  // none of the three kinds: nothing is copied
    Damaged,      // too short or not a file of its kind: nothing is copied
    ReadError,
    WriteError,
};

// The kind by the file's extension, compared without regard to case.
TImportKind KindOfFile(const std::filesystem::path& file);

struct TImportRequest {
    std::filesystem::path Source;
    std::filesystem::path LearningFolder;  // where the list menu finds lists
    std::filesystem::path DataFolder;      // where the dictionaries and their user words live
    // File names (no extension) of the catalogue's dictionaries: an imported ".TDE" or ".UDD"
    // takes the catalogue's spelling of its name, so the dictionary it belongs to finds it.
    std::vector<std::string> CatalogueNames;
    // Asked before a file of the target's name is replaced; false keeps it.
    std::function<bool(const std::filesystem::path& existing)> ConfirmReplace;
};

struct TImportOutcome {
    TImportResult Result = TImportResult::UnknownKind;
    TImportKind Kind = TImportKind::Unknown;
    std::filesystem::path Target;  // the file written or that would have been
    bool Replaced = false;         // an older file of that name was replaced
};

// Checks the file and copies it into its folder under its own name (extension of ".TDE" and
// ".UDD" upper-cased as the dictionaries look for them). A file whose name differs from the
// target's only in letter case counts as the same file and is replaced under its own name.
TImportOutcome ImportFile(const TImportRequest& request);

}  // namespace FileImport
