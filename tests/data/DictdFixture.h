// Small dictd databases made by the tests: an index and a dictzip file written with zlib.
#pragma once

#include <string>
#include <vector>

namespace DataTest {

struct TTestEntry {
    std::string Key;   // index headword
    std::string Text;  // entry text (UTF-8)
};

// A dictzip file (gzip with the "RA" random-access field, chunks of chunkSize bytes).
std::string MakeDictzip(const std::string& data, std::size_t chunkSize = 64);

// Writes "<base>.index" and "<base>.dict.dz"; the index lists the entries sorted by key and
// may name one entry under a second key (aliases: pairs of key and entry position).
void WriteDictd(const std::string& base, const std::vector<TTestEntry>& entries,
                const std::vector<std::pair<std::string, std::size_t>>& aliases = {});

// A fresh empty folder under the test data folder.
std::string FreshFolder(const std::string& name);

}  // namespace DataTest
