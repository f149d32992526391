// Real dictionary articles for the rich-text tests and benchmark: FreeDict entries turned into
// articles by the sample generators, and articles of the built sample program folder.
#pragma once

#include "data/sample/FreedictEntry.h"

#include <string>
#include <vector>

namespace RichTextTest {

// A FreeDict dictionary by its name ("eng-deu") and the code page its articles are made in.
struct TDictd {
    const char* Name;
    int CodePage;
};

struct TSourceArticle {
    std::vector<SampleData::TFreedictEntry> Senses;
    std::string Rtf;
};

// Up to `count` entries of the dictd database "<dir>/freedict-<name>" spread over the entries
// that lie in the first `prefix` bytes of its data, as articles in the code page; articles
// of two senses now and then. Empty when the database is not installed.
std::vector<TSourceArticle> FreedictArticles(const std::string& dir, const std::string& name, std::size_t count,
                                             int codePage, std::size_t prefix = std::size_t(4) << 20);

// Up to `perDictionary` articles spread over every maker's dictionary in "<folder>/Data";
// empty when there is none.
std::vector<std::string> SampleFolderArticles(const std::string& programFolder, std::size_t perDictionary);

}  // namespace RichTextTest
