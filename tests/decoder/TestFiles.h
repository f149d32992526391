// Where the generated test streams and reference files are, and reading one whole.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace decoder_test {

// The folder the build generates the test data into (LEXORA_TEST_DATA).
inline std::string DataDir()
{
    const char* dir = std::getenv("LEXORA_TEST_DATA");
    return dir != nullptr ? dir : ".";
}

// The whole file; empty when it cannot be read.
inline std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace decoder_test
