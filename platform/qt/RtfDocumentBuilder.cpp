#include "platform/qt/RtfDocumentBuilder.h"

#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace RichText {
namespace {

// Unpaired surrogates (a damaged \uN pair) become U+FFFD.
void RepairSurrogates(QString& text)
{
    const qsizetype n = text.size();
    QChar* data = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i].isHighSurrogate() && i + 1 < n && data[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (data[i].isSurrogate())
            data[i] = QChar::ReplacementCharacter;
    }
}

}  // namespace

TRtfDocumentBuilder::TRtfDocumentBuilder(QTextDocument& document, const TRtfTables& tables)
    : Document(document),
      Cursor(&document),
      Tables(tables)
{
    Document.clear();
    Cursor = QTextCursor(&Document);
    // A fresh block without the list or format the cleared document may still carry.
    Cursor.setBlockFormat(QTextBlockFormat());
    // One edit for the whole reading: the document tells its views once, at the end.
    Cursor.beginEditBlock();
}

TRtfDocumentBuilder::~TRtfDocumentBuilder()
{
    if (!Finished)
        Cursor.endEditBlock();
}

void TRtfDocumentBuilder::TablesChanged()
{
    Flush();
    HaveCached = false;
}

QTextCharFormat TRtfDocumentBuilder::FormatOf(const TRtfCharProps& props)
{
    if (HaveCached && props == CachedProps)
        return CachedFormat;
    QTextCharFormat f;
    const auto font = Tables.Fonts.find(props.Font >= 0 ? props.Font : Tables.DefaultFont);
    if (font != Tables.Fonts.end() && !font->second.Name.isEmpty())
        f.setFontFamilies(QStringList{font->second.Name});
    f.setFontPointSize(std::clamp(props.HalfPoints, 2, 3276) / 2.0);
    f.setFontWeight(props.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(props.Italic);
    f.setFontUnderline(props.Underline);
    f.setFontStrikeOut(props.Strike);
    if (props.Colour > 0 && static_cast<std::size_t>(props.Colour) < Tables.Colours.size()) {
        const QColor& c = Tables.Colours[static_cast<std::size_t>(props.Colour)];
        if (c.isValid())
            f.setForeground(c);
    }
    CachedProps = props;
    CachedFormat = f;
    HaveCached = true;
    return f;
}

void TRtfDocumentBuilder::Text(const QString& text, const TRtfCharProps& props)
{
    if (text.isEmpty())
        return;
    OpenPendingBlock();
    if (!Run.isEmpty() && !(props == RunProps))
        Flush();
    RunProps = props;
    Run += text;
}

void TRtfDocumentBuilder::Text(char16_t c, const TRtfCharProps& props)
{
    OpenPendingBlock();
    if (!Run.isEmpty() && !(props == RunProps))
        Flush();
    RunProps = props;
    Run += QChar(c);
}

void TRtfDocumentBuilder::Flush()
{
    if (Run.isEmpty())
        return;
    RepairSurrogates(Run);
    Cursor.insertText(Run, FormatOf(RunProps));
    Run.clear();
    BlockEmpty = false;
}

void TRtfDocumentBuilder::OpenPendingBlock()
{
    if (!PendingBlock)
        return;
    Cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    PendingBlock = false;
    BlockEmpty = true;
}

void TRtfDocumentBuilder::Paragraph(const TRtfParaProps& para, const TRtfCharProps& props)
{
    Flush();
    OpenPendingBlock();
    ApplyBlock(para, props);
    PendingBlock = true;
}

void TRtfDocumentBuilder::Finish(const TRtfParaProps& para, const TRtfCharProps& props)
{
    Flush();
    if (!PendingBlock)
        ApplyBlock(para, props);
    PendingBlock = false;
    if (!Finished)
        Cursor.endEditBlock();
    Finished = true;
}

void TRtfDocumentBuilder::ApplyBlock(const TRtfParaProps& para, const TRtfCharProps& props)
{
    QTextBlockFormat bf;
    bf.setAlignment(para.Align);
    const double left = std::clamp(para.LeftIndent, 0, 31680) / kTwipsPerPixel;  // at most 22 inches
    const double first = std::clamp(para.FirstIndent, -31680, 31680) / kTwipsPerPixel;
    if (para.List == TRtfList::None) {
        bf.setLeftMargin(left);
        bf.setTextIndent(std::max(first, -left));
    } else {
        // The list's one indent level holds the bullet; what lies beyond it is the margin.
        bf.setLeftMargin(std::max(0.0, left - Document.indentWidth()));
    }
    Cursor.setBlockFormat(bf);
    if (BlockEmpty)
        Cursor.setBlockCharFormat(FormatOf(props));

    const int block = Cursor.blockNumber();
    if (para.List == TRtfList::None) {
        LastList = nullptr;
        return;
    }
    if (LastList && LastListBlock == block - 1 && LastListKind == para.List && LastListIndent == para.LeftIndent) {
        LastList->add(Cursor.block());
    } else {
        QTextListFormat lf;
        lf.setStyle(para.List == TRtfList::Bullet ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
        lf.setIndent(1);
        LastList = Cursor.createList(lf);
        LastListKind = para.List;
        LastListIndent = para.LeftIndent;
    }
    LastListBlock = block;
}

}  // namespace RichText
