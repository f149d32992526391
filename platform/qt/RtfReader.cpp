// RTF reader into QTextDocument, as a rich-edit control reads RTF: the font and colour tables,
// \ansicpg and \fcharset code pages, \'hh, \uN with \ucN, character and paragraph formats,
// bullets. Unknown control words and destinations are skipped; nothing in the input is fatal.
#include "platform/Locale.h"
#include "platform/qt/RichText.h"
#include "platform/qt/RtfCodePage.h"
#include "platform/qt/RtfDocumentBuilder.h"
#include "platform/qt/RtfKeywords.h"

#include <QString>
#include <QTextDocument>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace RichText {
namespace {

// Deeper groups share the state of the deepest one, so no input can exhaust memory or stack.
constexpr std::size_t kMaxDepth = 300;

enum class TDest : std::uint8_t { Text, Skip, FontTable, ColourTable, Pn };

struct TGroupState {
    TRtfCharProps Char;
    TRtfParaProps Para;
    TDest Dest = TDest::Text;
    int UcSkip = 1;
    TRtfList PnList = TRtfList::None;  // the bullet kind a \pn group names
};

struct TToken {
    std::string_view Word;  // empty for a control symbol
    char Symbol = 0;
    bool HasParam = false;
    int Param = 0;
};

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class TRtfReader {
public:
    TRtfReader(std::string_view rtf, QTextDocument& document)
        : In(rtf),
          Builder(document, Tables)
    {
    }

    void Read()
    {
        while (Pos < In.size() && !Done) {
            const char c = In[Pos];
            if (c == '{') {
                ++Pos;
                PendingSkip = 0;
                OpenGroup();
            } else if (c == '}') {
                ++Pos;
                PendingSkip = 0;
                CloseGroup();
            } else if (c == '\\') {
                ++Pos;
                Control();
            } else if (c == '\r' || c == '\n') {
                ++Pos;
            } else {
                TextBytes();
            }
        }
        CommitFontName();
        Builder.Finish(St.Para, St.Char);
    }

private:
    // ---- groups
    void OpenGroup()
    {
        Ignorable = false;
        if (Stack.size() >= kMaxDepth) {
            ++Overflow;
            return;
        }
        Stack.push_back(St);
    }

    void CloseGroup()
    {
        Ignorable = false;
        if (Overflow > 0) {
            --Overflow;
            return;
        }
        if (Stack.empty()) {
            Done = true;  // the document's group has closed; what follows is not read
            return;
        }
        const TGroupState inner = St;
        St = Stack.back();
        Stack.pop_back();
        if (inner.Dest == TDest::FontTable) {
            CommitFontName();
            Builder.TablesChanged();
        } else if (inner.Dest == TDest::ColourTable) {
            Builder.TablesChanged();
        } else if (inner.Dest == TDest::Pn && St.Dest == TDest::Text && inner.PnList != TRtfList::None) {
            St.Para.List = inner.PnList;
        }
        if (Stack.empty() && Overflow == 0 && St.Dest != TDest::Text)
            St.Dest = TDest::Text;
    }

    // ---- text
    int CurrentCodePage()
    {
        const int number = St.Char.Font >= 0 ? St.Char.Font : Tables.DefaultFont;
        const auto it = Tables.Fonts.find(number);
        return CodePageOfCharset(it != Tables.Fonts.end() ? it->second.Charset : 1, Tables.AnsiCodePage);
    }

    // A run of plain bytes up to the next brace, backslash or line end.
    void TextBytes()
    {
        std::size_t end = Pos;
        while (end < In.size() && In[end] != '{' && In[end] != '}' && In[end] != '\\' && In[end] != '\r'
               && In[end] != '\n')
            ++end;
        std::string_view bytes = In.substr(Pos, end - Pos);
        Pos = end;
        const std::size_t skipped = std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(PendingSkip));
        PendingSkip -= static_cast<int>(skipped);
        bytes.remove_prefix(skipped);
        if (bytes.empty())
            return;
        if (St.Dest == TDest::FontTable) {
            for (char b : bytes)
                FontByte(static_cast<std::uint8_t>(b));
            return;
        }
        if (St.Dest == TDest::ColourTable) {
            for (char b : bytes)
                if (b == ';')
                    CommitColour();
            return;
        }
        if (St.Dest != TDest::Text)
            return;
        const TCodePageTable& table = CodePageTable(CurrentCodePage());
        Scratch.resize(0);
        for (char b : bytes) {
            const auto u = static_cast<std::uint8_t>(b);
            if (u == '\t')
                Scratch += QChar(u'\t');
            else if (u >= 0x20)
                Scratch += QChar(table.ToWide[u]);
        }
        Builder.Text(Scratch, St.Char);
    }

