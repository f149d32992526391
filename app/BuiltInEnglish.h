// The English interface texts (key=value lines, as in LangItf.lng), compiled into the program
// from the text sources of data/lang: the captions it falls back to when the
// interface-language file is damaged.
#pragma once

#include <string_view>

std::u16string_view BuiltInEnglishText();
