// The word list's items: lines of a letter block in every kind of line end and length, the
// memory of one block used for the next, and the case-insensitive prefix search.
#include "app/mainwindow/WordListModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<QString> Items(const TWordListModel& m)
{
    std::vector<QString> items;
    for (int i = 0; i < m.Count(); ++i)
        items.push_back(m.Word(i));
    return items;
}

}  // namespace

// Lines shorter and longer than the eight units the line-end search compares at a time, breaks
// at and across those boundaries, CR LF, a lone CR or LF, empty lines, a tab inside a word and
// a last line without a break.
TEST(WordListModel, EveryLineEndSplitsWhereverItLies)
{
    TWordListModel m;
    std::u16string text;
    std::vector<QString> expected;
    const std::u16string ends[] = {u"\r\n", u"\n", u"\r"};
    for (int length = 0; length < 20; ++length)
        for (int e = 0; e < 3; ++e) {
            std::u16string word(static_cast<std::size_t>(length), u'a');
            for (std::size_t k = 0; k < word.size(); ++k)
                word[k] = static_cast<char16_t>(u'a' + (k + static_cast<std::size_t>(e)) % 26);
            if (length > 3)
                word[2] = u'\t';
            text += word + ends[e];
            expected.push_back(QString::fromStdU16String(word));
        }
    text += u"\u00E4rger";  // no break after the last line
    expected.push_back(QString::fromUtf8("ärger"));
    m.SetText(text);
    EXPECT_EQ(Items(m), expected);

    m.SetText(u"a\r\n\r\n\nb\n\r");  // a CR LF pair is one break, LF CR two
    EXPECT_EQ(Items(m), (std::vector<QString>{"a", "", "", "b", ""}));
    m.SetText(u"");
    EXPECT_EQ(m.Count(), 0);
}

// A block is read into the spare memory of the block before; the items are always exactly the
// new text's, and every change of text tells the view it is new.
TEST(WordListModel, TheSpareMemoryOfABlockHoldsNothingOfItIntoTheNext)
{
    TWordListModel m;
    QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
    m.Reserve(1 << 16, 1 << 12);
    m.SetText(std::u16string(5000, u'x') + u"\r\nlong\r\n");
    m.Append("user");
    std::u16string next = m.TakeSpareText();
    EXPECT_TRUE(next.empty());
    next = u"b\r\nbe\r\n";
    m.SetText(std::move(next));
    EXPECT_EQ(Items(m), (std::vector<QString>{"b", "be"}));
    std::u16string spare = m.TakeSpareText();
    EXPECT_TRUE(spare.empty());
    EXPECT_GE(spare.capacity(), 5000u);  // the memory of the long block, to be read into
    spare = u"c\r\n";
    m.SetText(std::move(spare));
    EXPECT_EQ(Items(m), (std::vector<QString>{"c"}));
    EXPECT_EQ(resets.count(), 3);
}

TEST(WordListModel, PrefixSearchFoldsCaseFromTheTop)
{
    TWordListModel m;
    m.SetText(u"Ab\r\nabc\r\nabd\r\n\u00C4rger\r\n\u00E4rgern\r\n\U0001D400x\r\nzzz\r\n");
    EXPECT_EQ(m.FindPrefix("ab"), 0);
    EXPECT_EQ(m.FindPrefix("ABC"), 1);
    EXPECT_EQ(m.FindPrefix("abcd"), -1);  // longer than every word that begins so
    EXPECT_EQ(m.FindPrefix(QString::fromUtf8("ärgern")), 4);
    EXPECT_EQ(m.FindPrefix(QString::fromUtf8("ÄRG")), 3);
    EXPECT_EQ(m.FindPrefix(QString::fromStdU16String(u"\U0001D400")), 5);  // surrogates as they are
    EXPECT_EQ(m.FindPrefix("Z"), 6);
    EXPECT_EQ(m.FindPrefix(""), -1);
    m.Insert(0, "ABX");  // a user word shown first, kept at the end of the text
    EXPECT_EQ(m.FindPrefix("ab"), 0);
    EXPECT_EQ(m.FindPrefix("abc"), 2);
}
