// Reader of dictd databases: a ".index" of lines "headword TAB offset TAB length" (numbers
// in dictd's base 64) and the ".dict.dz" data (dictzip, a gzip file).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace SampleData {

class EDictdError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TDictdIndexEntry {
    std::string Key;  // the index headword (UTF-8, as dictd folds it)
    std::uint64_t Offset = 0;
    std::uint64_t Length = 0;
};

// Decodes a dictd base-64 number; throws EDictdError for an empty or invalid one.
std::uint64_t DecodeDictdNumber(std::string_view text);

// Parses the whole index text; throws EDictdError naming the line of a malformed entry.
std::vector<TDictdIndexEntry> ParseDictdIndex(std::string_view text);

// Inflates a whole gzip (dictzip) file held in memory; throws EDictdError when it is not
// a complete gzip stream or inflates beyond maxSize bytes.
std::string InflateGzip(std::string_view data, std::size_t maxSize = std::size_t(1) << 31);

// A dictd database loaded in memory.
class TDictdDatabase {
public:
    // Loads both files; throws EDictdError or std::runtime_error.
    TDictdDatabase(const std::string& indexFile, const std::string& dataFile);

    const std::vector<TDictdIndexEntry>& Index() const { return Entries; }

    // The text of an entry; throws EDictdError when its range lies outside the data.
    std::string_view EntryText(const TDictdIndexEntry& entry) const;

private:
    std::vector<TDictdIndexEntry> Entries;
    std::string Data;
};

}  // namespace SampleData
