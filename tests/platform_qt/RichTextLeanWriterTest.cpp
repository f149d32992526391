// The sample generators' lean rich text, read back: every character that follows a control
// word without a delimiter, or a "\uN" without a fallback, stays text; indents set and undone
// with "\li" alone, and the shortened font table, give the same document.
#include "RichTextTestSupport.h"

#include "data/sample/RtfWriter.h"

#include <QFont>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace RichTextTest;
using SampleData::TCodePageMap;
using SampleData::TRtfWriter;

namespace {

TEST(RichTextLeanWriter, TextAfterEveryKindOfControlWordReadsBack)
{
    const TCodePageMap map(1252);
    TRtfWriter rtf(map, {u"Tahoma", u"Lucida Sans Unicode"}, {{0, 0, 128}, {96, 96, 96}});
    // Each text starts with what could run on into the control word before it: letters,
    // digits, a space, a hyphen, a question mark, a code-page byte, a \uN of its own.
    const std::u16string starts[] = {u"x", u"7", u" s", u"-3", u"?", u"\u00e4", u"\u0259", u"\\", u"{"};
    QString expected;
    for (const std::u16string& s : starts) {
        rtf.Control("b").Text(s).Control("b0");  // word without a number
        rtf.Colour(1).Text(s).Colour(0);         // word with a number
        rtf.Text(u"\u0259").Text(s);             // \uN
        rtf.Open().Font(1).Text(s).Close();
        expected += QString::fromStdU16String(s + s + u"\u0259" + s + s);
    }
    rtf.Paragraph().Control("li284").Text(u"1 in").Paragraph().Control("li0").Text(u"out");
    const std::string text = rtf.Finish();

    const auto doc = Read(text);
    const std::vector<QString> blocks = Blocks(*doc);
    ASSERT_EQ(blocks.size(), 3u) << text;
    EXPECT_EQ(blocks[0], expected) << text;
    EXPECT_EQ(blocks[1], "1 in");
    EXPECT_EQ(blocks[2], "out");
    EXPECT_DOUBLE_EQ(doc->findBlockByNumber(1).blockFormat().leftMargin(), 284 / 15.0);
    EXPECT_EQ(doc->findBlockByNumber(2).blockFormat(), doc->findBlockByNumber(0).blockFormat());

    const QTextCharFormat bold = FormatOf(*doc, "x");
    EXPECT_EQ(bold.fontWeight(), QFont::Bold);
    EXPECT_EQ(bold.fontFamilies().toStringList(), QStringList{"Tahoma"});
    for (const TRun& r : Runs(*doc)) {
        const QStringList family = r.Format.fontFamilies().toStringList();
        ASSERT_TRUE(family == QStringList{"Tahoma"} || family == QStringList{"Lucida Sans Unicode"}) << text;
        if (r.Format.hasProperty(QTextFormat::ForegroundBrush)) {
            EXPECT_EQ(r.Format.foreground().color(), QColor(0, 0, 128)) << text;
        }
    }
}

}  // namespace
