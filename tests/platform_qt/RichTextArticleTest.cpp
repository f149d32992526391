// Real dictionary articles read without loss of text: FreeDict entries of the four sample
// dictionaries made into articles by the sample generators, and, when it has been built, a
// sample of the articles of the sample program folder.
#include "RichTextArticles.h"
#include "RichTextTestSupport.h"

#include <QFont>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace RichTextTest;

namespace {

QString WithoutMarks(QString s)
{
    static const QRegularExpression marks(QStringLiteral("[<>{}]"));
    return s.remove(marks);
}

// Every word of the entry's head and lines is in the article as read.
void ExpectNoLoss(const TSourceArticle& article, const QString& shown)
{
    const QString text = WithoutMarks(shown);
    std::vector<std::u16string> pieces;
    for (const SampleData::TFreedictEntry& e : article.Senses) {
        // The article has one head: the headword of its first sense.
        pieces.insert(pieces.end(), {e.Pronunciation, e.Grammar, e.HeadExtra});
        if (&e == &article.Senses.front())
            pieces.push_back(e.Headword);
        for (const SampleData::TBodyLine& line : e.Lines) {
            pieces.insert(pieces.end(), {line.Text, line.Translation});
            if (line.Label != u"see")
                pieces.push_back(line.Label);
        }
    }
    for (const std::u16string& piece : pieces) {
        for (const QString& word :
             WithoutMarks(QString::fromStdU16String(piece)).split(QChar(u' '), Qt::SkipEmptyParts))
            ASSERT_TRUE(text.contains(word)) << "lost \"" << word.toStdString() << "\" of\n" << article.Rtf;
    }
    EXPECT_FALSE(text.contains(QChar(u'\\'))) << article.Rtf;
}

// How often the RTF holds the symbol escaped by a backslash.
qsizetype Escaped(const std::string& rtf, char symbol)
{
    qsizetype n = 0;
    for (std::size_t i = 0; i + 1 < rtf.size(); ++i)
        if (rtf[i] == '\\') {
            n += rtf[i + 1] == symbol;
            ++i;
        }
    return n;
}

TEST(RichTextArticles, FreedictArticlesReadWithoutLoss)
{
    std::size_t read = 0;
    for (const TDictd& d : {TDictd{"eng-deu", 1252}, TDictd{"deu-eng", 1252}, TDictd{"eng-fra", 1252},
                            TDictd{"eng-fra", 1254}, TDictd{"eng-rus", 1252}, TDictd{"eng-rus", 1251}}) {
        const std::vector<TSourceArticle> articles = FreedictArticles(LEXORA_DICTD_DIR, d.Name, 150, d.CodePage);
        for (const TSourceArticle& a : articles) {
            bool isRtf = false;
            const auto doc = Read(a.Rtf, &isRtf);
            ASSERT_TRUE(isRtf);
            ExpectNoLoss(a, doc->toPlainText());
            if (HasFailure())
                return;
            // The head: the headword in bold, navy, 12 points.
            const QTextCharFormat head = Runs(*doc).front().Format;
            EXPECT_EQ(head.fontWeight(), QFont::Bold);
            EXPECT_EQ(Colour(head), QColor(0, 0, 128));
            EXPECT_DOUBLE_EQ(head.fontPointSize(), 12.0);
            EXPECT_EQ(Family(head), "Tahoma");
            ++read;
        }
    }
    if (read == 0)
        GTEST_SKIP() << "no FreeDict packages in " << LEXORA_DICTD_DIR;
    EXPECT_GE(read, 600u);
}

TEST(RichTextArticles, SampleFolderArticlesReadWithoutLoss)
{
    const char* folder = std::getenv("LEXORA_SAMPLE_PROGRAM_DIR");
    const std::vector<std::string> articles = SampleFolderArticles(folder ? folder : LEXORA_PROGRAM_DIR, 250);
    if (articles.empty())
        GTEST_SKIP() << "the sample program folder has not been built";
    EXPECT_GE(articles.size(), 500u) << "250 articles of each of the four dictionaries";
    // A "\uN" is followed by a fallback "?" unless the article says "\uc0".
    static const QRegularExpression fallbacks(QStringLiteral("\\\\u-?[0-9]+\\?"));
    static const QRegularExpression replacements(QStringLiteral("\\\\u-3(?![0-9])"));
    for (const std::string& rtf : articles) {
        const auto doc = Read(rtf);
        const QString text = doc->toPlainText();
        ASSERT_FALSE(text.trimmed().isEmpty()) << rtf;
        // Braces and backslashes shown are the escaped ones of the article, replacement
        // characters the ones it holds: no control word or group leaks into the text.
        const QString source = QString::fromLatin1(rtf);
        ASSERT_EQ(text.count(QChar(u'\\')), Escaped(rtf, '\\')) << rtf;
        ASSERT_EQ(text.count(QChar(u'{')), Escaped(rtf, '{')) << rtf;
        ASSERT_EQ(text.count(QChar::ReplacementCharacter), source.count(replacements)) << rtf;
        // Every "?" shown stands in the article as a "?" of its own, not as the fallback of a
        // character that was lost.
        const bool noFallbacks = source.contains(QStringLiteral("\\uc0"));
        const auto literal = source.count(QChar(u'?')) - (noFallbacks ? 0 : source.count(fallbacks));
        ASSERT_EQ(text.count(QChar(u'?')), literal) << rtf;
    }
}

TEST(RichTextArticles, ArticleShowsFormattedInABrowser)
{
    const std::vector<TSourceArticle> articles = FreedictArticles(LEXORA_DICTD_DIR, "eng-rus", 20, 1252);
    if (articles.empty())
        GTEST_SKIP() << "no FreeDict eng-rus package";
    QTextBrowser browser;
    browser.resize(400, 300);
    RichText::ReadRtf(articles.front().Rtf, *browser.document());
    browser.show();
    const QImage shot = browser.viewport()->grab().toImage();
    // The navy headword and the dark red pronunciation are drawn in their colours.
    int navy = 0, red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            navy += c.blue() > 90 && c.red() < 60 && c.green() < 60;
            red += c.red() > 90 && c.blue() < 60 && c.green() < 60;
        }
    EXPECT_GT(navy, 10);
    EXPECT_GT(red, 10);
    QTextCursor cursor(browser.document());
    cursor.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
}

}  // namespace
