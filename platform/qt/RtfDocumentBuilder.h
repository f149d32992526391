// Builds a QTextDocument from the runs and paragraphs an RTF reader finds: character runs
// with their formats, paragraph ends with the paragraph's alignment, indents and bullets.
#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <map>
#include <vector>

class QTextDocument;
class QTextList;

namespace RichText {

// Character properties of RTF text, as the group state holds them.
struct TRtfCharProps {
    int Font = -1;        // font number, -1 the default font
    int HalfPoints = 24;  // \fsN
    int Colour = 0;       // index into the colour table, 0 automatic
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    bool operator==(const TRtfCharProps&) const = default;
};

enum class TRtfList { None, Bullet, Decimal };

struct TRtfParaProps {
    Qt::Alignment Align = Qt::AlignLeft;
    int LeftIndent = 0;   // twips
    int FirstIndent = 0;  // twips, relative to the left indent
    TRtfList List = TRtfList::None;
    bool operator==(const TRtfParaProps&) const = default;
};

struct TRtfFont {
    QString Name;
    int Charset = 1;  // default charset
};

// The document's tables: fonts by their number, colours by index (an invalid colour is the
// automatic one), the default font and the \ansicpg code page.
struct TRtfTables {
    std::map<int, TRtfFont> Fonts;
    std::vector<QColor> Colours;
    int DefaultFont = 0;
    int AnsiCodePage = 1252;
};

// Twips (1/1440 inch) and the document's pixels at 96 per inch.
constexpr double kTwipsPerPixel = 15.0;

class TRtfDocumentBuilder {
public:
    // Clears the document and writes into it until Finish.
    TRtfDocumentBuilder(QTextDocument& document, const TRtfTables& tables);
    ~TRtfDocumentBuilder();
    TRtfDocumentBuilder(const TRtfDocumentBuilder&) = delete;
    TRtfDocumentBuilder& operator=(const TRtfDocumentBuilder&) = delete;

    // The tables changed: formats are made anew from them.
    void TablesChanged();
    void Text(const QString& text, const TRtfCharProps& props);
    void Text(char16_t c, const TRtfCharProps& props);
    // Ends the paragraph with the properties it has at its end.
    void Paragraph(const TRtfParaProps& para, const TRtfCharProps& props);
    // Ends the document; a last \par with nothing after it makes no empty paragraph.
    void Finish(const TRtfParaProps& para, const TRtfCharProps& props);

private:
    void Flush();
    void OpenPendingBlock();
    void ApplyBlock(const TRtfParaProps& para, const TRtfCharProps& props);
    QTextCharFormat FormatOf(const TRtfCharProps& props);

    QTextDocument& Document;
    QTextCursor Cursor;
    const TRtfTables& Tables;
    QString Run;
    TRtfCharProps RunProps;
    bool Finished = false;
    bool PendingBlock = false;  // a \par was read: the next text opens a new block
    bool BlockEmpty = true;
    TRtfCharProps CachedProps;
    QTextCharFormat CachedFormat;
    bool HaveCached = false;
    QTextList* LastList = nullptr;  // owned by the document
    int LastListBlock = -1;
    TRtfList LastListKind = TRtfList::None;
    int LastListIndent = 0;
};

}  // namespace RichText
