// Articles of the sample generators as the reader shows them: every piece of the FreeDict
// entry in its place, with the weight, slant, colour and font its kind has.
#include "RichTextArticles.h"
#include "RichTextTestSupport.h"

#include <QFont>

#include <gtest/gtest.h>

using namespace RichTextTest;
using SampleData::TBodyKind;
using SampleData::TFreedictEntry;

namespace {

const QColor kAuto;
const QColor kNavy(0, 0, 128);
const QColor kDarkRed(128, 0, 0);
const QColor kGreen(0, 102, 0);
const QColor kGrey(96, 96, 96);
const QColor kNoteGrey(120, 120, 120);

char16_t Closing(char16_t open)
{
    return open == u'<' ? u'>' : open == u'[' ? u']' : u'}';
}

struct TPiece {
    QString Text;
    bool Bold = false;
    bool Italic = false;
    QColor Colour;
};

// The pieces an entry's article shows, in order, each with the look of its kind; and the
// whole text of its head and of each body line, spaces included.
class TExpected {
public:
    std::vector<TPiece> Pieces;
    QString Head;
    std::vector<QString> Lines;

    void Add(std::u16string_view text, bool bold, bool italic, const QColor& colour)
    {
        const QString t = QString::fromStdU16String(std::u16string(text)).trimmed();
        if (!t.isEmpty())
            Pieces.push_back({t, bold, italic, colour});
    }

    // "<grammar>" and "[domain]" grey italics (the domain with its brackets), "{word}" green.
    // Returns the text as shown.
    QString Marked(std::u16string_view text)
    {
        QString shown;
        const auto show = [&](std::u16string_view t) { shown += QString::fromStdU16String(std::u16string(t)); };
        while (!text.empty()) {
            const std::size_t open = text.find_first_of(u"<[{");
            const std::size_t close =
                open == std::u16string_view::npos ? open : text.find(Closing(text[open]), open + 1);
            if (close == std::u16string_view::npos) {
                Add(text, false, false, kAuto);
                show(text);
                break;
            }
            Add(text.substr(0, open), false, false, kAuto);
            show(text.substr(0, open));
            const std::u16string_view inner = text.substr(open + 1, close - open - 1);
            if (text[open] == u'[') {
                Add(text.substr(open, close - open + 1), false, true, kGrey);
                show(text.substr(open, close - open + 1));
            } else {
                Add(inner, false, text[open] == u'<', text[open] == u'<' ? kGrey : kGreen);
                show(inner);
            }
            text.remove_prefix(close + 1);
        }
        return shown;
    }

    void Pronunciation(const std::u16string& ipa) { Add(u"/" + ipa + u"/", false, false, kDarkRed); }
};

QString Q(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

TExpected ExpectedArticle(const std::vector<TFreedictEntry>& senses)
{
    TExpected e;
    const TFreedictEntry& first = senses.front();
    bool sameGrammar = true;
    for (const TFreedictEntry& s : senses)
        sameGrammar = sameGrammar && s.Grammar == first.Grammar;
    e.Add(first.Headword, true, false, kNavy);
    e.Head = Q(first.Headword);
    if (!first.Pronunciation.empty()) {
        e.Pronunciation(first.Pronunciation);
        e.Head += " /" + Q(first.Pronunciation) + "/";
    }
    if (sameGrammar && !first.Grammar.empty()) {
        e.Add(first.Grammar, false, true, kGrey);
        e.Head += " " + Q(first.Grammar);
    }
    if (!first.HeadExtra.empty()) {
        e.Add(first.HeadExtra, false, false, kAuto);
        e.Head += " " + Q(first.HeadExtra);
    }
    for (std::size_t n = 0; n < senses.size(); ++n) {
        const TFreedictEntry& s = senses[n];
        if (senses.size() > 1)
            e.Add(QString::number(n + 1).append(u'.').toStdU16String(), true, false, kAuto);
        if (n > 0 && !s.Pronunciation.empty() && s.Pronunciation != first.Pronunciation)
            e.Pronunciation(s.Pronunciation);
        if (!sameGrammar)
            e.Add(s.Grammar, false, true, kGrey);
        if (n > 0 && s.HeadExtra != first.HeadExtra)
            e.Add(s.HeadExtra, false, false, kAuto);
        for (const SampleData::TBodyLine& line : s.Lines) {
            switch (line.Kind) {
            case TBodyKind::Translation:
                e.Lines.push_back(e.Marked(line.Text));
                break;
            case TBodyKind::Example:
                e.Add(line.Text, false, true, kAuto);
                e.Lines.push_back(Q(line.Text));
                if (!line.Translation.empty()) {
                    e.Add(u"\u2013 " + line.Translation, false, false, kAuto);
                    e.Lines.back() += " \u2013 " + Q(line.Translation);
                }
                break;
            case TBodyKind::Related: {
                const std::u16string label = (line.Label == u"see" ? u"See also" : line.Label) + u":";
                e.Add(label, false, false, kGrey);
                e.Lines.push_back(Q(label) + " " + e.Marked(line.Text));
                break;
            }
            case TBodyKind::Note:
                e.Add(u"Note: " + line.Text, false, false, kNoteGrey);
                e.Lines.push_back("Note: " + Q(line.Text));
                break;
            }
        }
    }
    return e;
}

// The document's text with the format of every character (paragraph ends as line breaks).
struct TShown {
    QString Text;
    std::vector<QTextCharFormat> Formats;
};

TShown Shown(const QTextDocument& doc)
{
    TShown s;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            s.Text += it.fragment().text();
            s.Formats.insert(s.Formats.end(), static_cast<std::size_t>(it.fragment().length()),
                             it.fragment().charFormat());
        }
        s.Text += u'\n';
        s.Formats.emplace_back();
    }
    return s;
}

