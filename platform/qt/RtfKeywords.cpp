#include "platform/qt/RtfKeywords.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace RichText {
namespace {

using TEntry = std::pair<std::string_view, TKeyword>;

// Sorted by name for the binary search.
constexpr TEntry kKeywords[] = {
    {"annotation", TKeyword::SkipDestination},
    {"ansicpg", TKeyword::AnsiCodePage},
    {"atnauthor", TKeyword::SkipDestination},
    {"atnid", TKeyword::SkipDestination},
    {"author", TKeyword::SkipDestination},
    {"b", TKeyword::Bold},
    {"blue", TKeyword::Blue},
    {"bullet", TKeyword::Character},
    {"cell", TKeyword::Tab},
    {"cf", TKeyword::Colour},
    {"colorschememapping", TKeyword::SkipDestination},
    {"colortbl", TKeyword::ColourTable},
    {"comment", TKeyword::SkipDestination},
    {"company", TKeyword::SkipDestination},
    {"datastore", TKeyword::SkipDestination},
    {"deff", TKeyword::DefaultFont},
    {"docvar", TKeyword::SkipDestination},
    {"emdash", TKeyword::Character},
    {"emspace", TKeyword::Character},
    {"endash", TKeyword::Character},
    {"enspace", TKeyword::Character},
    {"f", TKeyword::Font},
    {"falt", TKeyword::SkipDestination},
    {"fcharset", TKeyword::FontCharset},
    {"fi", TKeyword::FirstIndent},
    {"filetbl", TKeyword::SkipDestination},
    {"fldinst", TKeyword::SkipDestination},
    {"fname", TKeyword::SkipDestination},
    {"fonttbl", TKeyword::FontTable},
    {"footer", TKeyword::SkipDestination},
    {"footerf", TKeyword::SkipDestination},
    {"footerl", TKeyword::SkipDestination},
    {"footerr", TKeyword::SkipDestination},
    {"footnote", TKeyword::SkipDestination},
    {"fs", TKeyword::FontSize},
    {"generator", TKeyword::SkipDestination},
    {"green", TKeyword::Green},
    {"header", TKeyword::SkipDestination},
    {"headerf", TKeyword::SkipDestination},
    {"headerl", TKeyword::SkipDestination},
    {"headerr", TKeyword::SkipDestination},
    {"i", TKeyword::Italic},
    {"info", TKeyword::SkipDestination},
    {"keywords", TKeyword::SkipDestination},
    {"latentstyles", TKeyword::SkipDestination},
    {"ldblquote", TKeyword::Character},
    {"li", TKeyword::LeftIndent},
    {"line", TKeyword::Line},
    {"listoverridetable", TKeyword::SkipDestination},
    {"listtable", TKeyword::SkipDestination},
    {"listtext", TKeyword::SkipDestination},
    {"lquote", TKeyword::Character},
    {"ls", TKeyword::ListMember},
    {"ltrmark", TKeyword::Character},
    {"nestcell", TKeyword::Tab},
    {"nonshppict", TKeyword::SkipDestination},
    {"objclass", TKeyword::SkipDestination},
    {"objdata", TKeyword::SkipDestination},
    {"operator", TKeyword::SkipDestination},
    {"page", TKeyword::Par},
    {"panose", TKeyword::SkipDestination},
    {"par", TKeyword::Par},
    {"pard", TKeyword::Pard},
    {"pict", TKeyword::SkipDestination},
    {"plain", TKeyword::Plain},
    {"pn", TKeyword::Pn},
    {"pnlvlblt", TKeyword::PnBullet},
    {"pnlvlbody", TKeyword::PnNumbered},
    {"pnlvlcont", TKeyword::PnNumbered},
    {"pntext", TKeyword::SkipDestination},
    {"pntxta", TKeyword::SkipDestination},
    {"pntxtb", TKeyword::SkipDestination},
    {"private", TKeyword::SkipDestination},
    {"qc", TKeyword::AlignCentre},
    {"qd", TKeyword::AlignJustify},
    {"qj", TKeyword::AlignJustify},
    {"ql", TKeyword::AlignLeft},
    {"qmspace", TKeyword::Character},
    {"qr", TKeyword::AlignRight},
    {"rdblquote", TKeyword::Character},
    {"red", TKeyword::Red},
    {"revtbl", TKeyword::SkipDestination},
    {"row", TKeyword::Par},
    {"rquote", TKeyword::Character},
    {"rsidtbl", TKeyword::SkipDestination},
    {"rtlmark", TKeyword::Character},
    {"sect", TKeyword::Par},
    {"strike", TKeyword::Strike},
    {"striked", TKeyword::Strike},
    {"stylesheet", TKeyword::SkipDestination},
    {"subject", TKeyword::SkipDestination},
    {"tab", TKeyword::Tab},
    {"template", TKeyword::SkipDestination},
    {"themedata", TKeyword::SkipDestination},
    {"title", TKeyword::SkipDestination},
    {"u", TKeyword::U},
    {"uc", TKeyword::Uc},
    {"ul", TKeyword::Underline},
    {"uld", TKeyword::Underline},
    {"uldash", TKeyword::Underline},
    {"uldashd", TKeyword::Underline},
    {"uldashdd", TKeyword::Underline},
    {"uldb", TKeyword::Underline},
    {"ulhwave", TKeyword::Underline},
    {"ulldash", TKeyword::Underline},
    {"ulnone", TKeyword::UnderlineNone},
    {"ulth", TKeyword::Underline},
    {"ulw", TKeyword::Underline},
    {"ulwave", TKeyword::Underline},
    {"userprops", TKeyword::SkipDestination},
    {"xmlnstbl", TKeyword::SkipDestination},
    {"zwj", TKeyword::Character},
};

static_assert(std::is_sorted(std::begin(kKeywords), std::end(kKeywords),
                             [](const TEntry& a, const TEntry& b) { return a.first < b.first; }));

}  // namespace

TKeyword FindKeyword(std::string_view word)
{
    const auto it = std::lower_bound(std::begin(kKeywords), std::end(kKeywords), word,
                                     [](const TEntry& e, std::string_view w) { return e.first < w; });
    return it != std::end(kKeywords) && it->first == word ? it->second : TKeyword::Unknown;
}

char16_t KeywordCharacter(std::string_view word)
{
    static constexpr std::pair<std::string_view, char16_t> kChars[] = {
        {"bullet", u'\u2022'},  {"emdash", u'\u2014'},    {"emspace", u'\u2003'}, {"endash", u'\u2013'},
        {"enspace", u'\u2002'}, {"ldblquote", u'\u201C'}, {"lquote", u'\u2018'},  {"ltrmark", u'\u200E'},
        {"qmspace", u'\u2005'}, {"rdblquote", u'\u201D'}, {"rquote", u'\u2019'},  {"rtlmark", u'\u200F'},
        {"zwj", u'\u200D'},
    };
    for (const auto& [name, c] : kChars)
        if (name == word)
            return c;
    return u'\uFFFD';
}

}  // namespace RichText
