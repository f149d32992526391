#include "data/sample/ArticleRtf.h"

namespace SampleData {
namespace {

// Colours 1..5: headword, pronunciation, cross-references, labels, notes.
constexpr std::string_view kColours = "\\red0\\green0\\blue128;\\red128\\green0\\blue0;\\red0\\green102\\blue0;"
                                      "\\red96\\green96\\blue96;\\red120\\green120\\blue120;";
constexpr std::u16string_view kFonts = u"Tahoma;Lucida Sans Unicode";

void Pronunciation(TRtfWriter& rtf, const std::u16string& ipa)
{
    rtf.Control("cf2").Control("f1").Text(u" /").Text(ipa).Text(u"/").Control("f0").Control("cf0");
}

void Grammar(TRtfWriter& rtf, std::u16string_view grammar)
{
    rtf.Control("cf4").Control("i").Text(grammar).Control("i0").Control("cf0");
}

// A line with inline marks: "<grammar>" in italics, "[domain]" as a label, "{word}" as a
// cross-reference.
void MarkedText(TRtfWriter& rtf, std::u16string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find_first_of(u"<[{", pos);
        if (open == std::u16string_view::npos) {
            rtf.Text(text.substr(pos));
            return;
        }
        const char16_t closeChar = text[open] == u'<' ? u'>' : text[open] == u'[' ? u']' : u'}';
        const std::size_t close = text.find(closeChar, open + 1);
        if (close == std::u16string_view::npos) {
            rtf.Text(text.substr(pos));
            return;
        }
        rtf.Text(text.substr(pos, open - pos));
        const std::u16string_view inner = text.substr(open + 1, close - open - 1);
        if (text[open] == u'<')
            Grammar(rtf, inner);
        else if (text[open] == u'[')
            rtf.Control("cf4").Control("i").Text(text.substr(open, close - open + 1)).Control("i0").Control("cf0");
        else
            rtf.Control("cf3").Text(inner).Control("cf0");
        pos = close + 1;
    }
}

// Translations stand at the margin; examples, cross-references and notes are indented.
class TBody {
public:
    explicit TBody(TRtfWriter& rtf)
        : Rtf(rtf)
    {
    }

    void Line(const TBodyLine& line)
    {
        switch (line.Kind) {
        case TBodyKind::Translation:
            Indent(false);
            MarkedText(Rtf, line.Text);
            break;
        case TBodyKind::Example:
            Indent(true);
            Rtf.Control("i").Text(line.Text).Control("i0");
            if (!line.Translation.empty())
                Rtf.Text(u" \u2013 ").Text(line.Translation);
            break;
        case TBodyKind::Related:
            Indent(true);
            Rtf.Control("cf4").Text(line.Label == u"see" ? u"See also" : line.Label).Text(u": ").Control("cf0");
            MarkedText(Rtf, line.Text);
            break;
        case TBodyKind::Note:
            Indent(true);
            Rtf.Control("cf5").Text(u"Note: ").Text(line.Text).Control("cf0");
            break;
        }
        Rtf.Paragraph();
    }

    void Indent(bool on)
    {
        if (on == Indented)
            return;
        Rtf.Control("pard");
        if (on)
            Rtf.Control("li284");
        Indented = on;
    }

private:
    TRtfWriter& Rtf;
    bool Indented = false;
};

}  // namespace

std::string BuildArticleRtf(const std::vector<const TFreedictEntry*>& senses, const TCodePageMap& map)
{
    TRtfWriter rtf(map, kFonts, kColours);
    rtf.Control("f0").Control("fs20");
    if (senses.empty())
        return rtf.Finish();
    const TFreedictEntry& first = *senses.front();
    rtf.Control("cf1").Control("b").Control("fs24").Text(first.Headword).Control("fs20").Control("b0").Control("cf0");
    if (!first.Pronunciation.empty())
        Pronunciation(rtf, first.Pronunciation);
    const bool sameGrammar = [&] {
        for (const TFreedictEntry* e : senses)
            if (e->Grammar != first.Grammar)
                return false;
        return true;
    }();
    if (sameGrammar && !first.Grammar.empty()) {
        rtf.Text(u" ");
        Grammar(rtf, first.Grammar);
    }
    if (!first.HeadExtra.empty())
        rtf.Text(u" ").Text(first.HeadExtra);
    rtf.Paragraph();

    const bool numbered = senses.size() > 1;
    TBody body(rtf);
    for (std::size_t n = 0; n < senses.size(); ++n) {
        const TFreedictEntry& sense = *senses[n];
        if (numbered) {
            std::u16string number;
            for (char c : std::to_string(n + 1))
                number += static_cast<char16_t>(c);
            rtf.Control("b").Text(number + u".").Control("b0").Text(u" ");
        }
        if (n > 0 && !sense.Pronunciation.empty() && sense.Pronunciation != first.Pronunciation) {
            Pronunciation(rtf, sense.Pronunciation);
            rtf.Text(u" ");
        }
        if (!sameGrammar && !sense.Grammar.empty()) {
            Grammar(rtf, sense.Grammar);
            rtf.Text(u" ");
        }
        if (n > 0 && !sense.HeadExtra.empty() && sense.HeadExtra != first.HeadExtra)
            rtf.Text(sense.HeadExtra).Text(u" ");
        if (sense.Lines.empty() || sense.Lines.front().Kind != TBodyKind::Translation)
            rtf.Paragraph();
        for (const TBodyLine& line : sense.Lines)
            body.Line(line);
        body.Indent(false);
    }
    return rtf.Finish();
}

}  // namespace SampleData
