// Dictionary packages for the tests: a small maker's dictionary, a real cabinet of its
// folder's files made with gcab, and the 8-byte trailer; cabinets with patched entry names.
#pragma once

#include "tests/support/TestFiles.h"

#include <cstdint>
#include <map>
#include <string>

namespace PackageTest {

// The bytes of a small English-French maker's dictionary (file name FileName, number Number).
std::string DictionaryBytes(const std::string& fileName = "ENGFRE_T", int number = 7);

// A cabinet (gcab -z) of these files (relative name -> content); names may hold "/".
std::string CabinetBytes(const std::map<std::string, std::string>& files);

// Dictionary + cabinet + the dictionary's length, 8 bytes little-endian.
std::string PackageBytes(const std::string& dictionary, const std::string& cabinet);
std::string PackageBytes(const std::string& dictionary, const std::string& cabinet, std::int64_t trailer);

// Replaces every occurrence of From by To (same length) in Bytes.
std::string Patched(std::string bytes, const std::string& from, const std::string& to);

using TestFiles::ReadFile;
using TestFiles::WriteFile;
// Every path below Folder with the content of its files ("<dir>" for folders), for comparing
// a folder before and after.
std::map<std::string, std::string> Snapshot(const std::string& folder);

}  // namespace PackageTest
