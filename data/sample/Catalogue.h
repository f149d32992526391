// The sample catalogue: Data/DICTIONARYS.DNT made anew by installing each dictionary file.
#pragma once

#include <string>
#include <vector>

namespace SampleData {

// Installs the files in order into a new catalogue at catalogueFile (an old one is replaced)
// and marks the sounds of those that have them as copied to the disk. Throws
// std::runtime_error naming the file and the install result when an install fails.
void BuildCatalogue(const std::string& catalogueFile, const std::vector<std::string>& dictionaryFiles);

}  // namespace SampleData