    void Char(char16_t c)
    {
        if (St.Dest == TDest::FontTable) {
            if (!FontNameDone && FontEntry)
                FontEntry->Name += QChar(c);
            return;
        }
        if (St.Dest != TDest::Text)
            return;
        if (c < 0x20 && c != u'\t' && c != 0x2028)
            return;
        Builder.Text(c, St.Char);
    }

    void Byte(std::uint8_t b)
    {
        if (St.Dest == TDest::FontTable) {
            FontByte(b);
            return;
        }
        Char(CodePageTable(CurrentCodePage()).ToWide[b]);
    }

    void Unicode(int n)
    {
        if (n < 0)
            n += 65536;
        if (n >= 0x10000 && n <= 0x10FFFF) {
            Char(static_cast<char16_t>(0xD800 + ((n - 0x10000) >> 10)));
            Char(static_cast<char16_t>(0xDC00 + ((n - 0x10000) & 0x3FF)));
        } else if (n >= 0 && n < 0x10000) {
            Char(static_cast<char16_t>(n));
        } else {
            Char(u'\uFFFD');
        }
    }

    // ---- font and colour tables
    void FontByte(std::uint8_t b)
    {
        if (b == ';') {
            CommitFontName();
            return;
        }
        if (!FontEntry || FontNameDone || b < 0x20)
            return;
        FontEntry->Name += QChar(CodePageTable(CodePageOfCharset(FontEntry->Charset, Tables.AnsiCodePage)).ToWide[b]);
    }

    void CommitFontName()
    {
        if (FontEntry && !FontNameDone) {
            FontEntry->Name = FontEntry->Name.trimmed();
            FontNameDone = true;
        }
    }

    void CommitColour()
    {
        if (Tables.Colours.size() >= 4096)
            return;
        Tables.Colours.push_back(ColourSet ? QColor(Red, Green, Blue) : QColor());
        Red = Green = Blue = 0;
        ColourSet = false;
    }

    // ---- control words
    TToken ReadToken()
    {
        TToken t;
        if (Pos >= In.size())
            return t;
        if (!IsLetter(In[Pos])) {
            t.Symbol = In[Pos++];
            return t;
        }
        const std::size_t start = Pos;
        while (Pos < In.size() && IsLetter(In[Pos]))
            ++Pos;
        t.Word = In.substr(start, std::min<std::size_t>(Pos - start, 32));
        bool negative = false;
        if (Pos + 1 < In.size() && In[Pos] == '-' && IsDigit(In[Pos + 1])) {
            negative = true;
            ++Pos;
        }
        if (Pos < In.size() && IsDigit(In[Pos])) {
            std::int64_t v = 0;
            while (Pos < In.size() && IsDigit(In[Pos])) {
                v = std::min<std::int64_t>(v * 10 + (In[Pos] - '0'), 2000000000);
                ++Pos;
            }
            t.HasParam = true;
            t.Param = static_cast<int>(negative ? -v : v);
        }
        if (Pos < In.size() && In[Pos] == ' ')
            ++Pos;
        return t;
    }

