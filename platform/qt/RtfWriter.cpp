// RTF writer from QTextDocument, in the form a rich-edit control streams it out: the font and
// colour tables, then paragraphs with \pard and their properties, runs with the control words
// of what changed, \par after every paragraph.
#include "platform/qt/RichText.h"
#include "platform/qt/RtfCodePage.h"
#include "platform/qt/RtfDocumentBuilder.h"

#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace RichText {
namespace {

constexpr int kMaxTwips = 31680;  // 22 inches

// A measure rounded to a whole number within [low, high] (NaN gives low).
int Rounded(double value, int low, int high)
{
    if (!(value >= low))
        return low;
    if (value >= high)
        return high;
    return static_cast<int>(std::lround(value));
}

class TRtfWriter {
public:
    TRtfWriter(const QTextDocument& document, int codePage)
        : Document(document),
          CodePage(SupportedCodePage(codePage)),
          Table(CodePageTable(CodePage))
    {
    }

    std::string Write()
    {
        CollectTables();
        Out = "{\\rtf1\\ansi\\ansicpg" + std::to_string(CodePage) + "\\deff0\\deflang1033{\\fonttbl";
        for (std::size_t i = 0; i < FontNames.size(); ++i) {
            Out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + std::to_string(CharsetOfCodePage(CodePage)) + ' ';
            NeedDelimiter = false;
            Text(QString(FontNames[i]).remove(QChar(u';')));
            Out += ";}";
        }
        Out += "}\r\n";
        if (Colours.size() > 0) {
            Out += "{\\colortbl ;";
            for (const QColor& c : Colours)
                Out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) + "\\blue"
                    + std::to_string(c.blue()) + ';';
            Out += "}\r\n";
        }
        Out += "\\viewkind4\\uc1";
        NeedDelimiter = true;
        bool first = true;
        TRtfParaProps para;
        for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
            const TRtfParaProps props = ParaOf(block);
            if (first || !(props == para))
                Paragraph(props);
            para = props;
            first = false;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid())
                    continue;
                Character(CharOf(fragment.charFormat()));
                IsObject = fragment.charFormat().objectType() != QTextFormat::NoObject;
                Text(fragment.text());
                IsObject = false;
            }
            if (block.text().isEmpty())
                Character(CharOf(block.charFormat()));
            Out += "\\par\r\n";
            NeedDelimiter = false;
        }
        Out += "}\r\n";
        return std::move(Out);
    }

