// Writes a converted dictionary as a maker's dictionary file (".TDD").
#pragma once

#include "data/sample/FreedictConverter.h"

#include <string>

namespace SampleData {

// Writes the file whole (temporary name, then rename); throws std::runtime_error on failure.
void WriteMakersDictionary(const TConvertedDictionary& dictionary, const std::string& path);

} // namespace SampleData
