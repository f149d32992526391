// The RTF reader on texts in the style a Windows rich edit writes them, on code pages, on
// unknown and damaged input.
#include "RichTextTestSupport.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextList>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace RichTextTest;

namespace {

// What a Russian Windows rich edit streams out: \fcharset204 fonts, \'hh in 1251, a Symbol font
// for its bullets, a generator destination.
const std::string kRussianRichEdit =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fcharset204{\\*\\fname Arial;}Arial "
    "CYR;}{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\froman\\fcharset204{\\*\\fname Times New Roman;}Times New Roman "
    "CYR;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs20\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, "
    "\\b\\'ec\\'e8\\'f0\\b0 !\\par\r\n"
    "\\pard\\qc\\cf1\\i\\f2\\fs28\\'ea\\'f0\\'e0\\'f1\\'ed\\'fb\\'e9\\cf0\\i0\\f0\\fs20\\par\r\n"
    "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-720\\li720\\ul "
    "\\'ee\\'e4\\'e8\\'ed\\ulnone\\par\r\n"
    "{\\pntext\\f1\\'b7\\tab}\\strike \\'e4\\'e2\\'e0\\strike0\\par\r\n"
    "\\pard\\li1440 \\cf2\\'f2\\'f0\\'e8\\cf0\\tab x\\line y\\par\r\n"
    "}\r\n";

TEST(RichTextReader, RussianRichEditTextKeepsTextAndFormats)
{
    bool isRtf = false;
    const auto doc = Read(kRussianRichEdit, &isRtf);
    EXPECT_TRUE(isRtf);
    const std::vector<QString> blocks = Blocks(*doc);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[0], QString::fromUtf8("Привет, мир!"));
    EXPECT_EQ(blocks[1], QString::fromUtf8("красный"));
    EXPECT_EQ(blocks[2], QString::fromUtf8("один"));
    EXPECT_EQ(blocks[3], QString::fromUtf8("два"));
    EXPECT_EQ(blocks[4], QString::fromUtf8("три\tx\u2028y"));

    const QTextCharFormat hello = FormatOf(*doc, QString::fromUtf8("Привет"));
    EXPECT_EQ(Family(hello), "Arial CYR");
    EXPECT_DOUBLE_EQ(hello.fontPointSize(), 10.0);
    EXPECT_EQ(hello.fontWeight(), QFont::Normal);
    EXPECT_FALSE(Colour(hello).isValid());
    EXPECT_EQ(FormatOf(*doc, QString::fromUtf8("мир")).fontWeight(), QFont::Bold);

    const QTextCharFormat red = FormatOf(*doc, QString::fromUtf8("красный"));
    EXPECT_EQ(Colour(red), QColor(255, 0, 0));
    EXPECT_TRUE(red.fontItalic());
    EXPECT_DOUBLE_EQ(red.fontPointSize(), 14.0);
    EXPECT_EQ(Family(red), "Times New Roman CYR");
    EXPECT_TRUE(FormatOf(*doc, QString::fromUtf8("один")).fontUnderline());
    EXPECT_TRUE(FormatOf(*doc, QString::fromUtf8("два")).fontStrikeOut());
    EXPECT_FALSE(FormatOf(*doc, QString::fromUtf8("два")).fontUnderline());
    EXPECT_EQ(Colour(FormatOf(*doc, QString::fromUtf8("три"))), QColor(0, 0, 128));

    QTextBlock b = doc->begin();
    EXPECT_FALSE(b.textList());
    b = b.next();
    EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    b = b.next();
    ASSERT_TRUE(b.textList());
    EXPECT_EQ(b.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft) << "\\pard ended the centring";
    const QTextList* list = b.textList();
    b = b.next();
    EXPECT_EQ(b.textList(), list) << "both bullets are one list";
    b = b.next();
    EXPECT_FALSE(b.textList());
    EXPECT_DOUBLE_EQ(b.blockFormat().leftMargin(), 96.0);  // one inch
}