    void Control()
    {
        const TToken t = ReadToken();
        if (t.Word.empty() && t.Symbol == 0)
            return;  // a backslash at the end of the input
        if (t.Word == "bin") {
            // Binary data: skipped wherever it stands.
            const std::size_t n = t.HasParam && t.Param > 0 ? static_cast<std::size_t>(t.Param) : 0;
            Pos += std::min(n, In.size() - Pos);
            if (PendingSkip > 0)
                --PendingSkip;
            return;
        }
        if (t.Symbol == '\'') {
            int value = -1;
            if (Pos + 1 < In.size() && HexValue(In[Pos]) >= 0 && HexValue(In[Pos + 1]) >= 0)
                value = HexValue(In[Pos]) * 16 + HexValue(In[Pos + 1]);
            if (value >= 0)
                Pos += 2;
            if (PendingSkip > 0) {
                --PendingSkip;
                return;
            }
            if (value >= 0 && St.Dest != TDest::Skip)
                Byte(static_cast<std::uint8_t>(value));
            return;
        }
        if (PendingSkip > 0) {
            --PendingSkip;
            return;
        }
        if (!t.Word.empty())
            Word(t);
        else
            Symbol(t.Symbol);
    }

    void Symbol(char s)
    {
        if (s == '*') {
            Ignorable = true;
            return;
        }
        Ignorable = false;
        if (St.Dest == TDest::Skip)
            return;
        switch (s) {
        case '\\':
        case '{':
        case '}':
            if (St.Dest == TDest::FontTable)
                FontByte(static_cast<std::uint8_t>(s));
            else
                Char(static_cast<char16_t>(s));
            break;
        case '~':
            Char(u'\u00A0');
            break;
        case '-':
            Char(u'\u00AD');
            break;
        case '_':
            Char(u'\u2011');
            break;
        case '\r':
        case '\n':
            if (St.Dest == TDest::Text)
                Builder.Paragraph(St.Para, St.Char);
            break;
        default:
            break;
        }
    }

    void Word(const TToken& t)
    {
        const bool ignorable = Ignorable;
        Ignorable = false;
        if (St.Dest == TDest::Skip)
            return;
        const TKeyword k = FindKeyword(t.Word);
        const int p = t.Param;
        const bool on = !t.HasParam || p != 0;
        if (k == TKeyword::Unknown) {
            if (ignorable)
                St.Dest = TDest::Skip;
            return;
        }
        if (k == TKeyword::SkipDestination) {
            St.Dest = TDest::Skip;
            return;
        }
        switch (St.Dest) {
        case TDest::FontTable:
            FontTableWord(k, t);
            return;
        case TDest::ColourTable:
            if (k == TKeyword::Red || k == TKeyword::Green || k == TKeyword::Blue) {
                (k == TKeyword::Red ? Red : k == TKeyword::Green ? Green : Blue) = std::clamp(p, 0, 255);
                ColourSet = true;
            }
            return;
        case TDest::Pn:
            if (k == TKeyword::PnBullet)
                St.PnList = TRtfList::Bullet;
            else if (k == TKeyword::PnNumbered && St.PnList == TRtfList::None)
                St.PnList = TRtfList::Decimal;
            return;
        default:
            break;
        }
        switch (k) {
        case TKeyword::FontTable:
            St.Dest = TDest::FontTable;
            FontEntry = nullptr;
            break;
        case TKeyword::ColourTable:
            St.Dest = TDest::ColourTable;
            Tables.Colours.clear();
            Red = Green = Blue = 0;
            ColourSet = false;
            break;
        case TKeyword::Pn:
            St.Dest = TDest::Pn;
            St.PnList = TRtfList::None;
            break;
        case TKeyword::AnsiCodePage:
            Tables.AnsiCodePage = SupportedCodePage(p);
            break;
        case TKeyword::DefaultFont:
            Tables.DefaultFont = p;
            Builder.TablesChanged();
            break;
        case TKeyword::Uc:
            St.UcSkip = std::clamp(p, 0, 8);
            break;
        case TKeyword::U:
            Unicode(p);
            PendingSkip = St.UcSkip;
            break;
        case TKeyword::Plain:
            St.Char = TRtfCharProps{};
            break;
        case TKeyword::Pard:
            St.Para = TRtfParaProps{};
            break;
        case TKeyword::Par:
            Builder.Paragraph(St.Para, St.Char);
            break;
        case TKeyword::Line:
            Char(u'\u2028');
            break;
        case TKeyword::Tab:
            Char(u'\t');
            break;
        case TKeyword::Character:
            Char(KeywordCharacter(t.Word));
            break;
        case TKeyword::Bold:
            St.Char.Bold = on;
            break;
        case TKeyword::Italic:
            St.Char.Italic = on;
            break;
        case TKeyword::Underline:
            St.Char.Underline = on;
            break;
        case TKeyword::UnderlineNone:
            St.Char.Underline = false;
            break;
        case TKeyword::Strike:
            St.Char.Strike = on;
            break;
        case TKeyword::Font:
            St.Char.Font = t.HasParam ? p : -1;
            break;
        case TKeyword::FontSize:
            St.Char.HalfPoints = t.HasParam && p > 0 ? std::min(p, 3276) : 24;
            break;
        case TKeyword::Colour:
            St.Char.Colour = std::max(p, 0);
            break;
        case TKeyword::AlignLeft:
            St.Para.Align = Qt::AlignLeft;
            break;
        case TKeyword::AlignCentre:
            St.Para.Align = Qt::AlignHCenter;
            break;
        case TKeyword::AlignRight:
            St.Para.Align = Qt::AlignRight;
            break;
        case TKeyword::AlignJustify:
            St.Para.Align = Qt::AlignJustify;
            break;
        case TKeyword::LeftIndent:
            St.Para.LeftIndent = p;
            break;
        case TKeyword::FirstIndent:
            St.Para.FirstIndent = p;
            break;
        case TKeyword::ListMember:
            St.Para.List = p > 0 ? TRtfList::Bullet : TRtfList::None;
            break;
        default:
            break;
        }
    }

