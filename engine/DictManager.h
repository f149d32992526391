// The catalogue of installed dictionaries, "DICTIONARYS.DNT": 540-byte records, no header.
// Every change rewrites the whole file all or nothing, so a failed write keeps the old one.
#pragma once

#include "engine/DictionaryRecord.h"

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>

// SaveAll could not open or replace the catalogue; the file on disk is as it was.
class ECatalogueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Results of InstallDictionary.
enum TInstallResult : std::int16_t {
    irInstalled = 0,
    irInOutError = 2,    // the dictionary file is truncated or cannot be read
    irOtherFailure = 4,  // a damaged information block, a number that is not an integer ...
    irAlreadyInstalled = 5,
    irCannotOpen = 6,  // missing file or catalogue, wrong magic, extension not TDD/TDI/UDD
    irWriteError = 7,
};

class TDictManager {
public:
    // Loads the catalogue, or creates it empty when it does not exist. Never throws.
    explicit TDictManager(std::string CatalogueFile);

    std::int32_t Count() const;
    std::int32_t CountEnabled() const;

    // The distinct source codes in the order first met.
    DictNames GetSourceLanguages() const;

    // The records whose SourceCode equals Code exactly (and that are enabled, when asked),
    // in catalogue order.
    DescNames GetDictionaries(const std::string& Code, bool EnabledOnly) const;

    // Reads the dictionary file's information block and appends its record to the catalogue.
    std::int16_t InstallDictionary(const std::string& DictionaryFileName);

    // Rewrites the catalogue without the record of Id, numbering the others from 0, and loads
    // it again. False (catalogue and Records unchanged) when the rewrite fails.
    bool DeleteDictionary(std::int32_t Id);

    // Writes Records back over the first records of the catalogue (bytes beyond them are
    // kept). Throws ECatalogueError when the catalogue is missing or cannot be rewritten.
    void SaveAll();

    // Loads the catalogue again (creating it empty when missing); False when it cannot be read.
    bool Reload();

    // Replaces Records by the whole 540-byte records of the stream, from its start.
    void LoadFromStream(std::istream& Stream);

    // The Id of the first record whose DictionaryFile equals Name ignoring letter case
    // (in the system code page); -1 when none does.
    std::int32_t FindIdByFileName(const std::string& Name) const;

    TDictionaryList Records;
    std::string CatalogueFile;
    bool Empty = true;  // the file had size 0 (or was created) when last loaded

private:
    void LoadFromBytes(std::string_view bytes);
};
