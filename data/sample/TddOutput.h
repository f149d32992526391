// Writes a converted dictionary as a maker's dictionary file (".TDD").
#pragma once

#include "data/sample/FreedictConverter.h"

#include <string>

namespace SampleData {

// Writes the file whole (temporary file, then rename); the articles are moved into the
// writer. Throws on failure, leaving any old file as it was.
void WriteMakersDictionary(TConvertedDictionary dictionary, const std::string& path);

}  // namespace SampleData