    void FontTableWord(TKeyword k, const TToken& t)
    {
        if (k == TKeyword::Font && t.HasParam) {
            CommitFontName();
            FontEntry = &Tables.Fonts[t.Param];
            FontEntry->Name.clear();
            FontNameDone = false;
        } else if (k == TKeyword::FontCharset && FontEntry) {
            FontEntry->Charset = t.Param;
        } else if (k == TKeyword::U && FontEntry) {
            Unicode(t.Param);
            PendingSkip = St.UcSkip;
        }
    }

    std::string_view In;
    std::size_t Pos = 0;
    bool Done = false;
    TRtfTables Tables;
    TRtfDocumentBuilder Builder;
    TGroupState St;
    std::vector<TGroupState> Stack;
    std::size_t Overflow = 0;
    bool Ignorable = false;  // "\*" was read: an unknown destination that follows is skipped
    int PendingSkip = 0;     // fallback characters of the last \uN still to skip
    TRtfFont* FontEntry = nullptr;
    bool FontNameDone = true;
    int Red = 0, Green = 0, Blue = 0;
    bool ColourSet = false;
    QString Scratch;
};

// Without a page the document's layout rests while the old text goes and the new one comes;
// given its page again, it lays out the new text once, at the width it will be shown at, first
// as far as a view shows it. A view then sees one change of size, not an empty document between
// two texts (which would hide and show its scroll bar and lay the text out three times).
class TRestingLayout {
public:
    explicit TRestingLayout(QTextDocument& document)
        : Document(document),
          Page(document.pageSize())
    {
        Document.setPageSize(QSizeF(0, 0));  // a null page: no layout at all
    }
    ~TRestingLayout() { Document.setPageSize(Page); }
    TRestingLayout(const TRestingLayout&) = delete;
    TRestingLayout& operator=(const TRestingLayout&) = delete;

private:
    QTextDocument& Document;
    QSizeF Page;
};

bool IsRtf(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    return text.substr(i, 5) == "{\\rtf";
}

}  // namespace

bool ReadRtf(std::string_view rtf, QTextDocument& document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    bool isRtf = IsRtf(rtf);
    if (isRtf) {
        const TRestingLayout resting(document);
        TRtfReader reader(rtf, document);
        reader.Read();
    } else {
        // Not rich text: the bytes as plain text in the system code page, lines as paragraphs.
        QString text;
        try {
            text = QString::fromStdU16String(Platform::AnsiToWide(rtf, 0));
        } catch (const Platform::ECodePageError&) {
            text = QString::fromLatin1(rtf.data(), static_cast<qsizetype>(rtf.size()));
        }
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QChar(u'\r'), QChar(u'\n'));
        text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\n' && c != u'\t'; });
        document.setPlainText(text);
    }
    document.setUndoRedoEnabled(undo);
    return isRtf;
}

}  // namespace RichText
