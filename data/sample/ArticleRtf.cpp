#include "data/sample/ArticleRtf.h"

namespace SampleData {
namespace {

// Fonts: the text's own and one with the phonetic characters. Colours 1..5: headword,
// pronunciation, cross-references, labels, notes.
enum : std::size_t { kPhoneticFont = 1 };
enum : std::size_t { kHeadColour = 1, kPronunciationColour, kReferenceColour, kLabelColour, kNoteColour };

TRtfWriter NewArticle(const TCodePageMap& map)
{
    return TRtfWriter(map, {u"Tahoma", u"Lucida Sans Unicode"},
                      {{0, 0, 128}, {128, 0, 0}, {0, 102, 0}, {96, 96, 96}, {120, 120, 120}});
}

void Pronunciation(TRtfWriter& rtf, const std::u16string& ipa)
{
    rtf.Open().Colour(kPronunciationColour).Font(kPhoneticFont).Text(u" /").Text(ipa).Text(u"/").Close();
}

void Grammar(TRtfWriter& rtf, std::u16string_view grammar)
{
    rtf.Open().Colour(kLabelColour).Control("i").Text(grammar).Close();
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
            rtf.Open().Colour(kLabelColour).Control("i").Text(text.substr(open, close - open + 1)).Close();
        else
            rtf.Open().Colour(kReferenceColour).Text(inner).Close();
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
            Rtf.Open().Control("i").Text(line.Text).Close();
            if (!line.Translation.empty())
                Rtf.Text(u" \u2013 ").Text(line.Translation);
            break;
        case TBodyKind::Related:
            Indent(true);
            Rtf.Open().Colour(kLabelColour).Text(line.Label == u"see" ? u"See also" : line.Label).Text(u": ").Close();
            MarkedText(Rtf, line.Text);
            break;
        case TBodyKind::Note:
            Indent(true);
            Rtf.Open().Colour(kNoteColour).Text(u"Note: ").Text(line.Text).Close();
            break;
        }
        Rtf.Paragraph();
    }

    void Indent(bool on)
    {
        if (on == Indented)
            return;
        // The indent is the only paragraph property articles set: "\li" alone undoes it.
        Rtf.Control(on ? "li284" : "li0");
        Indented = on;
    }

private:
    TRtfWriter& Rtf;
    bool Indented = false;
};

}  // namespace

std::string BuildArticleRtf(const std::vector<const TFreedictEntry*>& senses, const TCodePageMap& map)
{
    TRtfWriter rtf = NewArticle(map);
    if (senses.empty())
        return rtf.Finish();
    // The headword at the default size of 12 points, the rest at 10.
    const TFreedictEntry& first = *senses.front();
    rtf.Open().Colour(kHeadColour).Control("b").Text(first.Headword).Close().Control("fs20");
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
        body.Indent(false);  // each sense starts at the margin; the last needs no reset at the end
        if (numbered) {
            std::u16string number;
            for (char c : std::to_string(n + 1))
                number += static_cast<char16_t>(c);
            rtf.Open().Control("b").Text(number + u".").Close().Text(u" ");
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
    }
    return rtf.Finish();
}

}  // namespace SampleData
