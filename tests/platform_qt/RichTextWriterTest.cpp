// The RTF writer: round trips of every attribute, code pages, and RichEditToText on a real
// edit driven by keys.
#include "RichTextTestSupport.h"

#include <QFont>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace RichTextTest;

namespace {

QTextCharFormat CharFormat(const QString& family, double points)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    f.setFontPointSize(points);
    return f;
}

// A document with every attribute the writer keeps.
std::unique_ptr<QTextDocument> EveryAttribute()
{
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor c(doc.get());
    QTextCharFormat plain = CharFormat("Tahoma", 10);
    QTextCharFormat head = CharFormat("Tahoma", 12);
    head.setFontWeight(QFont::Bold);
    head.setForeground(QColor(0, 0, 128));
    c.insertText("headword", head);
    QTextCharFormat ipa = CharFormat("Lucida Sans Unicode", 10);
    ipa.setForeground(QColor(128, 0, 0));
    c.insertText(QString::fromUtf8(" /\u02c8h\u025bd/ "), ipa);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    c.insertText("noun", italic);

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centred, plain);
    QTextCharFormat under = plain;
    under.setFontUnderline(true);
    c.insertText("under", under);
    QTextCharFormat strike = CharFormat("Arial", 14.5);
    strike.setFontStrikeOut(true);
    c.insertText("strike", strike);

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    c.insertBlock(right, plain);
    c.insertText(QString::fromUtf8("tab\there\u2028line \\{braces}"), plain);

    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    justified.setLeftMargin(284 / 15.0);
    justified.setTextIndent(-10);
    c.insertBlock(justified, plain);
    c.insertText(QString::fromUtf8("Привет café şğ € \U0001F600"), plain);

    c.insertBlock(QTextBlockFormat(), plain);
    c.insertText("first bullet", plain);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    QTextList* list = c.createList(bullets);
    c.insertBlock(QTextBlockFormat(), plain);
    c.insertText("second bullet", plain);
    list->add(c.block());

    c.insertBlock(QTextBlockFormat(), plain);
    c.setBlockFormat(QTextBlockFormat());
    c.insertBlock(QTextBlockFormat(), head);
    c.insertText("last", plain);
    return doc;
}

void ExpectSameContent(const QTextDocument& a, const QTextDocument& b)
{
    ASSERT_EQ(Blocks(a), Blocks(b));
    for (QTextBlock x = a.begin(), y = b.begin(); x.isValid(); x = x.next(), y = y.next()) {
        const QString where = x.text();
        EXPECT_EQ(x.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  y.blockFormat().alignment() & Qt::AlignHorizontal_Mask)
            << where.toStdString();
        EXPECT_EQ(!x.textList(), !y.textList()) << where.toStdString();
        if (!x.textList()) {
            EXPECT_NEAR(x.blockFormat().leftMargin(), y.blockFormat().leftMargin(), 0.05) << where.toStdString();
            EXPECT_NEAR(x.blockFormat().textIndent(), y.blockFormat().textIndent(), 0.05) << where.toStdString();
        }
    }
    const std::vector<TRun> ra = Runs(a), rb = Runs(b);
    ASSERT_EQ(ra.size(), rb.size());
    for (std::size_t i = 0; i < ra.size(); ++i) {
        const QTextCharFormat &f = ra[i].Format, &g = rb[i].Format;
        const std::string where = ra[i].Text.toStdString();
        EXPECT_EQ(ra[i].Text, rb[i].Text);
        EXPECT_EQ(Family(f), Family(g)) << where;
        EXPECT_DOUBLE_EQ(f.fontPointSize(), g.fontPointSize()) << where;
        EXPECT_EQ(f.fontWeight() >= QFont::DemiBold, g.fontWeight() >= QFont::DemiBold) << where;
        EXPECT_EQ(f.fontItalic(), g.fontItalic()) << where;
        EXPECT_EQ(f.fontUnderline(), g.fontUnderline()) << where;
        EXPECT_EQ(f.fontStrikeOut(), g.fontStrikeOut()) << where;
        EXPECT_EQ(Colour(f), Colour(g)) << where;
    }
}