TEST(RichTextReader, CodePagesFollowAnsiCpgAndFontCharsets)
{
    // 1252 and 1254 by \ansicpg; in a 1251 document a font of charset 0 reads 1252 and one of
    // charset 162 reads 1254, one of the default charset the document's page.
    const auto western = Read("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\f0 caf\\'e9 "
                              "\\'80 na\\'efve\\par}");
    EXPECT_EQ(western->toPlainText(), QString::fromUtf8("café € naïve"));
    const auto turkish = Read("{\\rtf1\\ansi\\ansicpg1254\\deff0{\\fonttbl{\\f0\\fnil\\fcharset162 Tahoma;}}"
                              "\\f0 \\'fe\\'f0\\'fd\\'dd\\'de\\'d0\\par}");
    EXPECT_EQ(turkish->toPlainText(), QString::fromUtf8("şğıİŞĞ"));
    const auto mixed = Read("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                            "{\\f1\\fnil\\fcharset162 Tahoma;}{\\f2\\fnil\\fcharset1 Verdana;}{\\f3\\fnil\\fcharset204 "
                            "Arial;}}\\f0\\'e9\\f1\\'fd\\f2\\'e9\\f3\\'e9\\plain\\'e9}");
    EXPECT_EQ(mixed->toPlainText(), QString::fromUtf8("éıййé"));
    // Raw 8-bit bytes are read in the same page as \'hh.
    const auto raw = Read("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}");
    EXPECT_EQ(raw->toPlainText(), QString::fromUtf8("При"));
}

TEST(RichTextReader, UnicodeEscapesWithTheirFallbacks)
{
    // Negative values, a surrogate pair, \uc2 and \uc0, a fallback cut short by a group end.
    const auto doc = Read("{\\rtf1\\ansi\\uc1 \\u1046?\\u-10179?\\u-8704?\\u-4064?x{\\uc2\\u1078\\'3f\\'3fy}"
                          "\\uc0\\u1079 z{\\u1080}w\\u8212\\'97v}");
    // Under \uc0 nothing is skipped: the \'97 after \u8212 is a second dash.
    EXPECT_EQ(doc->toPlainText(), QString::fromUtf8("Ж\U0001F600\uF020xжyзzиw——v"));
    // A lone surrogate shows as a replacement character, not as broken UTF-16.
    EXPECT_EQ(Read("{\\rtf1 a\\u-10179?b}")->toPlainText(), QString::fromUtf8("a\uFFFDb"));
}

TEST(RichTextReader, UnknownWordsAndDestinationsAreSkipped)
{
    const auto doc =
        Read("{\\rtf1\\ansi{\\*\\unknowndest hidden {\\b nested}}\\frobnicate42 A{\\info{\\title T}{\\author W}}"
             "{\\stylesheet{\\s0 Normal;}}{\\pict\\wmetafile8 0a0b0c}B{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt "
             "C}}\\bin3 {}\\D{\\*\\bkmkstart m}E\\emdash\\bullet\\ldblquote\\~\\_\\{\\}\\\\\\par}");
    EXPECT_EQ(doc->begin().text(), QString::fromUtf8("ABCDE—•“\u00A0\u2011{}\\"));
}

TEST(RichTextReader, ParagraphsLikeARichEdit)
{
    // The last \par ends the last paragraph and opens no empty one; an empty paragraph before
    // it stays.
    EXPECT_EQ(Blocks(*Read("{\\rtf1 a\\par}")), std::vector<QString>{"a"});
    EXPECT_EQ(Blocks(*Read("{\\rtf1 a\\par\\par}")), (std::vector<QString>{"a", ""}));
    EXPECT_EQ(Blocks(*Read("{\\rtf1 a\\par b}")), (std::vector<QString>{"a", "b"}));
    // Paragraph properties belong to the paragraph they end; \pard resets them.
    const auto doc = Read("{\\rtf1 \\qr r\\par\\pard\\qj j\\par\\pard l\\par\\pard\\li300\\fi-150 i\\par}");
    QTextBlock b = doc->begin();
    EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ((b = b.next()).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ((b = b.next()).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    b = b.next();
    EXPECT_DOUBLE_EQ(b.blockFormat().leftMargin(), 20.0);
    EXPECT_DOUBLE_EQ(b.blockFormat().textIndent(), -10.0);
    // \plain returns to the default character format, a group end to the outer one.
    const auto plain = Read("{\\rtf1 \\b\\i\\fs40 x{\\ul y}z\\plain w}");
    EXPECT_TRUE(FormatOf(*plain, "z").fontItalic());
    EXPECT_FALSE(FormatOf(*plain, "z").fontUnderline());
    EXPECT_TRUE(FormatOf(*plain, "y").fontUnderline());
    EXPECT_FALSE(FormatOf(*plain, "w").fontItalic());
    EXPECT_DOUBLE_EQ(FormatOf(*plain, "w").fontPointSize(), 12.0);
}

TEST(RichTextReader, DamagedTextShowsWhatCanBeRead)
{
    EXPECT_EQ(Read("{\\rtf1\\ansi Hello {\\b world")->toPlainText(), "Hello world");
    EXPECT_EQ(FormatOf(*Read("{\\rtf1 Hello {\\b world"), "world").fontWeight(), QFont::Bold);
    EXPECT_EQ(Read("{\\rtf1 a}}}} after the end")->toPlainText(), "a");
    EXPECT_EQ(Read("{\\rtf1 a\\'4")->toPlainText(), "a4");
    EXPECT_EQ(Read("{\\rtf1 a\\'zzb\\")->toPlainText(), "azzb");
    EXPECT_EQ(Read("{\\rtf1 {\\fonttbl{\\f0 Arial")->toPlainText(), "");
    EXPECT_EQ(Read("{\\rtf1{\\colortbl;\\red300\\green-5;}\\cf1 a\\cf99 b\\f77 c\\fs-4 d\\bin999999 e}")->toPlainText(),
              "abcd");
    // Nesting far deeper than any document: read without exhausting the stack.
    const std::string deep = "{\\rtf1 " + std::string(200000, '{') + "deep" + std::string(200000, '}') + " end}";
    EXPECT_EQ(Read(deep)->toPlainText(), "deep end");
    const std::string open = "{\\rtf1 " + std::string(100000, '{') + "\\b open";
    EXPECT_EQ(Read(open)->toPlainText(), "open");
}

TEST(RichTextReader, TextThatIsNotRtfIsPlainTextInTheSystemCodePage)
{
    ::setenv("LEXORA_CODEPAGE", "1251", 1);
    bool isRtf = true;
    const auto doc = Read("\xcf\xf0\xe8\xe2\xe5\xf2\r\nline two\rthree", &isRtf);
    ::unsetenv("LEXORA_CODEPAGE");
    EXPECT_FALSE(isRtf);
    EXPECT_EQ(Blocks(*doc), (std::vector<QString>{QString::fromUtf8("Привет"), "line two", "three"}));
    EXPECT_TRUE(Read("")->isEmpty());
    EXPECT_TRUE(Read("{\\rtf1}")->isEmpty());
}

TEST(RichTextReader, ReadingReplacesTheWholeDocument)
{
    QTextDocument doc;
    RichText::ReadRtf("{\\rtf1 \\pard{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt}\\qc first\\par second}", doc);
    RichText::ReadRtf("{\\rtf1 only}", doc);
    EXPECT_EQ(doc.blockCount(), 1);
    EXPECT_EQ(doc.toPlainText(), "only");
    EXPECT_FALSE(doc.begin().textList());
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

// The layout rests while a text replaces another: a view is told of the new size once (not of
// an empty document in between), at the page it had, and the text is laid out whole.
TEST(RichTextReader, ALaidOutDocumentChangesSizeOnceAndKeepsItsPage)
{
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 200; ++i)
        rtf += "\\b word " + std::to_string(i) + "\\b0  and a line of text that wraps at the page\\par ";
    rtf += "}";
    QTextDocument doc;
    doc.setPageSize(QSizeF(200, -1));
    RichText::ReadRtf("{\\rtf1 first\\par second}", doc);
    QSignalSpy sizes(doc.documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged);
    RichText::ReadRtf(rtf, doc);
    EXPECT_EQ(sizes.count(), 1);
    EXPECT_EQ(doc.pageSize(), QSizeF(200, -1));
    EXPECT_EQ(doc.blockCount(), 200);

    QTextDocument fresh;
    fresh.setPageSize(QSizeF(200, -1));
    RichText::ReadRtf(rtf, fresh);
    EXPECT_EQ(doc.documentLayout()->documentSize(), fresh.documentLayout()->documentSize());
    EXPECT_GT(doc.documentLayout()->documentSize().height(), 200 * 2 * 10);
}

}  // namespace
