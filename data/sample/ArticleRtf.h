// The rich-text article of one headword: the head (headword in bold, /IPA/, grammar in
// italics) and then the senses, one per FreeDict entry, numbered when there are several.
#pragma once

#include "data/sample/FreedictEntry.h"
#include "data/sample/RtfWriter.h"

#include <string>
#include <vector>

namespace SampleData {

std::string BuildArticleRtf(const std::vector<const TFreedictEntry*>& senses, const TCodePageMap& map);

}  // namespace SampleData