TEST(RichTextWriter, EveryAttributeSurvivesARoundTrip)
{
    const auto doc = EveryAttribute();
    for (int codePage : {1252, 1251, 1254}) {
        const std::string rtf = RichText::WriteRtf(*doc, codePage);
        const auto back = Read(rtf);
        ExpectSameContent(*doc, *back);
        // Writing what was read gives the same text again.
        EXPECT_EQ(RichText::WriteRtf(*back, codePage), rtf);
    }
    const auto back = Read(RichText::WriteRtf(*doc));
    QTextBlock b = back->begin();
    for (int i = 0; i < 4; ++i)
        b = b.next();
    ASSERT_TRUE(b.textList());
    EXPECT_EQ(b.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(b.next().textList(), b.textList());
    EXPECT_FALSE(b.next().next().textList());
}

TEST(RichTextWriter, NonAsciiAsUnicodeWithTheCodePageByte)
{
    QTextDocument doc;
    doc.setPlainText(QString::fromUtf8("Жж é ş ж€"));
    const std::string cyrillic = RichText::WriteRtf(doc, 1251);
    EXPECT_NE(cyrillic.find("\\ansicpg1251"), std::string::npos);
    EXPECT_NE(cyrillic.find("\\fcharset204"), std::string::npos);
    EXPECT_NE(cyrillic.find("\\u1046\\'c6\\u1078\\'e6"), std::string::npos) << cyrillic;
    EXPECT_NE(cyrillic.find("\\u233?"), std::string::npos) << "é is not in 1251";
    const std::string western = RichText::WriteRtf(doc, 1252);
    EXPECT_NE(western.find("\\fcharset0"), std::string::npos);
    EXPECT_NE(western.find("\\u233\\'e9"), std::string::npos);
    EXPECT_NE(western.find("\\u8364\\'80"), std::string::npos);
    const std::string turkish = RichText::WriteRtf(doc, 1254);
    EXPECT_NE(turkish.find("\\fcharset162"), std::string::npos);
    EXPECT_NE(turkish.find("\\u351\\'fe"), std::string::npos);
    for (const std::string& rtf : {cyrillic, western, turkish}) {
        EXPECT_EQ(Read(rtf)->toPlainText(), doc.toPlainText());
        for (char ch : rtf)
            EXPECT_GT(static_cast<unsigned char>(ch), 0) << "7-bit output";
    }
    // A reader that knows no \uN takes the fallback byte: the 1251 text without the Unicode
    // words reads the same Cyrillic.
    std::string bytesOnly = cyrillic;
    for (std::size_t p; (p = bytesOnly.find("\\u1046")) != std::string::npos;)
        bytesOnly.erase(p, 6);
    EXPECT_TRUE(Read(bytesOnly)->toPlainText().startsWith(QString::fromUtf8("Жж")));
}

TEST(RichTextWriter, EmptyDocumentGivesTheRtfOfAnEmptyDocument)
{
    QTextDocument doc;
    const std::string rtf = RichText::WriteRtf(doc);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
    EXPECT_NE(rtf.find("\\par"), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");
    const auto back = Read(rtf);
    EXPECT_TRUE(back->isEmpty());
    EXPECT_EQ(back->blockCount(), 1);
}

TEST(RichTextWriter, MeasuresOutOfRangeAreBounded)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat wide;
    wide.setLeftMargin(1e12);
    wide.setTextIndent(-1e12);
    c.setBlockFormat(wide);
    c.insertText("x", CharFormat("Arial", 1e9));
    const std::string rtf = RichText::WriteRtf(doc);
    EXPECT_NE(rtf.find("\\fi-31680\\li31680"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fs3276"), std::string::npos) << rtf;
    EXPECT_EQ(Read(rtf)->toPlainText(), "x");
}

TEST(RichTextWriter, RichEditToTextWritesWhatWasTyped)
{
    ::setenv("LEXORA_CODEPAGE", "1251", 1);
    QTextEdit edit;
    edit.setAcceptRichText(false);
    std::string empty;
    RichEditToText(&edit, empty);
    EXPECT_TRUE(edit.acceptRichText()) << "the edit is left in rich-text mode";
    EXPECT_EQ(empty.rfind("{\\rtf1\\ansi\\ansicpg1251", 0), 0u);
    EXPECT_TRUE(Read(empty)->isEmpty());

    edit.show();
    edit.setFocus();
    QTest::keyClicks(&edit, "plain ");
    edit.setFontWeight(QFont::Bold);
    edit.setTextColor(QColor(200, 0, 0));
    QTest::keyClicks(&edit, "bold");
    edit.setFontWeight(QFont::Normal);
    edit.setAlignment(Qt::AlignHCenter);
    QTest::keyClick(&edit, Qt::Key_Return);
    edit.setFontItalic(true);
    edit.insertPlainText(QString::fromUtf8("слово"));
    std::string text;
    RichEditToText(&edit, text);
    ::unsetenv("LEXORA_CODEPAGE");

    const auto back = Read(text);
    EXPECT_EQ(Blocks(*back), (std::vector<QString>{"plain bold", QString::fromUtf8("слово")}));
    const QTextCharFormat bold = FormatOf(*back, "bold");
    EXPECT_EQ(bold.fontWeight(), QFont::Bold);
    EXPECT_EQ(Colour(bold), QColor(200, 0, 0));
    EXPECT_NE(FormatOf(*back, "plain").fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatOf(*back, QString::fromUtf8("слово")).fontItalic());
    EXPECT_EQ(back->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_NE(text.find("\\'f1\\u1083\\'eb"), std::string::npos) << text;

    std::string none;
    RichEditToText(nullptr, none);
    EXPECT_FALSE(none.empty());
}

}  // namespace