private:
    // ---- tables
    QString FamilyOf(const QTextCharFormat& f) const
    {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.front().isEmpty())
            return families.front();
        return Document.defaultFont().family();
    }

    int FontIndex(const QString& family)
    {
        const auto it = std::find(FontNames.begin(), FontNames.end(), family);
        if (it != FontNames.end())
            return static_cast<int>(it - FontNames.begin());
        FontNames.push_back(family);
        return static_cast<int>(FontNames.size() - 1);
    }

    int ColourIndex(const QTextCharFormat& f)
    {
        if (!f.hasProperty(QTextFormat::ForegroundBrush) || f.foreground().style() == Qt::NoBrush)
            return 0;
        const QColor c = f.foreground().color().toRgb();
        const auto it = std::find(Colours.begin(), Colours.end(), QColor(c.red(), c.green(), c.blue()));
        if (it != Colours.end())
            return static_cast<int>(it - Colours.begin()) + 1;
        Colours.push_back(QColor(c.red(), c.green(), c.blue()));
        return static_cast<int>(Colours.size());
    }

    // Fonts and colours in the order the text first uses them.
    void CollectTables()
    {
        for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
            if (block.text().isEmpty())
                FontIndex(FamilyOf(block.charFormat()));
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (!it.fragment().isValid())
                    continue;
                FontIndex(FamilyOf(it.fragment().charFormat()));
                ColourIndex(it.fragment().charFormat());
            }
        }
        if (FontNames.empty())
            FontIndex(Document.defaultFont().family());
    }

    // ---- properties
    TRtfCharProps CharOf(const QTextCharFormat& f)
    {
        TRtfCharProps p;
        p.Font = FontIndex(FamilyOf(f));
        double points = f.fontPointSize();
        if (points <= 0)
            points = Document.defaultFont().pointSizeF();
        if (points <= 0)
            points = 10;
        p.HalfPoints = Rounded(points * 2, 2, 3276);
        p.Bold = f.fontWeight() >= QFont::DemiBold;
        p.Italic = f.fontItalic();
        p.Underline = f.fontUnderline();
        p.Strike = f.fontStrikeOut();
        p.Colour = ColourIndex(f);
        return p;
    }

    TRtfParaProps ParaOf(const QTextBlock& block) const
    {
        const QTextBlockFormat f = block.blockFormat();
        TRtfParaProps p;
        const Qt::Alignment h = f.alignment() & Qt::AlignHorizontal_Mask;
        if (h & Qt::AlignHCenter)
            p.Align = Qt::AlignHCenter;
        else if (h & Qt::AlignJustify)
            p.Align = Qt::AlignJustify;
        else if (h & Qt::AlignRight)
            p.Align = Qt::AlignRight;
        double left = f.leftMargin() + f.indent() * Document.indentWidth();
        if (const QTextList* list = block.textList()) {
            const QTextListFormat::Style style = list->format().style();
            p.List = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                    || style == QTextListFormat::ListSquare
                ? TRtfList::Bullet
                : TRtfList::Decimal;
            left += std::max(1, list->format().indent()) * Document.indentWidth();
            p.LeftIndent = Rounded(left * kTwipsPerPixel, 0, kMaxTwips);
            p.FirstIndent = -std::min(p.LeftIndent, 360);
        } else {
            p.LeftIndent = Rounded(left * kTwipsPerPixel, -kMaxTwips, kMaxTwips);
            p.FirstIndent = Rounded(f.textIndent() * kTwipsPerPixel, -kMaxTwips, kMaxTwips);
        }
        return p;
    }

    // ---- output
    void Control(const std::string& word)
    {
        Out += '\\';
        Out += word;
        NeedDelimiter = true;
    }

    void Paragraph(const TRtfParaProps& p)
    {
        Control("pard");
        if (p.List == TRtfList::Bullet)
            Out += "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'b7}}";
        else if (p.List == TRtfList::Decimal)
            Out += "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}";
        if (p.FirstIndent != 0)
            Control("fi" + std::to_string(p.FirstIndent));
        if (p.LeftIndent != 0)
            Control("li" + std::to_string(p.LeftIndent));
        if (p.Align == Qt::AlignHCenter)
            Control("qc");
        else if (p.Align == Qt::AlignRight)
            Control("qr");
        else if (p.Align == Qt::AlignJustify)
            Control("qj");
    }

    // The control words of what differs from the current character properties.
    void Character(const TRtfCharProps& p)
    {
        if (p == Current)
            return;
        auto toggle = [&](bool now, bool before, const char* word) {
            if (now != before)
                Control(now ? word : std::string(word) + "0");
        };
        if (p.Font != Current.Font)
            Control("f" + std::to_string(p.Font));
        if (p.HalfPoints != Current.HalfPoints)
            Control("fs" + std::to_string(p.HalfPoints));
        if (p.Colour != Current.Colour)
            Control("cf" + std::to_string(p.Colour));
        toggle(p.Bold, Current.Bold, "b");
        toggle(p.Italic, Current.Italic, "i");
        if (p.Underline != Current.Underline)
            Control(p.Underline ? "ul" : "ulnone");
        toggle(p.Strike, Current.Strike, "strike");
        Current = p;
    }

    void Text(const QString& text)
    {
        static const char hex[] = "0123456789abcdef";
        for (const QChar qc : text) {
            const char16_t c = qc.unicode();
            if (c == u'\t' || c == 0x2028 || c == 0x2029 || c == QChar::LineFeed) {
                Control(c == u'\t' ? "tab" : "line");
                continue;
            }
            if (c < 0x20 || (c == QChar::ObjectReplacementCharacter && IsObject))
                continue;  // control characters; pictures and objects are not written
            if (c < 0x7F) {
                if (NeedDelimiter)
                    Out += ' ';
                NeedDelimiter = false;
                if (c == u'\\' || c == u'{' || c == u'}')
                    Out += '\\';
                Out += static_cast<char>(c);
                continue;
            }
            Out += "\\u" + std::to_string(static_cast<std::int16_t>(c));
            if (const std::uint8_t b = Table.ByteOf(c)) {
                Out += "\\'";
                Out += hex[b >> 4];
                Out += hex[b & 15];
            } else {
                Out += '?';
            }
            NeedDelimiter = false;
        }
    }

    const QTextDocument& Document;
    int CodePage;
    const TCodePageTable& Table;
    std::string Out;
    bool NeedDelimiter = false;
    bool IsObject = false;  // the text being written is an object's placeholder
    std::vector<QString> FontNames;
    std::vector<QColor> Colours;
    TRtfCharProps Current{.Font = -1, .HalfPoints = -1};  // what the reader has before the first run
};

}  // namespace

std::string WriteRtf(const QTextDocument& document, int codePage)
{
    return TRtfWriter(document, codePage).Write();
}

}  // namespace RichText
