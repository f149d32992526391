#include "data/sample/FreedictEntry.h"

#include "platform/Locale.h"

namespace SampleData {
namespace {

std::u16string_view Trim(std::u16string_view s)
{
    while (!s.empty() && (s.front() == u' ' || s.front() == u'\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t'))
        s.remove_suffix(1);
    return s;
}

std::u16string Clean(std::string_view utf8)
{
    std::u16string wide = Platform::Utf8ToWide(utf8);
    std::u16string out;
    out.reserve(wide.size());
    for (char16_t c : wide) {
        if (c == u'\t')
            out += u' ';
        else if (c == u'\n' || c >= 0x20)
            out += c;
    }
    return out;
}

// "Synonyms: {a}, {b}" and the like: a short label of letters and spaces, then a colon.
bool SplitLabel(std::u16string_view line, std::u16string& label, std::u16string& rest)
{
    const std::size_t colon = line.find(u':');
    if (colon == std::u16string_view::npos || colon == 0 || colon > 20)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char16_t c = line[i];
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u' '))
            return false;
    }
    label.assign(line.substr(0, colon));
    rest.assign(Trim(line.substr(colon + 1)));
    return true;
}

TBodyLine ParseBodyLine(std::u16string_view raw)
{
    TBodyLine line;
    const std::u16string_view text = Trim(raw);
    std::u16string label, rest;
    if (SplitLabel(text, label, rest)) {
        if (label == u"Note") {
            line.Kind = TBodyKind::Note;
            line.Text = rest;
            return line;
        }
        if (rest.find(u'{') != std::u16string::npos) {
            line.Kind = TBodyKind::Related;
            line.Label = label;
            line.Text = rest;
            return line;
        }
    }
    if (text.size() > 1 && text.front() == u'"') {
        const std::size_t close = text.find(u"\"  - ", 1);
        if (close != std::u16string_view::npos) {
            line.Kind = TBodyKind::Example;
            line.Text.assign(text.substr(1, close - 1));
            line.Translation.assign(Trim(text.substr(close + 5)));
            return line;
        }
    }
    line.Text.assign(text);
    return line;
}

bool IsPartOfSpeech(std::u16string_view mark)
{
    static const std::u16string_view kinds[] = {u"adj", u"adv",  u"v",   u"n",    u"prep",
                                                u"int", u"pron", u"num", u"conj", u"art"};
    const std::u16string_view first = mark.substr(0, mark.find(u','));
    for (std::u16string_view k : kinds)
        if (first == k)
            return true;
    return false;
}

// Without a part of speech on the head line, the first one that a translation line names
// becomes the entry's and leaves the lines (genders and numbers of translations stay).
void LiftPartOfSpeech(TFreedictEntry& entry)
{
    if (!entry.Grammar.empty())
        return;
    for (const TBodyLine& line : entry.Lines) {
        if (line.Kind != TBodyKind::Translation)
            continue;
        for (std::size_t open = line.Text.find(u'<'); open != std::u16string::npos;
             open = line.Text.find(u'<', open + 1)) {
            const std::size_t close = line.Text.find(u'>', open);
            if (close == std::u16string::npos)
                break;
            const std::u16string mark = line.Text.substr(open + 1, close - open - 1);
            if (IsPartOfSpeech(mark)) {
                entry.Grammar = mark;
                break;
            }
        }
        if (!entry.Grammar.empty())
            break;
    }
    if (entry.Grammar.empty())
        return;
    const std::u16string mark = u"<" + entry.Grammar + u">";
    for (TBodyLine& line : entry.Lines) {
        if (line.Kind != TBodyKind::Translation)
            continue;
        for (std::size_t at = line.Text.find(mark); at != std::u16string::npos; at = line.Text.find(mark, at)) {
            std::size_t from = at;
            while (from > 0 && line.Text[from - 1] == u' ')
                --from;
            line.Text.erase(from, at + mark.size() - from);
            at = from;
        }
        line.Text.assign(Trim(line.Text));
    }
}

}  // namespace

std::u16string DisplayHeadword(std::u16string_view head)
{
    std::size_t end = head.find(u" /");
    const std::size_t grammar = head.find(u" <");
    if (grammar < end)
        end = grammar;
    return std::u16string(Trim(head.substr(0, end)));
}

TFreedictEntry ParseFreedictEntry(std::string_view utf8)
{
    const std::u16string text = Clean(utf8);
    TFreedictEntry entry;
    std::size_t lineEnd = text.find(u'\n');
    const std::u16string_view head =
        Trim(std::u16string_view(text).substr(0, lineEnd == std::u16string::npos ? text.size() : lineEnd));

    entry.Headword = DisplayHeadword(head);
    std::u16string_view rest = Trim(head.substr(std::min(head.size(), entry.Headword.size())));
    if (rest.size() > 1 && rest.front() == u'/') {
        const std::size_t close = rest.find(u'/', 1);
        if (close != std::u16string_view::npos) {
            entry.Pronunciation.assign(rest.substr(1, close - 1));
            rest = Trim(rest.substr(close + 1));
        }
    }
    if (!rest.empty() && rest.front() == u'<') {
        const std::size_t close = rest.find(u'>');
        if (close != std::u16string_view::npos) {
            entry.Grammar.assign(rest.substr(1, close - 1));
            rest = Trim(rest.substr(close + 1));
        }
    }
    entry.HeadExtra.assign(rest);

    std::size_t pos = lineEnd == std::u16string::npos ? text.size() : lineEnd + 1;
    while (pos < text.size()) {
        std::size_t end = text.find(u'\n', pos);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string_view raw = std::u16string_view(text).substr(pos, end - pos);
        pos = end + 1;
        if (!Trim(raw).empty())
            entry.Lines.push_back(ParseBodyLine(raw));
    }
    LiftPartOfSpeech(entry);
    return entry;
}

}  // namespace SampleData
