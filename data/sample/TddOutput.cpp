#include "data/sample/TddOutput.h"

#include <stdexcept>

namespace SampleData {

void WriteMakersDictionary(const TConvertedDictionary&, const std::string& path)
{
    throw std::runtime_error("no dictionary writer yet: cannot write " + path);
}

} // namespace SampleData