TEST(RichTextArticles, EveryPieceOfTheEntryShowsInItsLook)
{
    std::size_t checked = 0;
    for (const TDictd& d :
         {TDictd{"eng-deu", 1252}, TDictd{"deu-eng", 1252}, TDictd{"eng-fra", 1254}, TDictd{"eng-rus", 1251}}) {
        for (const TSourceArticle& a : FreedictArticles(LEXORA_DICTD_DIR, d.Name, 100, d.CodePage)) {
            const auto doc = Read(a.Rtf);
            const TShown shown = Shown(*doc);
            const TExpected expected = ExpectedArticle(a.Senses);
            // Whole lines: no space lost or added next to a change of format.
            ASSERT_TRUE(shown.Text.startsWith(expected.Head + "\n")) << shown.Text.toStdString() << "\n" << a.Rtf;
            for (const QString& line : expected.Lines)
                ASSERT_TRUE(shown.Text.contains(line + "\n")) << line.toStdString() << "\n" << a.Rtf;
            qsizetype at = 0;
            bool head = true;
            for (const TPiece& piece : expected.Pieces) {
                const qsizetype pos = shown.Text.indexOf(piece.Text, at);
                ASSERT_GE(pos, 0) << "\"" << piece.Text.toStdString() << "\" missing after " << at << " in\n"
                                  << shown.Text.toStdString() << "\nof " << a.Rtf;
                if (head) {
                    ASSERT_EQ(pos, 0) << "the article starts with its headword: " << a.Rtf;
                }
                const bool pronunciation = piece.Colour == kDarkRed;
                for (qsizetype i = pos; i < pos + piece.Text.size(); ++i) {
                    const QTextCharFormat& f = shown.Formats[static_cast<std::size_t>(i)];
                    ASSERT_EQ(f.fontWeight() == QFont::Bold, piece.Bold) << piece.Text.toStdString() << "\n" << a.Rtf;
                    ASSERT_EQ(f.fontItalic(), piece.Italic) << piece.Text.toStdString() << "\n" << a.Rtf;
                    ASSERT_EQ(Colour(f), piece.Colour) << piece.Text.toStdString() << "\n" << a.Rtf;
                    ASSERT_EQ(Family(f), pronunciation ? "Lucida Sans Unicode" : "Tahoma") << a.Rtf;
                    ASSERT_DOUBLE_EQ(f.fontPointSize(), head ? 12.0 : 10.0) << a.Rtf;
                    ASSERT_FALSE(f.fontUnderline()) << a.Rtf;
                }
                at = pos + piece.Text.size();
                head = false;
            }
            ++checked;
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "no FreeDict packages in " << LEXORA_DICTD_DIR;
    EXPECT_GE(checked, 300u);
}

}  // namespace
